#include <gtest/gtest.h>

#include <cstring>
#include <ctime>

#include "platform/platform.h"

namespace {

// Minutes since 1 January 2000 of a broken-down date and time, by the civil calendar.
long long minutesSince2000(int year, int month, int day, int hour, int minute) {
    long long days = 0;
    for (int y = 2000; y < year; ++y) {
        const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
        days += leap ? 366 : 365;
    }
    static const int kMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    for (int m = 1; m < month; ++m) {
        days += kMonthDays[m - 1] + (m == 2 && leap ? 1 : 0);
    }
    days += day - 1;
    return (days * 24 + hour) * 60 + minute;
}

}  // namespace

TEST(PlatformLocalTime, LiesWithinTheWorldsTimeZonesOfTheUtcClock) {
    const std::time_t before = std::time(nullptr);
    const zel::platform::LocalTime local = zel::platform::localTimeNow();
    const std::tm utc = *std::gmtime(&before);

    EXPECT_GE(local.year, 2024);
    EXPECT_GE(local.month, 1);
    EXPECT_LE(local.month, 12);
    EXPECT_GE(local.day, 1);
    EXPECT_LE(local.day, 31);
    EXPECT_LE(local.hour, 23);
    EXPECT_LE(local.minute, 59);
    EXPECT_LE(local.second, 60);

    // Local offsets run from UTC-12 to UTC+14; one extra minute for the clock ticking.
    const long long offset =
        minutesSince2000(local.year, local.month, local.day, local.hour, local.minute) -
        minutesSince2000(utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min);
    EXPECT_GE(offset, -12 * 60);
    EXPECT_LE(offset, 14 * 60 + 1);
}

TEST(PlatformFormatBounded, WritesTextThatFitsAndRefusesTextThatDoesNot) {
    char buffer[8];
    EXPECT_EQ(zel::platform::formatBounded(buffer, sizeof buffer, "%s-%02d", "ab", 7), 5);
    EXPECT_STREQ(buffer, "ab-07");
    // Seven characters and the terminator fill the buffer exactly.
    EXPECT_EQ(zel::platform::formatBounded(buffer, sizeof buffer, "%07d", 42), 7);
    EXPECT_STREQ(buffer, "0000042");

    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(zel::platform::formatBounded(buffer, sizeof buffer, "%s", "12345678"), -1);
    EXPECT_EQ(buffer[sizeof buffer - 1], '\0');  // never left unterminated
    EXPECT_EQ(zel::platform::formatBounded(nullptr, 4, "%d", 1), -1);
    EXPECT_EQ(zel::platform::formatBounded(buffer, 0, "%d", 1), -1);
}
