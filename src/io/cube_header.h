#ifndef ZEL_IO_CUBE_HEADER_H
#define ZEL_IO_CUBE_HEADER_H

// The three header lines of a .cube text that every job returns, and the look name both
// the .cube title and the look header carry.

#include <cstdint>

#include "io/header_part_layout.h"

namespace zel::io {

// The look name: the first 64 bytes of the look-file name with its last ".zel" (lower
// case, lying wholly inside those bytes) cleared, or bytes 60 to 63 cleared when there is
// none. Bytes after the cut stay in the buffer behind the terminator.
void deriveLookName(const char (&lookFileName)[128], std::uint8_t (&lookName)[kLookNameLength]);

// Clears `cubeHeader` and writes "# ZEL: <file name>", "TITLE <source> to <look name>" and
// "LUT_3D_SIZE <N>", each ended by CR LF, then a NUL.
void writeCubeHeader(char (&cubeHeader)[514], const char (&lookFileName)[128],
                     std::uint8_t sourceEncoding, const std::uint8_t (&lookName)[kLookNameLength],
                     std::uint8_t gridSize);

}  // namespace zel::io

#endif  // ZEL_IO_CUBE_HEADER_H
