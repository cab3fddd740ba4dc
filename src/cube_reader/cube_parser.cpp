#include "cube_reader/cube_parser.h"

#include <array>
#include <cmath>
#include <memory>
#include <system_error>
#include <utility>
#include <vector>

#include "cube_reader/cube_line_buffer.h"
#include "cube_reader/cube_table_rows.h"
#include "cube_reader/cube_tokens.h"
#include "cube_reader/number_reading.h"

namespace zel::io {

namespace {

// The walk over one file's lines.
class Parser {
  public:
    Parser(CubeLineBuffer lines, const std::string& fileName)
        : fileName_(fileName), lines_(std::move(lines)) {}

    CubeLut run() {
        if (lineAvailable()) {
            lines_.skipByteOrderMark();
        }
        while (lineAvailable()) {
            if (!(fastPath_ && readPlainDataLine())) {
                line_ = lines_.takeLine();
                ++lineNumber_;
                parseLine();
            }
        }
        finish();
        return std::move(lut_);
    }

  private:
    // True when a whole line starts at the cursor, reading more of the stream if needed.
    bool lineAvailable() {
        while (!lines_.wholeLineAhead()) {
            if (lines_.streamEnded()) {
                return false;
            }
            // The lines a message may still show are kept before the buffer moves on.
            keepText(line_, savedLine_);
            keepText(lastDataLine_, savedDataLine_);
            lines_.refill(lineNumber_ + 1);
        }
        return true;
    }

    static void keepText(std::string_view& view, std::string& saved) {
        if (!view.empty() && view.data() != saved.data()) {
            saved.assign(view.data(), view.size());
            view = saved;
        }
    }

    // The common data line, "r g b" with plain numbers, read straight from the buffer.
    // Returns false, having consumed nothing, for anything else; the general path then reads
    // the line and gives its message.
    bool readPlainDataLine() {
        if (rowsRead_ == expectedRows_) {
            return false;
        }
        const char* p = lines_.cursor();
        const char* const end = lines_.heldEnd();
        float values[3];
        for (float& value : values) {
            while (p < end && isBlank(*p)) {
                ++p;
            }
            if (p + 1 < end && *p == '+' && *(p + 1) != '-') {
                ++p;
            }
            // Zero, tiny, huge and non-finite values take the general path, which tells a
            // value too small for a float from one too large.
            const std::from_chars_result result = readFloatPrefix(p, end, value);
            if (result.ec != std::errc() || result.ptr == p || !std::isnormal(value)) {
                return false;
            }
            p = result.ptr;
            if (p < end && !isBlank(*p) && !isLineEnd(*p)) {
                return false;
            }
        }
        while (p < end && isBlank(*p)) {
            ++p;
        }
        if (p < end && !isLineEnd(*p)) {
            return false;
        }
        const char* lineStart = lines_.cursor();
        lines_.finishLineAt(p);
        ++lineNumber_;
        noteDataLine(std::string_view(lineStart, static_cast<std::size_t>(p - lineStart)));
        storeTableRow(values);
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
        const std::string keyword = upperCase(tokens[0].substr(0, 32));
        if (keyword == "TITLE") {
            parseTitle();
            return;
        }
        if (keyword == "LUT_IN_VIDEO_RANGE" || keyword == "LUT_OUT_VIDEO_RANGE") {
            fail(
                "video-range LUTs are not supported; export the look with full-range input "
                "and output");
        }
        const bool known = keyword == "LUT_3D_SIZE" || keyword == "LUT_1D_SIZE" ||
                           keyword == "DOMAIN_MIN" || keyword == "DOMAIN_MAX" ||
                           keyword == "LUT_3D_INPUT_RANGE" || keyword == "LUT_1D_INPUT_RANGE";
        if (!known || tokens[0].size() > 32) {
            fail("unknown keyword '" + printableLine(tokens[0]) + "'");
        }
        if (dataLinesRead_ > 0) {
            // Some applications write the 3D table's keywords between the shaper's rows and
            // the table's; the shaper's own keywords still come first.
            const bool betweenTables =
                rowsRead_ == 0 && shaperComplete() && keyword.compare(0, 6, "LUT_1D") != 0;
            if (!betweenTables) {
                fail(keyword + " stands after the data lines; keywords must come first");
            }
            fastPath_ = false;  // the table's first row checks the header
        }
        if (keyword == "LUT_3D_SIZE") {
            parseSize(tokens, count);
        } else if (keyword == "LUT_1D_SIZE") {
            parseShaperSize(tokens, count);
        } else if (keyword == "LUT_1D_INPUT_RANGE") {
            const std::array<float, 2> range = readRange(tokens, count);
            lut_.shaper.inputMin = range[0];
            lut_.shaper.inputMax = range[1];
        } else if (keyword == "LUT_3D_INPUT_RANGE") {
            const std::array<float, 2> range = readRange(tokens, count);
            lut_.domainMin.fill(range[0]);
            lut_.domainMax.fill(range[1]);
            noteDomainLine();
        } else {
            const std::array<float, 3> values = readNumbers<3>(tokens, count, keyword);
            (keyword == "DOMAIN_MIN" ? lut_.domainMin : lut_.domainMax) = values;
            noteDomainLine();
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
        lut_.nodes = NodeTable(lut_.size);
        expectedRows_ = lut_.nodes.nodeCount();
        tableRows_ = std::make_unique<CubeTableRows>(lut_.nodes);
    }

    void parseShaperSize(const std::array<std::string_view, 4>& tokens, std::size_t count) {
        if (shaperSize_ != 0) {
            fail("a second LUT_1D_SIZE line");
        }
        long long size = 0;
        if (count != 2 || parseWholeNumber(tokens[1], size) != NumberStatus::ok || size < 2 ||
            static_cast<unsigned long long>(size) > kLargestShaperSize) {
            fail("LUT_1D_SIZE needs one whole number from 2 to " +
                 std::to_string(kLargestShaperSize));
        }
        shaperSize_ = static_cast<std::size_t>(size);
        lut_.shaper.rows.reserve(shaperSize_ * 3);
    }

    template <std::size_t Count>
    std::array<float, Count> readNumbers(const std::array<std::string_view, 4>& tokens,
                                         std::size_t count, const std::string& keyword) {
        if (count != Count + 1) {
            fail(keyword + " needs " + std::to_string(Count) + " numbers");
        }
        std::array<float, Count> values{};
        for (std::size_t i = 0; i < Count; ++i) {
            const NumberStatus status = parseFloat(tokens[i + 1], values[i]);
            if (status != NumberStatus::ok) {
                failNumber(tokens[i + 1], status);
            }
        }
        return values;
    }

    std::array<float, 2> readRange(const std::array<std::string_view, 4>& tokens,
                                   std::size_t count) {
        const std::string keyword = upperCase(tokens[0]);
        const std::array<float, 2> range = readNumbers<2>(tokens, count, keyword);
        if (!(range[0] < range[1])) {
            fail(keyword + " needs its smallest input before its largest");
        }
        return range;
    }

    // A domain other than 0 to 1 is known only once the whole header has been read (a
    // shaper may follow it), so the line is kept for the message.
    void noteDomainLine() {
        domainLineNumber_ = lineNumber_;
        domainLineText_ = std::string(line_);
    }

    // The header is complete when the first data line arrives (or the file ends).
    void checkHeader() {
        headerChecked_ = true;
        const bool unitDomain = lut_.domainMin == std::array<float, 3>{0.0f, 0.0f, 0.0f} &&
                                lut_.domainMax == std::array<float, 3>{1.0f, 1.0f, 1.0f};
        if (unitDomain) {
            return;
        }
        std::string reason;
        if (shaperSize_ == 0) {
            reason =
                "only the input domain 0 to 1 is supported (other domains only behind a "
                "1D shaper)";
        }
        for (std::size_t c = 0; c < 3 && reason.empty(); ++c) {
            if (!(lut_.domainMin[c] < lut_.domainMax[c])) {
                reason = "the 3D table's input domain needs its smallest input before its largest";
            }
        }
        if (!reason.empty()) {
            throw CubeParseError(fileName_, domainLineNumber_, domainLineText_, reason,
                                 shaperSize_ == 0 ? CubeParseError::Scope::otherDialect
                                                  : CubeParseError::Scope::refused);
        }
    }

    bool shaperComplete() const { return lut_.shaper.rows.size() == shaperSize_ * 3; }

    void parseDataLine(const std::array<std::string_view, 4>& tokens, std::size_t count) {
        const bool shaperRow = !shaperComplete();
        if (lut_.size == 0 && !shaperRow) {
            if (shaperSize_ != 0) {
                fail("a data line after the " + std::to_string(shaperSize_) +
                     " rows of LUT_1D_SIZE, but no LUT_3D_SIZE line: a 1D LUT alone cannot be "
                     "a look; a look is a 3D LUT, with or without a 1D shaper before it");
            }
            fail("a data line before the LUT_3D_SIZE line");
        }
        if (!shaperRow && !headerChecked_) {
            checkHeader();
        }
        if (count != 3) {
            fail("a data line needs three numbers (red, green, blue), this one has " +
                 std::to_string(count) + " items");
        }
        if (!shaperRow && rowsRead_ == expectedRows_) {
            fail("more data lines than " + describeExpectedLines() + " ask for (" +
                 std::to_string(shaperSize_ + expectedRows_) + ")");
        }
        float values[3];
        for (std::size_t i = 0; i < 3; ++i) {
            const NumberStatus status = parseFloat(tokens[i], values[i]);
            if (status != NumberStatus::ok) {
                failNumber(tokens[i], status);
            }
        }
        noteDataLine(line_);
        if (shaperRow) {
            lut_.shaper.rows.insert(lut_.shaper.rows.end(), values, values + 3);
            return;
        }
        storeTableRow(values);
        fastPath_ = true;
    }

    void noteDataLine(std::string_view line) {
        ++dataLinesRead_;
        lastDataLineNumber_ = lineNumber_;
        lastDataLine_ = line;
    }

    void storeTableRow(const float* values) {
        tableRows_->store(values);
        ++rowsRead_;
    }

    std::string describeExpectedLines() const {
        const std::string table = "LUT_3D_SIZE " + std::to_string(lut_.size);
        return shaperSize_ == 0 ? table
                                : "LUT_1D_SIZE " + std::to_string(shaperSize_) + " and " + table;
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
            // A whole 1D LUT is a valid .cube file, only not a 3D look.
            throw CubeParseError(
                fileName_, 0, "",
                shaperSize_ != 0
                    ? "this file holds only a 1D LUT (LUT_1D_SIZE, no LUT_3D_SIZE); a look must "
                      "be a 3D LUT, with or without a 1D shaper before it"
                    : "no LUT_3D_SIZE line; this is not a 3D LUT in .cube form",
                shaperSize_ != 0 && shaperComplete() ? CubeParseError::Scope::otherDialect
                                                     : CubeParseError::Scope::refused);
        }
        if (!headerChecked_) {
            checkHeader();
        }
        if (rowsRead_ != expectedRows_) {
            const bool anyData = dataLinesRead_ > 0;
            throw CubeParseError(fileName_, anyData ? lastDataLineNumber_ : lineNumber_,
                                 anyData ? lastDataLine_ : line_,
                                 "the file ends after " + std::to_string(dataLinesRead_) + " of " +
                                     std::to_string(shaperSize_ + expectedRows_) + " data lines");
        }
    }

    const std::string& fileName_;
    CubeLineBuffer lines_;

    std::size_t lineNumber_ = 0;
    std::string_view line_;
    bool headerChecked_ = false;
    bool fastPath_ = false;
    std::size_t expectedRows_ = 0;
    std::size_t rowsRead_ = 0;                  // rows of the 3D table
    std::size_t dataLinesRead_ = 0;             // shaper and table rows
    std::unique_ptr<CubeTableRows> tableRows_;  // made with the size line
    std::size_t shaperSize_ = 0;
    std::size_t domainLineNumber_ = 0;
    std::string domainLineText_;
    // The last data line, for a message about missing lines, and the copies that keep
    // both lines' text once the buffer has moved on.
    std::size_t lastDataLineNumber_ = 0;
    std::string_view lastDataLine_;
    std::string savedLine_;
    std::string savedDataLine_;
    CubeLut lut_;
};

}  // namespace

CubeLut parseCubeText(std::string_view text, const std::string& fileName) {
    return Parser(CubeLineBuffer(text), fileName).run();
}

CubeLut parseCubeStream(std::istream& in, const std::string& fileName, std::size_t pieceSize) {
    return Parser(CubeLineBuffer(in, fileName, pieceSize), fileName).run();
}

}  // namespace zel::io
