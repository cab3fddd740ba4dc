#ifndef ZEL_CUBE_READER_CUBE_PARSE_ERROR_H
#define ZEL_CUBE_READER_CUBE_PARSE_ERROR_H

// A .cube file that cannot become a look, with where and why: the file, the line number,
// the line as it may be shown and the reason. what() is the whole sentence,
// `look.cube, line 12: "0.1 0.2": a data line needs three numbers ...`.

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace zel::io {

// `lineNumber` is 0 when the problem is not one line's (the file cannot be read, or it has
// no size line). Other readers raise it too, for the files they read; `lineText` is then
// empty when they do not give the line.
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

// The text as a message may show it: control bytes become '?', tabs spaces, and a long
// text is cut after 80 bytes with "...".
std::string printableLine(std::string_view line);

}  // namespace zel::io

#endif  // ZEL_CUBE_READER_CUBE_PARSE_ERROR_H
