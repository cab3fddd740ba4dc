#include "cube/number_text.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include <fast_float/fast_float.h>

namespace zelgen {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

NumberStatus parseFloat(std::string_view token, float& value) {
    if (token.size() >= 2 && token[0] == '+' && (isDigit(token[1]) || token[1] == '.')) {
        token.remove_prefix(1);
    }
    const char* first = token.data();
    const char* last = token.data() + token.size();
    float parsed = 0.0f;
    const std::from_chars_result result =
        std::from_chars(first, last, parsed, std::chars_format::general);
    if (result.ptr != last || token.empty()) {
        return NumberStatus::notANumber;
    }
    if (result.ec == std::errc::result_out_of_range) {
        // Either too large for a float or too small: a tiny value is as good as its
        // nearest float, a huge one is refused. The standard conversion leaves its result
        // untouched when even a double cannot hold the value (1e400 and 1e-400 alike), so
        // the double comes from the conversion that rounds: to infinity or to zero.
        double wide = 0.0;
        const fast_float::from_chars_result again = fast_float::from_chars(first, last, wide);
        if (again.ptr != last || again.ec != std::errc() || !(std::fabs(wide) < 1.0)) {
            return NumberStatus::outOfRange;
        }
        value = static_cast<float>(wide);
        return NumberStatus::ok;
    }
    if (result.ec != std::errc()) {
        return NumberStatus::notANumber;
    }
    if (!std::isfinite(parsed)) {
        return NumberStatus::notFinite;
    }
    value = parsed;
    return NumberStatus::ok;
}

NumberStatus parseWholeNumber(std::string_view token, long long& value) {
    const char* last = token.data() + token.size();
    long long parsed = 0;
    const std::from_chars_result result = std::from_chars(token.data(), last, parsed);
    if (token.empty() || !isDigit(token[0]) || result.ptr != last) {
        return NumberStatus::notANumber;
    }
    if (result.ec != std::errc()) {
        return NumberStatus::outOfRange;
    }
    value = parsed;
    return NumberStatus::ok;
}

void appendFloat(std::string& out, float value) {
    char buffer[32];
    const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

}  // namespace zelgen
