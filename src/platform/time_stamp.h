#ifndef ZEL_PLATFORM_TIME_STAMP_H
#define ZEL_PLATFORM_TIME_STAMP_H

// A look file's time stamp set by the host instead of read from the clock, so that the
// same job makes the same bytes: from a text "YYYY-MM-DD HH:MM:SS", or from a count of
// seconds since 1970-01-01 00:00:00 UTC (reproducible builds give SOURCE_DATE_EPOCH so).

#include <cstdint>
#include <optional>
#include <string>

#include "platform/platform.h"

namespace zel::platform {

// The time a text "YYYY-MM-DD HH:MM:SS" names (years 1 to 9999, a real calendar date,
// hours 0 to 23, minutes and seconds 0 to 59), or nothing when it names none.
std::optional<LocalTime> parseTimeStamp(const std::string& text);

// The UTC date and time `seconds` after 1970-01-01 00:00:00 UTC, or nothing for a time
// before it or after the year 9999. No time zone and no C library clock take part.
std::optional<LocalTime> utcTimeOf(std::int64_t seconds);

// "YYYY-MM-DD HH:MM:SS", the text parseTimeStamp reads.
std::string formatTimeStamp(const LocalTime& time);

}  // namespace zel::platform

#endif  // ZEL_PLATFORM_TIME_STAMP_H
