#ifndef ZELGEN_PRINTABLE_TEXT_H
#define ZELGEN_PRINTABLE_TEXT_H

// Bytes of a look file shown in `zelgen inspect`'s reports: text fields made safe to print
// and to put in JSON, other fields as hexadecimal.

#include <cstddef>
#include <cstdint>
#include <string>

namespace zelgen {

// Makes any bytes safe to print and to put in JSON: printable ASCII stays, the rest is \xNN.
std::string printableText(const std::uint8_t* bytes, std::size_t length);
std::string printableText(const std::string& bytes);

// `length` bytes as upper-case hexadecimal pairs separated by spaces.
std::string hexBytes(const std::uint8_t* bytes, std::size_t length);

}  // namespace zelgen

#endif  // ZELGEN_PRINTABLE_TEXT_H
