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
