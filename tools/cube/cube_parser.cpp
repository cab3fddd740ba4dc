#include "cube/cube_parser.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "cube/number_text.h"

namespace zelgen {

namespace {

constexpr std::size_t kShownLineLength = 80;

// The line as a message may show it: control bytes become '?', a long line is cut.
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

std::string composeMessage(const std::string& fileName, std::size_t lineNumber,
                           const std::string& lineText, const std::string& reason) {
    if (lineNumber == 0) {
        return fileName + ": " + reason;
    }
    return fileName + ", line " + std::to_string(lineNumber) + ": \"" + lineText + "\": " + reason;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// Splits a line at runs of spaces and tabs. Keeps at most `tokens.size()` tokens and
// returns how many there are in all.
template <std::size_t N>
std::size_t splitTokens(std::string_view line, std::array<std::string_view, N>& tokens) {
    std::size_t count = 0;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && isBlank(line[i])) {
            ++i;
        }
        if (i == line.size()) {
            break;
        }
        const std::size_t start = i;
        while (i < line.size() && !isBlank(line[i])) {
            ++i;
        }
        if (count < N) {
            tokens[count] = line.substr(start, i - start);
        }
        ++count;
    }
    return count;
}

bool startsWithLetter(std::string_view token) {
    const char c = token.empty() ? '\0' : token[0];
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// The walk over one file's lines.
class Parser {
  public:
    Parser(std::string_view text, const std::string& fileName) : text_(text), fileName_(fileName) {}

    CubeLut run() {
        static constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
        if (text_.substr(0, 3) == kByteOrderMark) {
            text_.remove_prefix(3);
        }
        while (nextLine()) {
            parseLine();
        }
        finish();
        return std::move(lut_);
    }

  private:
    // Lines end at LF, CR LF or a lone CR (old Mac exports).
    bool nextLine() {
        if (position_ >= text_.size()) {
            return false;
        }
        if (lineNumber_ == 0 || nextLineFeed_ < position_) {
            nextLineFeed_ = text_.find('\n', position_);
            if (nextLineFeed_ == std::string_view::npos) {
                nextLineFeed_ = text_.size();
            }
        }
        std::size_t end = nextLineFeed_;
        const void* cr = std::memchr(text_.data() + position_, '\r', end - position_);
        if (cr != nullptr) {
            const auto at = static_cast<std::size_t>(static_cast<const char*>(cr) - text_.data());
            if (at + 1 != end) {
                end = at;
            }
        }
        line_ = text_.substr(position_, end - position_);
        position_ = end + 1;
        if (!line_.empty() && line_.back() == '\r') {
            line_.remove_suffix(1);
        }
        ++lineNumber_;
        return true;
    }

    [[noreturn]] void fail(const std::string& reason) const {
        throw CubeParseError(fileName_, lineNumber_, line_, reason);
    }

    void parseLine() {
        std::array<std::string_view, 4> tokens;
        const std::size_t count = splitTokens(line_, tokens);
        if (count == 0 || tokens[0][0] == '#') {
            return;
        }
        float probe = 0.0f;
        if (startsWithLetter(tokens[0]) &&
            parseFloat(tokens[0], probe) == NumberStatus::notANumber) {
            parseKeyword(tokens, count);
        } else {
            parseDataLine(tokens, count);
        }
    }

    void parseKeyword(const std::array<std::string_view, 4>& tokens, std::size_t count) {
        const std::string_view keyword = tokens[0];
        if (keyword == "TITLE") {
            parseTitle();
            return;
        }
        if (keyword == "LUT_1D_SIZE" || keyword == "LUT_1D_INPUT_RANGE") {
            fail("this is a 1D LUT; a look must be a 3D LUT");
        }
        if (keyword == "LUT_IN_VIDEO_RANGE" || keyword == "LUT_OUT_VIDEO_RANGE") {
            fail(
                "video-range LUTs are not supported; export the look with full-range input "
                "and output");
        }
        const bool known = keyword == "LUT_3D_SIZE" || keyword == "DOMAIN_MIN" ||
                           keyword == "DOMAIN_MAX" || keyword == "LUT_3D_INPUT_RANGE";
        if (!known) {
            fail("unknown keyword '" + printableLine(keyword) + "'");
        }
        if (rowsRead_ > 0) {
            fail(std::string(keyword) + " stands after the data lines; keywords must come first");
        }
        if (keyword == "LUT_3D_SIZE") {
            parseSize(tokens, count);
        } else if (keyword == "DOMAIN_MIN") {
            expectDomain(tokens, count, 3, {0.0f, 0.0f, 0.0f});
        } else if (keyword == "DOMAIN_MAX") {
            expectDomain(tokens, count, 3, {1.0f, 1.0f, 1.0f});
        } else {
            expectDomain(tokens, count, 2, {0.0f, 1.0f, 0.0f});
        }
    }

    void parseTitle() {
        std::string_view title = trimBlanks(trimBlanks(line_).substr(5));
        if (title.size() >= 2 && title.front() == '"' && title.back() == '"') {
            title = title.substr(1, title.size() - 2);
        }
        lut_.title = std::string(title);
    }

    void parseSize(const std::array<std::string_view, 4>& tokens, std::size_t count) {
        if (lut_.size != 0) {
            fail("a second LUT_3D_SIZE line");
        }
        if (count != 2) {
            fail("LUT_3D_SIZE needs one number, the grid size");
        }
        long long size = 0;
        if (parseWholeNumber(tokens[1], size) != NumberStatus::ok || size < kSmallestGridSize ||
            size > kLargestGridSize) {
            fail("the grid size must be a whole number from 2 to 255");
        }
        lut_.size = static_cast<int>(size);
        expectedRows_ = static_cast<std::size_t>(size) * static_cast<std::size_t>(size) *
                        static_cast<std::size_t>(size);
        lut_.rows.assign(expectedRows_ * 3, 0.0f);
    }

    void expectDomain(const std::array<std::string_view, 4>& tokens, std::size_t count,
                      std::size_t numbers, const std::array<float, 3>& expected) {
        const std::string keyword(tokens[0]);
        if (count != numbers + 1) {
            fail(keyword + " needs " + std::to_string(numbers) + " numbers");
        }
        for (std::size_t i = 0; i < numbers; ++i) {
            float value = 0.0f;
            const NumberStatus status = parseFloat(tokens[i + 1], value);
            if (status != NumberStatus::ok) {
                failNumber(tokens[i + 1], status);
            }
            if (value != expected[i]) {
                fail("only the input domain 0 to 1 is supported");
            }
        }
    }

    void parseDataLine(const std::array<std::string_view, 4>& tokens, std::size_t count) {
        if (lut_.size == 0) {
            fail("a data line before the LUT_3D_SIZE line");
        }
        if (count != 3) {
            fail("a data line needs three numbers (red, green, blue), this one has " +
                 std::to_string(count) + " items");
        }
        if (rowsRead_ == expectedRows_) {
            fail("more data lines than LUT_3D_SIZE " + std::to_string(lut_.size) + " asks for (" +
                 std::to_string(expectedRows_) + ")");
        }
        float* row = lut_.rows.data() + rowsRead_ * 3;
        for (std::size_t i = 0; i < 3; ++i) {
            const NumberStatus status = parseFloat(tokens[i], row[i]);
            if (status != NumberStatus::ok) {
                failNumber(tokens[i], status);
            }
        }
        ++rowsRead_;
        lastDataLineNumber_ = lineNumber_;
        lastDataLine_ = line_;
    }

    [[noreturn]] void failNumber(std::string_view token, NumberStatus status) const {
        const std::string shown = "'" + printableLine(token) + "'";
        switch (status) {
            case NumberStatus::notFinite:
                fail(shown + " is not a finite number (NaN or infinity)");
            case NumberStatus::outOfRange:
                fail(shown + " is too large for a look value");
            default:
                fail(shown + " is not a number");
        }
    }

    void finish() {
        if (lut_.size == 0) {
            throw CubeParseError(fileName_, 0, "",
                                 "no LUT_3D_SIZE line; this is not a 3D LUT in .cube form");
        }
        if (rowsRead_ != expectedRows_) {
            const std::size_t where = rowsRead_ == 0 ? lineNumber_ : lastDataLineNumber_;
            const std::string_view text = rowsRead_ == 0 ? line_ : lastDataLine_;
            throw CubeParseError(fileName_, where, text,
                                 "the file ends after " + std::to_string(rowsRead_) + " of " +
                                     std::to_string(expectedRows_) + " data lines");
        }
    }

    std::string_view text_;
    const std::string& fileName_;
    std::size_t position_ = 0;
    std::size_t nextLineFeed_ = 0;
    std::size_t lineNumber_ = 0;
    std::string_view line_;
    std::size_t expectedRows_ = 0;
    std::size_t rowsRead_ = 0;
    std::size_t lastDataLineNumber_ = 0;
    std::string_view lastDataLine_;
    CubeLut lut_;
};

}  // namespace

CubeParseError::CubeParseError(std::string fileName, std::size_t lineNumber,
                               std::string_view lineText, std::string reason)
    : std::runtime_error(composeMessage(fileName, lineNumber, printableLine(lineText), reason)),
      fileName_(std::move(fileName)),
      lineNumber_(lineNumber),
      lineText_(printableLine(lineText)),
      reason_(std::move(reason)) {}

CubeLut parseCubeText(std::string_view text, const std::string& fileName) {
    return Parser(text, fileName).run();
}

CubeLut readCubeLut(const std::string& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) {
        throw CubeParseError(path, 0, "", "this is a folder, not a .cube file");
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw CubeParseError(path, 0, "",
                             std::string("cannot open the file (") + std::strerror(errno) + ")");
    }
    // Read in large pieces rather than by size, so that pipes and process substitutions
    // work as well as plain files.
    std::string text;
    constexpr std::size_t kPiece = std::size_t{1} << 20;
    const std::uintmax_t knownSize = std::filesystem::file_size(path, error);
    if (!error) {
        text.reserve(static_cast<std::size_t>(knownSize) + kPiece);
    }
    for (;;) {
        const std::size_t used = text.size();
        text.resize(used + kPiece);
        file.read(text.data() + used, static_cast<std::streamsize>(kPiece));
        text.resize(used + static_cast<std::size_t>(file.gcount()));
        if (!file) {
            break;
        }
    }
    if (file.bad() || !file.eof()) {
        throw CubeParseError(path, 0, "", "cannot read the file");
    }
    return parseCubeText(text, path);
}

}  // namespace zelgen
