#include "io/cube_header.h"

// Added with the colour conversion.
namespace zel::io {
void deriveLookName(const char (&)[128], std::uint8_t (&)[64]) {}
void writeCubeHeader(char (&)[514], const char (&)[128], std::uint8_t, const std::uint8_t (&)[64],
                     std::uint8_t) {}
}  // namespace zel::io
