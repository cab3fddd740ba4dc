#include "platform/time_stamp.h"

#include <gtest/gtest.h>

#include <ctime>

namespace {

using zel::platform::formatTimeStamp;
using zel::platform::parseTimeStamp;
using zel::platform::utcTimeOf;

TEST(TimeStamp, ReadsRealDatesAndRefusesTheRest) {
    const auto leapDay = parseTimeStamp("2024-02-29 23:59:59");
    ASSERT_TRUE(leapDay);
    EXPECT_EQ(formatTimeStamp(*leapDay), "2024-02-29 23:59:59");
    EXPECT_TRUE(parseTimeStamp("2000-02-29 00:00:00"));  // a leap year by the 400 rule
    EXPECT_TRUE(parseTimeStamp("0001-01-01 00:00:00"));
    EXPECT_TRUE(parseTimeStamp("9999-12-31 23:59:59"));
    for (const char* refused :
         {"2023-02-29 12:00:00", "1900-02-29 12:00:00", "2024-04-31 12:00:00",
          "2024-13-01 12:00:00", "2024-00-10 12:00:00", "0000-01-01 00:00:00",
          "2024-01-01 24:00:00", "2024-01-01 12:60:00", "2024-01-01 12:00:60", "2024-1-01 12:00:00",
          "2024-01-01T12:00:00", "2024-01-01 12:00:00Z", "2024-01-01 12:00", "+024-01-01 12:00:00",
          "2024-01-01 1a:00:00", ""}) {
        EXPECT_FALSE(parseTimeStamp(refused)) << refused;
    }
}

TEST(TimeStamp, CountsEpochSecondsAsTheCLibraryDoesInUtc) {
    EXPECT_EQ(formatTimeStamp(*utcTimeOf(0)), "1970-01-01 00:00:00");
    EXPECT_EQ(formatTimeStamp(*utcTimeOf(951782400)), "2000-02-29 00:00:00");
    EXPECT_EQ(formatTimeStamp(*utcTimeOf(253402300799)), "9999-12-31 23:59:59");
    EXPECT_FALSE(utcTimeOf(253402300800));  // the year 10000 has no four digits
    EXPECT_FALSE(utcTimeOf(-1));

    // Days either side of month ends, leap days and century years, against gmtime.
    for (std::int64_t seconds = 0; seconds < 4102444800; seconds += 86400 * 13 + 3607) {
        const std::time_t t = static_cast<std::time_t>(seconds);
        std::tm parts{};
#if defined(_WIN32)
        ASSERT_EQ(gmtime_s(&parts, &t), 0);
#else
        ASSERT_NE(gmtime_r(&t, &parts), nullptr);
#endif
        const auto time = utcTimeOf(seconds);
        ASSERT_TRUE(time);
        ASSERT_EQ(time->year, parts.tm_year + 1900) << seconds;
        ASSERT_EQ(time->month, parts.tm_mon + 1) << seconds;
        ASSERT_EQ(time->day, parts.tm_mday) << seconds;
        ASSERT_EQ(time->hour, parts.tm_hour) << seconds;
        ASSERT_EQ(time->minute, parts.tm_min) << seconds;
        ASSERT_EQ(time->second, parts.tm_sec) << seconds;
    }
}

}  // namespace
