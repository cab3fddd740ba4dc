#include "cube/cube_parser.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <ios>
#include <istream>
#include <system_error>

#include <fast_float/fast_float.h>

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
    if (lineText.empty()) {
        return fileName + ", line " + std::to_string(lineNumber) + ": " + reason;
    }
    return fileName + ", line " + std::to_string(lineNumber) + ": \"" + lineText + "\": " + reason;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool isLineEnd(char c) {
    return c == '\n' || c == '\r';
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

// Keywords are matched without regard to letter case, as common readers do.
std::string upperCase(std::string_view token) {
    std::string upper(token);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return upper;
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

// The walk over one file's lines. The text is held in a buffer of whole lines that is
// refilled from the stream; without a stream the given text is the whole buffer.
class Parser {
  public:
    Parser(std::string_view text, const std::string& fileName)
        : fileName_(fileName), data_(text.data()), end_(text.size()), atEnd_(true) {}

    Parser(std::istream& in, const std::string& fileName, std::size_t pieceSize)
        : fileName_(fileName), in_(&in), storage_(pieceSize < 16 ? 16 : pieceSize) {
        data_ = storage_.data();
    }

    CubeLut run() {
        static constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
        if (lineAvailable() && std::string_view(data_, end_).substr(0, 3) == kByteOrderMark) {
            position_ = 3;
        }
        while (lineAvailable()) {
            if (!(fastPath_ && readPlainDataLine())) {
                takeLine();
                parseLine();
            }
        }
        finish();
        return std::move(lut_);
    }

  private:
    // True when a whole line starts at `position_`, reading more of the stream if needed.
    bool lineAvailable() {
        for (;;) {
            if (position_ < end_ &&
                (atEnd_ || (lastLineEnd_ != kNone && position_ <= lastLineEnd_))) {
                return true;
            }
            if (atEnd_) {
                return false;
            }
            refill();
        }
    }

    void refill() {
        // The lines a message may still show are kept before the buffer moves on.
        keepText(line_, savedLine_);
        keepText(lastDataLine_, savedDataLine_);
        const std::size_t kept = end_ - position_;
        std::memmove(storage_.data(), storage_.data() + position_, kept);
        position_ = 0;
        end_ = kept;
        if (end_ == storage_.size()) {
            if (storage_.size() >= kLongestLine) {
                line_ = std::string_view(data_, end_);
                ++lineNumber_;
                fail("a line longer than " + std::to_string(kLongestLine / 1024) +
                     " KB; this is not a .cube file");
            }
            storage_.resize(storage_.size() * 2 < kLongestLine ? storage_.size() * 2
                                                               : kLongestLine);
            data_ = storage_.data();
        }
        const std::size_t room = storage_.size() - end_;
        in_->read(storage_.data() + end_, static_cast<std::streamsize>(room));
        const auto got = static_cast<std::size_t>(in_->gcount());
        end_ += got;
        if (got < room) {
            if (in_->bad() || !in_->eof()) {
                throw CubeParseError(fileName_, 0, "", "cannot read the file");
            }
            atEnd_ = true;
        }
        // A line ends before the last LF or CR; a CR at the very end may be the first half of
        // a CR LF whose LF has not been read yet.
        std::size_t search = end_;
        if (!atEnd_ && search > 0 && data_[search - 1] == '\r') {
            --search;
        }
        lastLineEnd_ = kNone;
        while (search > 0) {
            --search;
            if (isLineEnd(data_[search])) {
                lastLineEnd_ = search;
                break;
            }
        }
    }

    void keepText(std::string_view& view, std::string& saved) const {
        if (!view.empty() && view.data() != saved.data()) {
            saved.assign(view.data(), view.size());
            view = saved;
        }
    }

    // Lines end at LF, CR LF or a lone CR (old Mac exports).
    void takeLine() {
        const char* start = data_ + position_;
        const char* stop = data_ + end_;
        const char* lf = static_cast<const char*>(std::memchr(start, '\n', end_ - position_));
        if (lf != nullptr) {
            stop = lf;
        }
        const char* cr = static_cast<const char*>(
            std::memchr(start, '\r', static_cast<std::size_t>(stop - start)));
        if (cr != nullptr) {
            stop = cr;
        }
        line_ = std::string_view(start, static_cast<std::size_t>(stop - start));
        position_ = static_cast<std::size_t>(stop - data_);
        skipLineEnd();
        ++lineNumber_;
    }

    void skipLineEnd() {
        if (position_ < end_ && data_[position_] == '\r') {
            ++position_;
            if (position_ < end_ && data_[position_] == '\n') {
                ++position_;
            }
        } else if (position_ < end_ && data_[position_] == '\n') {
            ++position_;
        }
    }

    // The common data line, "r g b" with plain numbers, read straight from the buffer.
    // Returns false, having consumed nothing, for anything else; the general path then reads
    // the line and gives its message.
    bool readPlainDataLine() {
        if (rowsRead_ == expectedRows_) {
            return false;
        }
        const char* p = data_ + position_;
        const char* const end = data_ + end_;
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
            const fast_float::from_chars_result result = fast_float::from_chars(p, end, value);
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
        const char* lineStart = data_ + position_;
        position_ = static_cast<std::size_t>(p - data_);
        ++lineNumber_;
        noteDataLine(std::string_view(lineStart, static_cast<std::size_t>(p - lineStart)));
        skipLineEnd();
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
        edge_ = static_cast<std::size_t>(size);
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

    // Rows arrive red fastest, nodes are stored blue fastest: a row written straight to its
    // node would touch a new page for every row of a large look. Rows are gathered for a
    // band of kBand blue values, arranged so that each node's band is contiguous, and the
    // band is then copied into the node table in runs of kBand nodes.
    static constexpr std::size_t kBand = 16;

    void storeTableRow(const float* values) {
        if (band_.empty()) {
            band_.resize(kBand * edge_ * edge_ * 3);
        }
        float* slot = band_.data() + bandSlot_;
        slot[0] = values[0];
        slot[1] = values[1];
        slot[2] = values[2];
        ++rowsRead_;
        if (++red_ < edge_) {
            bandSlot_ += kBand * 3;
            return;
        }
        red_ = 0;
        if (++green_ == edge_) {
            green_ = 0;
            ++blue_;
            if (blue_ - bandStart_ == kBand || blue_ == edge_) {
                copyBand();
                bandStart_ = blue_;
            }
        }
        bandSlot_ = (green_ * edge_ * kBand + (blue_ - bandStart_)) * 3;
    }

    void copyBand() {
        const std::size_t blues = blue_ - bandStart_;
        float* const nodes = lut_.nodes.data();
        for (std::size_t green = 0; green < edge_; ++green) {
            for (std::size_t red = 0; red < edge_; ++red) {
                const float* from = band_.data() + (green * edge_ + red) * kBand * 3;
                float* to = nodes + ((red * edge_ + green) * edge_ + bandStart_) * 4;
                for (std::size_t b = 0; b < blues; ++b, from += 3, to += 4) {
                    to[0] = from[0];
                    to[1] = from[1];
                    to[2] = from[2];
                    to[3] = 0.0f;
                }
            }
        }
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

    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    const std::string& fileName_;
    std::istream* in_ = nullptr;
    std::vector<char> storage_;
    const char* data_ = nullptr;
    std::size_t end_ = 0;       // bytes held in the buffer
    std::size_t position_ = 0;  // the next line's first byte
    std::size_t lastLineEnd_ = kNone;
    bool atEnd_ = false;

    std::size_t lineNumber_ = 0;
    std::string_view line_;
    bool headerChecked_ = false;
    bool fastPath_ = false;
    std::size_t expectedRows_ = 0;
    std::size_t rowsRead_ = 0;       // rows of the 3D table
    std::size_t dataLinesRead_ = 0;  // shaper and table rows
    // The rows of the 3D table: the next row's lattice point and its place in the band.
    std::size_t edge_ = 0;
    std::size_t red_ = 0;
    std::size_t green_ = 0;
    std::size_t blue_ = 0;
    std::size_t bandStart_ = 0;
    std::size_t bandSlot_ = 0;
    std::vector<float> band_;
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

CubeParseError::CubeParseError(std::string fileName, std::size_t lineNumber,
                               std::string_view lineText, std::string reason, Scope scope)
    : std::runtime_error(composeMessage(fileName, lineNumber, printableLine(lineText), reason)),
      fileName_(std::move(fileName)),
      lineNumber_(lineNumber),
      lineText_(printableLine(lineText)),
      reason_(std::move(reason)),
      scope_(scope) {}

CubeLut parseCubeText(std::string_view text, const std::string& fileName) {
    return Parser(text, fileName).run();
}

CubeLut parseCubeStream(std::istream& in, const std::string& fileName, std::size_t pieceSize) {
    return Parser(in, fileName, pieceSize).run();
}

CubeLut readCubeLut(const std::string& path, StopCheck stop) {
    try {
        // Pipes and process substitutions are read as their writer delivers; devices and
        // folders are refused.
        InputFile file(path, "a .cube file", kLargestCubeFile, true, stop);
        InputFileBuffer buffer(file);
        std::istream in(&buffer);
        in.exceptions(std::ios::badbit);  // a read error or a stop reaches the caller as is
        return parseCubeStream(in, path);
    } catch (const InputFileError& e) {
        throw CubeParseError(path, 0, "", e.reason());
    }
}

}  // namespace zelgen
