#ifndef ZEL_CUBE_READER_CUBE_PARSER_H
#define ZEL_CUBE_READER_CUBE_PARSER_H

// The .cube reader of zelgen, the Python module, the browser page and the C interface.
// Unlike the exported ReadFiles::readCubeFile, which keeps its fixed behaviour for existing
// C++ hosts, this one accepts the files grading applications really write (titles and
// comments anywhere, blank lines, tabs or repeated spaces, CR LF, the unit domain spelled
// out, keywords in any letter case, a 1D shaper before the 3D table) and refuses, with the
// line and the reason, everything it cannot turn into a look: a 1D LUT alone, other
// domains without a shaper, video-range LUTs, sizes outside 2 to 255, a wrong number of
// rows, and tokens that are not wholly a finite number. Numbers are read the same way
// under every locale.
//
// The file is read in pieces: the header is checked before any data line is read, each data
// line goes straight into the node table, and reading stops at the first line that cannot
// be used. Memory follows the grid size, never the length of the file.

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

#include "cube_reader/cube_lut.h"
#include "cube_reader/cube_parse_error.h"

namespace zel::io {

// Parses .cube text held whole. `fileName` names the file in error messages.
CubeLut parseCubeText(std::string_view text, const std::string& fileName);

// Parses .cube text from a stream, `pieceSize` bytes at a time.
CubeLut parseCubeStream(std::istream& in, const std::string& fileName,
                        std::size_t pieceSize = std::size_t{1} << 20);

// The longest .cube file read: a 255-grid table with long numbers and a shaper fits many
// times over.
constexpr std::uint64_t kLargestCubeFile = std::uint64_t{2} << 30;

}  // namespace zel::io

#endif  // ZEL_CUBE_READER_CUBE_PARSER_H
