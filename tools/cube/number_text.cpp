#include "cube/number_text.h"

#include <charconv>
#include <cmath>

#ifdef ZEL_FLOAT_TEXT_THROUGH_FMT
// The WebAssembly build's writer alone needs these.
#include <fmt/compile.h>
#include <algorithm>
#include <cstdint>
#endif

namespace zelgen {

#ifdef ZEL_FLOAT_TEXT_THROUGH_FMT
// Without the floating-point std::to_chars, the same text: {fmt} finds the fewest significant
// digits that read back as `value` (the nearest ones, as std::to_chars does); they are written
// plain or with an exponent, whichever is shorter (plain on a tie), a whole number plain with
// all of its digits, as the exact value.
void appendFloat(std::string& out, float value) {
    if (std::isnan(value) || std::isinf(value) || value == 0.0f) {
        out += std::isnan(value)   ? (std::signbit(value) ? "-nan" : "nan")
               : std::isinf(value) ? (value < 0 ? "-inf" : "inf")
                                   : (std::signbit(value) ? "-0" : "0");
        return;
    }
    // {fmt}'s own layout of the shortest digits ("1e-05", "0.001", "1.5e+20", "1000000"):
    // only its digits and their place are taken from it.
    char shortest[48];
    const char* const shortestEnd =
        fmt::format_to_n(shortest, sizeof shortest, FMT_COMPILE("{}"), std::fabs(value)).out;
    char digits[16];
    int count = 0;
    int point = 0;     // where the decimal point falls, counted in digits from the first
    int exponent = 0;  // of the value's first significant digit
    bool pointSeen = false;
    const char* p = shortest;
    for (; p != shortestEnd && *p != 'e'; ++p) {
        if (*p == '.') {
            pointSeen = true;
        } else if (count == 0 && *p == '0') {
            point -= pointSeen ? 1 : 0;  // a leading zero, before or after the point
        } else {
            point += pointSeen ? 0 : 1;
            if (count < static_cast<int>(sizeof digits)) {
                digits[count++] = *p;  // beyond nine digits, only the zeros of a whole number
            }
        }
    }
    if (p != shortestEnd) {
        const char* first = p + 1 != shortestEnd && p[1] == '+' ? p + 2 : p + 1;
        std::from_chars(first, shortestEnd, exponent);
    }
    while (count > 1 && digits[count - 1] == '0') {
        --count;
    }
    exponent += point - 1;

    char scientific[32];
    char* s = scientific;
    *s++ = digits[0];
    if (count > 1) {
        *s++ = '.';
        s = std::copy(digits + 1, digits + count, s);
    }
    *s++ = 'e';
    *s++ = exponent < 0 ? '-' : '+';
    const int magnitude = exponent < 0 ? -exponent : exponent;
    if (magnitude < 10) {
        *s++ = '0';
    }
    s = std::to_chars(s, scientific + sizeof scientific, magnitude).ptr;

    // The plain text where it can be the shorter: the exponent form takes at most 14
    // characters, so a value below 10^-5 or from 10^19 on is never written plain.
    char plain[32];
    char* q = plain;
    if (exponent < -5 || exponent >= 19) {
        q = plain + sizeof plain;  // longer than any exponent form
    } else if (exponent < 0) {
        *q++ = '0';
        *q++ = '.';
        q = std::fill_n(q, -exponent - 1, '0');
        q = std::copy(digits, digits + count, q);
    } else if (exponent + 1 < count) {
        q = std::copy(digits, digits + exponent + 1, q);
        *q++ = '.';
        q = std::copy(digits + exponent + 1, digits + count, q);
    } else {
        // A whole number below 10^19: its exact digits are those of a 64-bit integer.
        q = std::to_chars(q, plain + sizeof plain, static_cast<std::uint64_t>(std::fabs(value)))
                .ptr;
    }
    if (std::signbit(value)) {
        out += '-';
    }
    if (q - plain <= s - scientific) {
        out.append(plain, q);
    } else {
        out.append(scientific, s);
    }
}
#else
void appendFloat(std::string& out, float value) {
    char buffer[32];
    const std::to_chars_result result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}
#endif

}  // namespace zelgen
