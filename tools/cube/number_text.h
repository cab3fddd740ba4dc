#ifndef ZELGEN_NUMBER_TEXT_H
#define ZELGEN_NUMBER_TEXT_H

// Numbers as .cube text writes them, written the same way under every locale: a
// comma-decimal locale does not change what the tool writes. The library reads them
// (cube_reader/number_reading.h).

#include <string>

namespace zelgen {

// Appends the shortest text that reads back as exactly `value`.
void appendFloat(std::string& out, float value);

}  // namespace zelgen

#endif  // ZELGEN_NUMBER_TEXT_H
