#include "platform/time_stamp.h"

#include <cstdio>

namespace zel::platform {

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr int kLastYear = 9999;

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return kDays[month - 1] + (month == 2 && isLeapYear(year) ? 1 : 0);
}

// Reads `width` decimal digits at text[at]; -1 when any is not a digit.
int digitsAt(const std::string& text, std::size_t at, std::size_t width) {
    int value = 0;
    for (std::size_t i = at; i < at + width; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return -1;
        }
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

}  // namespace

std::optional<LocalTime> parseTimeStamp(const std::string& text) {
    // YYYY-MM-DD HH:MM:SS, every field its full width.
    if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != ' ' ||
        text[13] != ':' || text[16] != ':') {
        return std::nullopt;
    }
    LocalTime time;
    time.year = digitsAt(text, 0, 4);
    time.month = digitsAt(text, 5, 2);
    time.day = digitsAt(text, 8, 2);
    time.hour = digitsAt(text, 11, 2);
    time.minute = digitsAt(text, 14, 2);
    time.second = digitsAt(text, 17, 2);
    if (time.year < 1 || time.month < 1 || time.month > 12 || time.day < 1 ||
        time.day > daysInMonth(time.year, time.month) || time.hour < 0 || time.hour > 23 ||
        time.minute < 0 || time.minute > 59 || time.second < 0 || time.second > 59) {
        return std::nullopt;
    }
    return time;
}

std::optional<LocalTime> utcTimeOf(std::int64_t seconds) {
    if (seconds < 0) {
        return std::nullopt;
    }
    std::int64_t days = seconds / kSecondsPerDay;
    const std::int64_t secondOfDay = seconds % kSecondsPerDay;
    LocalTime time;
    time.hour = static_cast<int>(secondOfDay / 3600);
    time.minute = static_cast<int>(secondOfDay / 60 % 60);
    time.second = static_cast<int>(secondOfDay % 60);
    // Whole years, then months, counted off from 1970; at most 8030 years of loop.
    int year = 1970;
    for (;;) {
        const int yearDays = isLeapYear(year) ? 366 : 365;
        if (days < yearDays) {
            break;
        }
        days -= yearDays;
        if (++year > kLastYear) {
            return std::nullopt;
        }
    }
    int month = 1;
    while (days >= daysInMonth(year, month)) {
        days -= daysInMonth(year, month);
        ++month;
    }
    time.year = year;
    time.month = month;
    time.day = static_cast<int>(days) + 1;
    return time;
}

std::string formatTimeStamp(const LocalTime& time) {
    char text[80];  // room for any int in every field
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", time.year, time.month,
                  time.day, time.hour, time.minute, time.second);
    return text;
}

}  // namespace zel::platform
