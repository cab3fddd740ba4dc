#include "cube_reader/number_reading.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <system_error>

#include "cube_reader/cube_tokens.h"

// A standard library without the floating-point std::from_chars (the WebAssembly build's)
// reads through fast_float, which returns the same correctly rounded value.
#ifdef ZEL_FROM_CHARS_THROUGH_FAST_FLOAT
#include <fast_float/fast_float.h>
#endif

namespace zel::io {

namespace {

#ifdef ZEL_FROM_CHARS_THROUGH_FAST_FLOAT
// fast_float with the standard conversion's answers at the edges: a value beyond the
// type's range or below its normal range is out of range and leaves `value` as it was.
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

// The powers of ten that a double holds exactly.
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Most numbers of a table are short plain decimals ("0.731215"). When all their digits
// make a whole number m below 2^53 and at most 22 of them follow the point, m and 10^f are
// exact doubles and one division rounds m / 10^f correctly to a double. Narrowing that
// double rounds correctly to the float too, unless the double lies exactly halfway between
// two floats: no decimal lies between a value and its nearest double, so only a tie can
// be decided differently. Returns false, having set nothing, for a tie and for any other
// spelling (an exponent, no digit on one side of the point, too many digits), which the
// standard conversion then reads.
bool readPlainDecimal(const char* first, const char* last, float& value, const char*& end) {
    const char* p = first;
    const bool negative = p < last && *p == '-';
    p += negative ? 1 : 0;
    std::uint64_t whole = 0;
    int digits = 0;
    const char* const integerStart = p;
    for (; p < last && isDigit(*p) && digits < 19; ++p, ++digits) {
        whole = whole * 10 + static_cast<std::uint64_t>(*p - '0');
    }
    if (p == integerStart || p == last || *p != '.') {
        return false;
    }
    const char* const fractionStart = ++p;
    for (; p < last && isDigit(*p) && digits < 19; ++p, ++digits) {
        whole = whole * 10 + static_cast<std::uint64_t>(*p - '0');
    }
    const std::ptrdiff_t fractionDigits = p - fractionStart;
    if (fractionDigits == 0 || fractionDigits > 22 || whole > (std::uint64_t{1} << 53) ||
        (p < last && (isDigit(*p) || *p == '.' || *p == 'e' || *p == 'E'))) {
        return false;
    }
    const double wide = static_cast<double>(whole) / kExactPowersOfTen[fractionDigits];
    std::uint64_t bits = 0;
    std::memcpy(&bits, &wide, sizeof bits);
    // The 29 bits of a double's significand below a float's.
    constexpr std::uint64_t kBelowFloat = (std::uint64_t{1} << 29) - 1;
    if ((bits & kBelowFloat) == (std::uint64_t{1} << 28)) {
        return false;
    }
    const float narrow = static_cast<float>(wide);
    value = negative ? -narrow : narrow;
    end = p;
    return true;
}

// Whether a decimal number that no double holds lies below 1 in magnitude (it then rounds
// to a zero float) rather than above the range. The text is one the conversion read whole:
// digits with at most one point, then perhaps an exponent.
bool beyondDoubleIsTiny(std::string_view token) {
    std::size_t i = (!token.empty() && token[0] == '-') ? 1 : 0;
    long long leadingDigits = 0;  // significant digits before the point
    long long zerosAfterPoint = 0;
    bool seenPoint = false;
    bool seenSignificant = false;
    for (; i < token.size() && token[i] != 'e' && token[i] != 'E'; ++i) {
        const char c = token[i];
        if (c == '.') {
            seenPoint = true;
        } else if (!seenSignificant && c == '0') {
            zerosAfterPoint += seenPoint ? 1 : 0;
        } else {
            seenSignificant = true;
            leadingDigits += seenPoint ? 0 : 1;
        }
    }
    // The number is 0.d... times ten to `scale`.
    long long scale = leadingDigits > 0 ? leadingDigits : -zerosAfterPoint;
    if (i < token.size()) {
        std::string_view exponent = token.substr(i + 1);
        const bool negative = !exponent.empty() && exponent[0] == '-';
        if (!exponent.empty() && (exponent[0] == '-' || exponent[0] == '+')) {
            exponent.remove_prefix(1);
        }
        long long power = 0;
        const std::from_chars_result read =
            std::from_chars(exponent.data(), exponent.data() + exponent.size(), power);
        if (read.ec != std::errc()) {
            return negative;  // an exponent of more digits than a long long holds decides alone
        }
        scale += negative ? -power : power;
    }
    return scale <= 0;
}

}  // namespace

std::from_chars_result readFloatPrefix(const char* first, const char* last, float& value) {
    const char* end = nullptr;
    if (readPlainDecimal(first, last, value, end)) {
        return {end, std::errc()};
    }
    return readNumber(first, last, value);
}

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
        // untouched when even a double cannot hold the value (1e400 and 1e-400 alike); the
        // text then tells which it is.
        double wide = 0.0;
        const std::from_chars_result again = readNumber(first, last, wide);
        if (again.ec == std::errc() && std::fabs(wide) < 1.0) {
            value = static_cast<float>(wide);
            return NumberStatus::ok;
        }
        if (again.ec == std::errc::result_out_of_range && beyondDoubleIsTiny(token)) {
            value = token[0] == '-' ? -0.0f : 0.0f;
            return NumberStatus::ok;
        }
        return NumberStatus::outOfRange;
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

}  // namespace zel::io
