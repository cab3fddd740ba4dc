#ifndef ZEL_PLATFORM_PLATFORM_H
#define ZEL_PLATFORM_PLATFORM_H

// The few runtime services the stages need from the operating system, behind one
// portable interface: local time and bounded formatting. Worker threads are
// std::thread objects owned by the generator.

#include <cstdarg>
#include <cstddef>
#include <functional>

namespace zel::platform {

// A broken-down local date and time, as the look file's time stamp records it.
struct LocalTime {
    int year = 0;    // four digits, e.g. 2026
    int month = 0;   // 1 to 12
    int day = 0;     // 1 to 31
    int hour = 0;    // 0 to 23
    int minute = 0;  // 0 to 59
    int second = 0;  // 0 to 60
};

// The clock a job reads its time stamp from.
using Clock = std::function<LocalTime()>;

// The machine's current local time. Throws std::runtime_error when the C library cannot
// convert the current time.
LocalTime localTimeNow();

// Formats into `buffer` (capacity bytes, always NUL-terminated when capacity > 0) and
// returns the number of characters written, or -1 when the text did not fit or the
// format failed; a text that does not fit is never partially trusted by callers.
int formatBounded(char* buffer, std::size_t capacity, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;

}  // namespace zel::platform

#endif  // ZEL_PLATFORM_PLATFORM_H
