#include "cube/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <system_error>

#include <fast_float/fast_float.h>

namespace zelgen {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

#ifdef ZEL_FROM_CHARS_THROUGH_FAST_FLOAT
// A standard library without the floating-point std::from_chars (the WebAssembly build's)
// reads through fast_float, with the standard conversion's answers at the edges: a value
// beyond the type's range or below its normal range is out of range and leaves `value`
// as it was.
template <typename T>
std::from_chars_result readNumber(const char* first, const char* last, T& value) {
    T parsed{};
    const fast_float::from_chars_result result = fast_float::from_chars(first, last, parsed);
    if (result.ec != std::errc()) {
        return {result.ptr, result.ec};
    }
    bool spelledOut = false;  // "inf" or "nan"
    bool nonZeroDigit = false;
    for (const char* p = first; p != result.ptr; ++p) {
        if (*p == 'e' || *p == 'E') {
            break;
        }
        spelledOut = spelledOut || (!isDigit(*p) && *p != '.' && *p != '-' && *p != '+');
        nonZeroDigit = nonZeroDigit || (isDigit(*p) && *p != '0');
    }
    const bool overflow = !std::isfinite(parsed) && !spelledOut;
    const bool underflow = std::fabs(parsed) < std::numeric_limits<T>::min() && nonZeroDigit;
    if (overflow || underflow) {
        return {result.ptr, std::errc::result_out_of_range};
    }
    value = parsed;
    return {result.ptr, std::errc()};
}
#else
template <typename T>
std::from_chars_result readNumber(const char* first, const char* last, T& value) {
    return std::from_chars(first, last, value, std::chars_format::general);
}
#endif

}  // namespace

NumberStatus parseFloat(std::string_view token, float& value) {
    if (token.size() >= 2 && token[0] == '+' && (isDigit(token[1]) || token[1] == '.')) {
        token.remove_prefix(1);
    }
    const char* first = token.data();
    const char* last = token.data() + token.size();
    float parsed = 0.0f;
    const std::from_chars_result result = readNumber(first, last, parsed);
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

#ifdef ZEL_FROM_CHARS_THROUGH_FAST_FLOAT
// Without the floating-point std::to_chars, the same text: the fewest significant digits
// that read back as `value` (the correctly rounded ones), written plain or with an exponent,
// whichever is shorter (plain on a tie).
void appendFloat(std::string& out, float value) {
    if (std::isnan(value) || std::isinf(value) || value == 0.0f) {
        out += std::isnan(value)   ? (std::signbit(value) ? "-nan" : "nan")
               : std::isinf(value) ? (value < 0 ? "-inf" : "inf")
                                   : (std::signbit(value) ? "-0" : "0");
        return;
    }
    // More digits read back at least as well, so the fewest are found by halving; nine
    // significant digits always read back.
    char buffer[48];
    int fewest = 0;
    int most = 8;
    while (fewest < most) {
        const int middle = (fewest + most) / 2;
        std::snprintf(buffer, sizeof buffer, "%.*e", middle, static_cast<double>(value));
        float back = 0.0f;
        fast_float::from_chars(buffer, buffer + std::strlen(buffer), back);
        if (back == value) {
            most = middle;
        } else {
            fewest = middle + 1;
        }
    }
    std::snprintf(buffer, sizeof buffer, "%.*e", fewest, static_cast<double>(value));
    // buffer: [-]d[.ddd]e(+|-)XX
    std::string text(buffer);
    const std::size_t e = text.find('e');
    const bool negative = text[0] == '-';
    std::string digits;
    for (std::size_t i = negative ? 1 : 0; i < e; ++i) {
        if (text[i] != '.') {
            digits += text[i];
        }
    }
    const int exponent = std::atoi(text.c_str() + e + 1);
    std::string scientific = (negative ? "-" : "") + digits.substr(0, 1);
    if (digits.size() > 1) {
        scientific += "." + digits.substr(1);
    }
    char tail[8];
    std::snprintf(tail, sizeof tail, "e%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    scientific += tail;
    std::string plain = negative ? "-" : "";
    const int count = static_cast<int>(digits.size());
    if (exponent < 0) {
        plain += "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    } else if (exponent + 1 >= count) {
        // A whole number is written plain with all of its digits, as the exact value.
        std::snprintf(buffer, sizeof buffer, "%.0f", static_cast<double>(value));
        plain = buffer;
    } else {
        plain += digits.substr(0, static_cast<std::size_t>(exponent + 1)) + "." +
                 digits.substr(static_cast<std::size_t>(exponent + 1));
    }
    out += plain.size() <= scientific.size() ? plain : scientific;
}
#else
void appendFloat(std::string& out, float value) {
    char buffer[32];
    const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}
#endif

}  // namespace zelgen
