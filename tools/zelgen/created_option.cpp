#include "zelgen/created_option.h"

#include <cstdint>
#include <limits>

#include "platform/time_stamp.h"

namespace zelgen {

namespace {

// Whole seconds as plain decimal digits, the form SOURCE_DATE_EPOCH takes; -1 otherwise.
std::int64_t epochSecondsOf(const std::string& text) {
    if (text.empty() || text.size() > 18) {
        return -1;
    }
    std::int64_t seconds = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return -1;
        }
        seconds = seconds * 10 + (c - '0');
    }
    return seconds;
}

}  // namespace

CreatedTime resolveCreatedTime(const std::string& option, const char* sourceDateEpoch) {
    if (!option.empty()) {
        if (!zel::platform::parseTimeStamp(option)) {
            return {"", "--created \"" + option +
                            "\" is not a date and time \"YYYY-MM-DD HH:MM:SS\" (for example "
                            "\"2026-03-14 09:30:00\")"};
        }
        return {option, ""};
    }
    if (sourceDateEpoch == nullptr || sourceDateEpoch[0] == '\0') {
        return {"", ""};
    }
    const std::string value = sourceDateEpoch;
    const auto time = zel::platform::utcTimeOf(epochSecondsOf(value));
    if (!time) {
        return {"", "SOURCE_DATE_EPOCH=" + value +
                        " is not a count of seconds since 1970-01-01 00:00:00 UTC up to the "
                        "year 9999"};
    }
    return {zel::platform::formatTimeStamp(*time), ""};
}

}  // namespace zelgen
