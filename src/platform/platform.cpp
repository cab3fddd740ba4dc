#include "platform/platform.h"

#include <cstdio>
#include <ctime>
#include <stdexcept>

namespace zel::platform {

LocalTime localTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
#if defined(_WIN32)
    if (localtime_s(&parts, &now) != 0) {
        throw std::runtime_error("local time is not available");
    }
#else
    if (localtime_r(&now, &parts) == nullptr) {
        throw std::runtime_error("local time is not available");
    }
#endif
    LocalTime t;
    t.year = parts.tm_year + 1900;
    t.month = parts.tm_mon + 1;
    t.day = parts.tm_mday;
    t.hour = parts.tm_hour;
    t.minute = parts.tm_min;
    t.second = parts.tm_sec;
    return t;
}

int formatBounded(char* buffer, std::size_t capacity, const char* format, ...) {
    if (buffer == nullptr || capacity == 0) {
        return -1;
    }
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(buffer, capacity, format, args);
    va_end(args);
    if (n < 0 || static_cast<std::size_t>(n) >= capacity) {
        return -1;
    }
    return n;
}

}  // namespace zel::platform
