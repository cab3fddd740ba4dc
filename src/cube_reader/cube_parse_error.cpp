#include "cube_reader/cube_parse_error.h"

#include <utility>

namespace zel::io {

namespace {

constexpr std::size_t kShownLineLength = 80;

std::string composeMessage(const std::string& fileName, std::size_t lineNumber,
                           const std::string& lineText, const std::string& reason) {
    if (lineNumber == 0) {
        return fileName + ": " + reason;
    }
    if (lineText.empty()) {
        return fileName + ", line " + std::to_string(lineNumber) + ": " + reason;
    }
    return fileName + ", line " + std::to_string(lineNumber) + ": \"" + lineText + "\": " + reason;
}

}  // namespace

std::string printableLine(std::string_view line) {
    std::string shown;
    const std::size_t length = line.size() < kShownLineLength ? line.size() : kShownLineLength;
    for (std::size_t i = 0; i < length; ++i) {
        const auto c = static_cast<unsigned char>(line[i]);
        shown += (c == '\t') ? ' ' : (c < 0x20 || c == 0x7F) ? '?' : static_cast<char>(c);
    }
    if (line.size() > kShownLineLength) {
        shown += "...";
    }
    return shown;
}

CubeParseError::CubeParseError(std::string fileName, std::size_t lineNumber,
                               std::string_view lineText, std::string reason, Scope scope)
    : std::runtime_error(composeMessage(fileName, lineNumber, printableLine(lineText), reason)),
      fileName_(std::move(fileName)),
      lineNumber_(lineNumber),
      lineText_(printableLine(lineText)),
      reason_(std::move(reason)),
      scope_(scope) {}

}  // namespace zel::io
