#ifndef ZELGEN_NUMBER_TEXT_H
#define ZELGEN_NUMBER_TEXT_H

// Numbers as .cube text writes them, read and written the same way under every locale: a
// comma-decimal locale changes neither what a file means nor what the tool writes.

#include <string>
#include <string_view>

namespace zelgen {

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

// Appends the shortest text that reads back as exactly `value`.
void appendFloat(std::string& out, float value);

}  // namespace zelgen

#endif  // ZELGEN_NUMBER_TEXT_H
