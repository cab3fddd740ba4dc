#ifndef ZELGEN_CUBE_PARSER_H
#define ZELGEN_CUBE_PARSER_H

// The tool's .cube reader. Unlike the library's exported reader, which keeps its fixed
// behaviour for existing hosts, this one accepts the files grading applications really
// write (titles and comments anywhere, blank lines, tabs or repeated spaces, CR LF, the
// unit domain spelled out) and refuses, with the line and the reason, everything it
// cannot turn into a look: 1D LUTs, other domains, video-range LUTs, sizes outside 2 to
// 255, a wrong number of rows, and tokens that are not wholly a finite number. Numbers are
// read the same way under every locale.

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace zelgen {

// A 3D LUT as the file holds it.
struct CubeLut {
    int size = 0;       // N: N x N x N lattice points
    std::string title;  // the TITLE text, without quotes; empty when there is none
    // N^3 rows of red, green, blue in file order: red varies fastest, then green, then blue.
    std::vector<float> rows;
};

// A file the tool cannot use. `lineNumber` is 0 when the problem is not one line's (the
// file cannot be read, or it has no size line).
class CubeParseError : public std::runtime_error {
  public:
    CubeParseError(std::string fileName, std::size_t lineNumber, std::string_view lineText,
                   std::string reason);

    const std::string& fileName() const { return fileName_; }
    std::size_t lineNumber() const { return lineNumber_; }
    const std::string& lineText() const { return lineText_; }
    const std::string& reason() const { return reason_; }

  private:
    std::string fileName_;
    std::size_t lineNumber_;
    std::string lineText_;
    std::string reason_;
};

// The smallest and largest grid size a look may have: a lattice needs two points an axis,
// and the camera's look file stores the size in one byte.
constexpr int kSmallestGridSize = 2;
constexpr int kLargestGridSize = 255;

// Parses .cube text. `fileName` names the file in error messages.
CubeLut parseCubeText(std::string_view text, const std::string& fileName);

// Reads and parses a .cube file.
CubeLut readCubeLut(const std::string& path);

}  // namespace zelgen

#endif  // ZELGEN_CUBE_PARSER_H
