#include "io/stod_conversion.h"

#include <cfenv>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <system_error>

namespace zel::io {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Results beyond these bounds go through the C library, whose handling of the edges of
// the double range (which tiny and which huge values it refuses) is what hosts get.
constexpr double kSmallestQuick = 0x1p-1020;
constexpr double kLargestQuick = 0x1p1020;

// A plain decimal: an optional minus, digits with at most one decimal point (at least
// one digit in all), an optional exponent with digits, and nothing else. Sets
// `nonZero` when a significant digit is not 0.
bool isPlainDecimal(std::string_view token, bool& nonZero) {
    const char* p = token.data();
    const char* const end = p + token.size();
    if (p != end && *p == '-') {
        ++p;
    }
    std::size_t digits = 0;
    nonZero = false;
    for (; p != end && isDigit(*p); ++p, ++digits) {
        nonZero = nonZero || *p != '0';
    }
    if (p != end && *p == '.') {
        for (++p; p != end && isDigit(*p); ++p, ++digits) {
            nonZero = nonZero || *p != '0';
        }
    }
    if (digits == 0) {
        return false;
    }
    if (p != end && (*p == 'e' || *p == 'E')) {
        ++p;
        if (p != end && (*p == '+' || *p == '-')) {
            ++p;
        }
        const char* const exponent = p;
        while (p != end && isDigit(*p)) {
            ++p;
        }
        if (p == exponent) {
            return false;
        }
    }
    return p == end;
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
    bool nonZero = false;
    if (quickPath_ && isPlainDecimal(token, nonZero)) {
        double value = 0.0;
        const char* const end = token.data() + token.size();
        const std::from_chars_result result = std::from_chars(token.data(), end, value);
        if (result.ec == std::errc() && result.ptr == end) {
            const double magnitude = std::fabs(value);
            if (magnitude == 0.0 ? !nonZero
                                 : magnitude >= kSmallestQuick && magnitude <= kLargestQuick) {
                return value;
            }
        }
    }
    return stodWithStandardMessages(std::string(token));
}

}  // namespace zel::io
