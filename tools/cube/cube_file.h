#ifndef ZELGEN_CUBE_FILE_H
#define ZELGEN_CUBE_FILE_H

// A .cube file as the tool opens it: a regular file, a FIFO or a pipe, read by the
// library's .cube reader (cube_reader/cube_parser.h) as its writer delivers.

#include <string>

#include "cube_reader/cube_parser.h"
#include "zelgen/input_file.h"

namespace zelgen {

// Reads and parses a .cube file, a FIFO or a pipe. `stop`, when given, is asked between the
// pieces read; a stop request ends the read with InputInterrupted. A file that cannot be
// opened or read throws zel::io::CubeParseError with the reason.
zel::io::CubeLut readCubeLut(const std::string& path, StopCheck stop = nullptr);

}  // namespace zelgen

#endif  // ZELGEN_CUBE_FILE_H
