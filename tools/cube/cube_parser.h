#ifndef ZELGEN_CUBE_PARSER_H
#define ZELGEN_CUBE_PARSER_H

// The tool's .cube reader. Unlike the library's exported reader, which keeps its fixed
// behaviour for existing hosts, this one accepts the files grading applications really
// write (titles and comments anywhere, blank lines, tabs or repeated spaces, CR LF, the
// unit domain spelled out, keywords in any letter case, a 1D shaper before the 3D table)
// and refuses, with the line and the reason, everything it cannot turn into a look: a 1D
// LUT alone, other domains without a shaper, video-range LUTs, sizes outside 2 to 255, a
// wrong number of rows, and tokens that are not wholly a finite number. Numbers are read the
// same way under every locale.
//
// The file is read in pieces: the header is checked before any data line is read, each data
// line goes straight into the node table, and reading stops at the first line that cannot
// be used. Memory follows the grid size, never the length of the file.

#include <array>
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "cube/node_table.h"
#include "zelgen/input_file.h"

namespace zelgen {

// A 1D table applied to each channel before the 3D table (a "shaper").
struct CubeShaper {
    // Rows of red, green, blue outputs; empty when the file has no 1D table.
    std::vector<float> rows;
    // The input range spread over the rows: input `inputMin` reads row 0, `inputMax` the last.
    float inputMin = 0.0f;
    float inputMax = 1.0f;

    std::size_t size() const { return rows.size() / 3; }
    bool present() const { return !rows.empty(); }
};

// A look as the file holds it.
struct CubeLut {
    int size = 0;       // N: N x N x N lattice points of the 3D table
    std::string title;  // the TITLE text, without quotes; empty when there is none
    NodeTable nodes;    // the 3D table in node order (node_table.h)
    // The input range of the 3D table per channel (0 to 1 unless a shaper feeds it).
    std::array<float, 3> domainMin{0.0f, 0.0f, 0.0f};
    std::array<float, 3> domainMax{1.0f, 1.0f, 1.0f};
    CubeShaper shaper;
};

// A file the tool cannot use. `lineNumber` is 0 when the problem is not one line's (the
// file cannot be read, or it has no size line). Other readers raise it too, for the files
// they read; `lineText` is then empty when they do not give the line.
class CubeParseError : public std::runtime_error {
  public:
    // Whether the file may still be a transform that another reader evaluates: a valid
    // .cube file of a kind this reader does not turn into a look (a 1D LUT alone, an input
    // domain other than 0 to 1 without a shaper).
    enum class Scope { refused, otherDialect };

    CubeParseError(std::string fileName, std::size_t lineNumber, std::string_view lineText,
                   std::string reason, Scope scope = Scope::refused);

    Scope scope() const { return scope_; }

    const std::string& fileName() const { return fileName_; }
    std::size_t lineNumber() const { return lineNumber_; }
    const std::string& lineText() const { return lineText_; }
    const std::string& reason() const { return reason_; }

  private:
    std::string fileName_;
    std::size_t lineNumber_;
    std::string lineText_;
    std::string reason_;
    Scope scope_;
};

// The smallest and largest grid size a look may have: a lattice needs two points an axis,
// and the camera's look file stores the size in one byte.
constexpr int kSmallestGridSize = 2;
constexpr int kLargestGridSize = 255;
// The largest 1D shaper: the longest tables grading applications export.
constexpr std::size_t kLargestShaperSize = 65536;
// The longest line read; longer ones are refused (no .cube line comes near it).
constexpr std::size_t kLongestLine = std::size_t{1} << 20;

// Parses .cube text held whole. `fileName` names the file in error messages.
CubeLut parseCubeText(std::string_view text, const std::string& fileName);

// Parses .cube text from a stream, `pieceSize` bytes at a time.
CubeLut parseCubeStream(std::istream& in, const std::string& fileName,
                        std::size_t pieceSize = std::size_t{1} << 20);

// The longest .cube file read: a 255-grid table with long numbers and a shaper fits many
// times over.
constexpr std::uint64_t kLargestCubeFile = std::uint64_t{2} << 30;

// Reads and parses a .cube file, a FIFO or a pipe. `stop`, when given, is asked between the
// pieces read; a stop request ends the read with InputInterrupted.
CubeLut readCubeLut(const std::string& path, StopCheck stop = nullptr);

}  // namespace zelgen

#endif  // ZELGEN_CUBE_PARSER_H
