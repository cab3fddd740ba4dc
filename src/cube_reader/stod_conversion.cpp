#include "cube_reader/stod_conversion.h"

#include <cfenv>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <system_error>

#include "cube_reader/cube_tokens.h"

// A standard library without the floating-point std::from_chars (the WebAssembly build's)
// reads the plain decimals through fast_float, which returns the same correctly rounded
// value.
#ifdef ZEL_FROM_CHARS_THROUGH_FAST_FLOAT
#include <fast_float/fast_float.h>
#endif

namespace zel::io {

namespace {

// Results beyond these bounds go through the C library, whose handling of the edges of
// the double range (which tiny and which huge values it refuses) is what hosts get.
constexpr double kSmallestQuick = 0x1p-1020;
constexpr double kLargestQuick = 0x1p1020;

// A zero read as a zero: no digit before the exponent is other than 0, so the C library
// returns the zero without refusing it as too small.
bool spellsZero(std::string_view token) {
    for (const char c : token) {
        if (c == 'e' || c == 'E') {
            break;
        }
        if (isDigit(c) && c != '0') {
            return false;
        }
    }
    return true;
}

}  // namespace

double stodWithStandardMessages(const std::string& text) {
    try {
        return std::stod(text);
    } catch (const std::invalid_argument&) {
        throw std::invalid_argument("invalid stod argument");
    } catch (const std::out_of_range&) {
        throw std::out_of_range("stod argument out of range");
    }
}

StodConversion::StodConversion() {
    // The locale-independent conversion reads a decimal point; the C library reads the
    // locale's, and rounds in the current rounding mode.
    char* end = nullptr;
    const char probe[] = "0.5";
    quickPath_ =
        std::strtod(probe, &end) == 0.5 && end == probe + 3 && std::fegetround() == FE_TONEAREST;
}

double StodConversion::operator()(std::string_view token) const {
    // The locale-independent conversion reads the plain decimals the C library reads,
    // without the leading white space, plus sign and hex spellings the C library also
    // takes: a token it does not read whole goes to the C library.
    if (quickPath_) {
        double value = 0.0;
        const char* const end = token.data() + token.size();
#ifdef ZEL_FROM_CHARS_THROUGH_FAST_FLOAT
        const fast_float::from_chars_result result =
            fast_float::from_chars(token.data(), end, value);
#else
        const std::from_chars_result result = std::from_chars(token.data(), end, value);
#endif
        if (result.ec == std::errc() && result.ptr == end) {
            const double magnitude = std::fabs(value);  // a NaN passes neither test
            if ((magnitude >= kSmallestQuick && magnitude <= kLargestQuick) ||
                (magnitude == 0.0 && spellsZero(token))) {
                return value;
            }
        }
    }
    return stodWithStandardMessages(std::string(token));
}

}  // namespace zel::io
