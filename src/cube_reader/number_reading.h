#ifndef ZEL_CUBE_READER_NUMBER_READING_H
#define ZEL_CUBE_READER_NUMBER_READING_H

// Numbers as .cube text writes them, read the same way under every locale: a comma-decimal
// locale does not change what a file means.

#include <charconv>
#include <string_view>

namespace zel::io {

enum class NumberStatus {
    ok,
    notANumber,  // the token is not wholly a decimal number ("1x", "0,5", "")
    notFinite,   // NaN or infinity
    outOfRange,  // too large for a 32-bit float
};

// Reads a whole token as a 32-bit float, rounded once to the nearest float. A leading '+'
// is allowed; a value too small for a float reads as the nearest float (possibly zero).
NumberStatus parseFloat(std::string_view token, float& value);

// Reads a whole token as a decimal integer (no sign, no fraction, no exponent).
NumberStatus parseWholeNumber(std::string_view token, long long& value);

// The standard conversion of the number that starts at `first` (no leading '+' or
// blanks), wherever the standard library lacks it too: a value beyond the float range or
// below its normal range is out of range and leaves `value` as it was.
std::from_chars_result readFloatPrefix(const char* first, const char* last, float& value);

}  // namespace zel::io

#endif  // ZEL_CUBE_READER_NUMBER_READING_H
