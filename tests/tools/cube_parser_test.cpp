// The tool's .cube parser: real files read, unusable ones refused with line and reason.

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <istream>
#include <sstream>
#include <streambuf>
#include <string>

#include "cube/cube_writer.h"
#include "cube/number_text.h"
#include "cube_reader/cube_parser.h"

namespace {

using zel::io::CubeLut;
using zel::io::CubeParseError;
using zel::io::parseCubeText;

// The eight rows of a size-2 identity, in .cube order, each ended by `eol`.
std::string identityRows(const std::string& eol, const std::string& gap = " ") {
    std::string rows;
    for (int b = 0; b < 2; ++b) {
        for (int g = 0; g < 2; ++g) {
            for (int r = 0; r < 2; ++r) {
                rows += std::to_string(r) + gap + std::to_string(g) + gap + std::to_string(b) + eol;
            }
        }
    }
    return rows;
}

// Node (red i, green j, blue k) of a parsed look, channel c.
float nodeValue(const CubeLut& lut, int i, int j, int k, int c) {
    return lut.nodes.data()[lut.nodes.nodeIndex(i, j, k) * 4 + c];
}

// The error `parse` raises; fails the test when it raises none.
template <typename Parse>
CubeParseError errorFrom(Parse parse) {
    try {
        parse();
    } catch (const CubeParseError& e) {
        return e;
    }
    ADD_FAILURE() << "parsed without error";
    return CubeParseError("", 0, "", "");
}

CubeParseError errorOf(const std::string& text) {
    return errorFrom([&] { parseCubeText(text, "look.cube"); });
}

// Byte order marks, comments, blank lines, tabs, keywords in any letter case, CR LF or CR
// alone: each file reads as the plain size-2 identity does.
TEST(CubeParser, ReadsWhatGradingApplicationsWrite) {
    const CubeLut plain = parseCubeText("LUT_3D_SIZE 2\n" + identityRows("\n"), "plain.cube");
    ASSERT_EQ(plain.nodes.nodeCount(), 8u);
    // The second row is red 1, green 0, blue 0: red varies fastest in the file.
    EXPECT_EQ(nodeValue(plain, 1, 0, 0, 0), 1.0f);
    EXPECT_EQ(nodeValue(plain, 1, 0, 0, 2), 0.0f);
    const struct {
        std::string text;
        const char* title;
    } cases[] = {
        {"\xEF\xBB\xBF# exported\r\nTITLE \"Warm look\"\r\n\r\nLUT_3D_SIZE 2\r\n"
         "DOMAIN_MIN 0 0 0\r\nDOMAIN_MAX 1.0 1 1\r\n# data follows\r\n" +
             identityRows("\r\n", " \t ") + "\r\n# trailing comment\r\nTITLE \"late\"\r\n",
         "late"},
        {"Title \"soft\"\nlut_3d_size 2\nDomain_Min 0 0 0\nlut_3d_input_range 0 1\n" +
             identityRows("\n"),
         "soft"},
        {"TITLE \"old\"\rLUT_3D_SIZE 2\r" + identityRows("\r"), "old"},
    };
    for (const auto& c : cases) {
        const CubeLut lut = parseCubeText(c.text, "look.cube");
        EXPECT_EQ(lut.size, 2) << c.title;
        EXPECT_EQ(lut.title, c.title);
        ASSERT_EQ(lut.nodes.nodeCount(), 8u) << c.title;
        EXPECT_TRUE(std::equal(plain.nodes.data(), plain.nodes.data() + 32, lut.nodes.data()))
            << c.title;
    }
    EXPECT_EQ(errorOf("lut_3d_size 2\nlut_in_video_range\n").reason().find("video-range"), 0u);
    // Lines counted at a CR alone.
    std::string text = "TITLE \"old\"\rLUT_3D_SIZE 2\r" + identityRows("\r");
    text.replace(text.find("1 1 1"), 5, "1 1 x");
    EXPECT_EQ(errorOf(text).lineNumber(), 10u);
}

TEST(CubeParser, AcceptsEveryUsualGridSize) {
    for (const int size : {17, 33, 65}) {
        std::string text = "LUT_3D_SIZE " + std::to_string(size) + "\n";
        const int rows = size * size * size;
        text.reserve(static_cast<std::size_t>(rows) * 12);
        for (int i = 0; i < rows; ++i) {
            text += "0.5 0.25 1e-3\n";
        }
        const CubeLut lut = parseCubeText(text, "look.cube");
        EXPECT_EQ(lut.size, size);
        EXPECT_EQ(lut.nodes.nodeCount(), static_cast<std::size_t>(rows));
        EXPECT_FLOAT_EQ(nodeValue(lut, size - 1, size - 1, size - 1, 2), 0.001f);
    }
}

// The 1D LUT and the decimal comma are refused in the zelgen end-to-end tests.
TEST(CubeParser, RefusesWhatCannotBeALookNamingLineAndReason) {
    struct Case {
        std::string text;
        std::size_t line;
        const char* reasonPart;
    };
    const std::string head = "LUT_3D_SIZE 2\n";
    const Case cases[] = {
        {head + "DOMAIN_MIN -0.1 0 0\n", 2, "domain 0 to 1"},
        {head + "DOMAIN_MAX 1 1 2\n", 2, "domain 0 to 1"},
        {head + "LUT_IN_VIDEO_RANGE\n", 2, "video-range"},
        {"LUT_3D_SIZE 1\n0 0 0\n", 1, "from 2 to 255"},
        {"LUT_3D_SIZE 256\n", 1, "from 2 to 255"},
        {"LUT_3D_SIZE 17.5\n", 1, "from 2 to 255"},
        {head + "0 0 0\n1x 0 0\n", 3, "'1x' is not a number"},
        {head + "0 nan 0\n", 2, "NaN or infinity"},
        {head + "0 0 -inf\n", 2, "NaN or infinity"},
        {head + "0 0 1e39\n", 2, "too large"},
        {head + "0 1e400 0\n", 2, "too large"},
        {head + "-1e400 0 0\n", 2, "too large"},
        {head + "0 0 0\n0 0 1e99999\n", 3, "too large"},
        {head + "0 0\n", 2, "has 2 items"},
        {head + "0 0 0 0\n", 2, "has 4 items"},
        {"0 0 0\n" + head, 1, "before the LUT_3D_SIZE"},
        {head + identityRows("\n") + "0 0 0\n", 10, "more data lines"},
        {head + "0 0 0\nDOMAIN_MIN 0 0 0\n", 3, "after the data lines"},
        {head + head, 2, "second LUT_3D_SIZE"},
        {head + "LUT_3D_SHAPER 0 1\n", 2, "unknown keyword"},
        {"LUT_1D_SIZE 2\n0 0 0\n1 1 1\n0 0 0\n", 4, "a 1D LUT alone cannot be a look"},
        {"LUT_1D_SIZE 2\n0 0 0\n", 0, "holds only a 1D LUT"},
        {"LUT_1D_SIZE 2\n0 0 0\n1 1 1\nLUT_1D_INPUT_RANGE 0 2\n", 4, "after the data lines"},
        {"LUT_1D_SIZE 2\n", 0, "holds only a 1D LUT"},
        {"LUT_1D_SIZE 70000\n" + head, 1, "from 2 to 65536"},
        {"LUT_1D_SIZE 2\nLUT_1D_INPUT_RANGE 1 0\n" + head, 2, "smallest input before"},
        {"LUT_1D_SIZE 2\n" + head + "0 0 0\n1 1 1\n0 0 0\n", 5, "ends after 3 of 10"},
        {head + "LUT_3D_INPUT_RANGE 0 2\n0 0 0\n", 2, "domain 0 to 1"},
        {head + "0 0 0\n1 0 0\n\n", 3, "ends after 2 of 8"},
        {"# nothing here\nTITLE \"x\"\n", 0, "no LUT_3D_SIZE"},
    };
    for (const Case& c : cases) {
        const CubeParseError e = errorOf(c.text);
        EXPECT_EQ(e.lineNumber(), c.line) << c.text;
        EXPECT_NE(e.reason().find(c.reasonPart), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("look.cube"), std::string::npos) << e.what();
    }
}

// Shaper rows come before the table rows; some applications write the 3D table's size after
// them.
TEST(CubeParser, ShaperRowsComeBeforeTheTableRows) {
    const std::string shaperRows = "0 0 0\n0.5 0.25 1\n2 2 2\n";
    const struct {
        std::string text;
        float inputMin;
        float inputMax;
    } cases[] = {
        {"LUT_1D_SIZE 3\nLUT_1D_INPUT_RANGE -0.5 1.5\nLUT_3D_SIZE 2\nLUT_3D_INPUT_RANGE 0 2\n" +
             shaperRows + identityRows("\n"),
         -0.5f, 1.5f},
        {"LUT_1D_SIZE 3\n" + shaperRows + "LUT_3D_SIZE 2\nLUT_3D_INPUT_RANGE 0 2\n" +
             identityRows("\n"),
         0.0f, 1.0f},
    };
    for (const auto& c : cases) {
        const CubeLut lut = parseCubeText(c.text, "log.cube");
        ASSERT_EQ(lut.shaper.size(), 3u) << c.text;
        EXPECT_EQ(lut.shaper.inputMin, c.inputMin) << c.text;
        EXPECT_EQ(lut.shaper.inputMax, c.inputMax) << c.text;
        EXPECT_EQ(lut.shaper.rows[4], 0.25f) << c.text;
        EXPECT_EQ(lut.size, 2) << c.text;
        EXPECT_EQ(lut.domainMax[0], 2.0f) << c.text;
        EXPECT_EQ(lut.domainMax[1], 2.0f) << c.text;
        EXPECT_EQ(nodeValue(lut, 1, 0, 0, 0), 1.0f) << c.text;
    }
}

// Valid .cube files that are not a 3D look are told apart from broken ones, so that another
// reader may take them.
TEST(CubeParser, SaysWhichRefusedFilesAreOtherDialects) {
    const std::string table = "LUT_3D_SIZE 2\n" + identityRows("\n");
    EXPECT_EQ(errorOf("LUT_1D_SIZE 2\n0 0 0\n1 1 1\n").scope(),
              CubeParseError::Scope::otherDialect);
    EXPECT_EQ(errorOf("DOMAIN_MAX 2 2 2\n" + table).scope(), CubeParseError::Scope::otherDialect);
    EXPECT_EQ(errorOf("LUT_1D_SIZE 2\n0 0 0\n").scope(), CubeParseError::Scope::refused);
    EXPECT_EQ(errorOf("LUT_3D_SIZE 2\n0 0 0\n").scope(), CubeParseError::Scope::refused);
}

// A stream that yields `head`, then `fill` repeated without end, and counts what it gave.
class EndlessStream : public std::streambuf {
  public:
    EndlessStream(std::string head, const std::string& fill) : head_(std::move(head)) {
        while (block_.size() < 4096) {
            block_ += fill;
        }
    }
    std::size_t given() const { return given_; }

  protected:
    int_type underflow() override {
        std::string& next = given_ < head_.size() ? head_ : block_;
        setg(next.data(), next.data(), next.data() + next.size());
        given_ += next.size();
        return traits_type::to_int_type(next[0]);
    }

  private:
    std::string head_;
    std::string block_;
    std::size_t given_ = 0;
};

// Memory and time follow the header, not the file: an impossible size, a bad token, a row
// too many or a file with no line ends (/dev/zero) stop the reading at once.
TEST(CubeParser, StopsReadingAtTheFirstUnusableLine) {
    const struct {
        std::string head;
        std::string fill;
        const char* reasonPart;
    } cases[] = {
        {"LUT_3D_SIZE 1000000\n", "0 0 0\n", "from 2 to 255"},
        {"LUT_3D_SIZE 200\n0 0 0\n0 0 x\n", "0 0 0\n", "'x' is not a number"},
        {"", std::string(1, '\0'), "longer than 1024 KB"},
        {"LUT_3D_SIZE 2\n" + identityRows("\n"), "0 0 0\n", "more data lines"},
    };
    for (const auto& c : cases) {
        EndlessStream source(c.head, c.fill);
        std::istream in(&source);
        const CubeParseError e =
            errorFrom([&] { zel::io::parseCubeStream(in, "endless.cube", 4096); });
        EXPECT_NE(e.reason().find(c.reasonPart), std::string::npos) << c.head << e.what();
        EXPECT_LE(source.given(), zel::io::kLongestLine + 16384) << c.head;
    }
}

TEST(CubeParser, ReadingInSmallPiecesGivesTheSameLook) {
    std::string text = "# c\r\nTITLE \"t\"\r\nLUT_3D_SIZE 3\r\n";
    for (int i = 0; i < 27; ++i) {
        text += std::to_string(i) + ".5 -" + std::to_string(i) + "e-3\t+" + std::to_string(i % 5) +
                (i % 7 == 0   ? "\r\n\r\n"
                 : i % 3 == 0 ? "\r"
                              : "\r\n");
    }
    const CubeLut whole = parseCubeText(text, "look.cube");
    for (const std::size_t piece : {16u, 17u, 29u, 64u}) {
        std::istringstream in(text);
        const CubeLut pieces = zel::io::parseCubeStream(in, "look.cube", piece);
        ASSERT_EQ(pieces.nodes.nodeCount(), 27u);
        for (std::size_t v = 0; v < 27 * 4; ++v) {
            EXPECT_EQ(pieces.nodes.data()[v], whole.nodes.data()[v]) << piece << " " << v;
        }
    }
    text.replace(text.find("26.5"), 4, "26,5");
    std::istringstream in(text);
    const CubeParseError e = errorFrom([&] { zel::io::parseCubeStream(in, "look.cube", 16); });
    EXPECT_EQ(e.lineText(), "26,5 -26e-3 +1");
    EXPECT_EQ(e.lineNumber(), 34u);
}

TEST(CubeParser, MessageShowsTheLineSafely) {
    const CubeParseError e = errorOf("LUT_3D_SIZE 2\n0 0 \x1b[2J\n");
    EXPECT_EQ(std::string(e.what()), "look.cube, line 2: \"0 0 ?[2J\": '?[2J' is not a number");
}

// Switches LC_NUMERIC to a comma-decimal locale for its lifetime, compiling one into the
// test's temporary folder when the machine has none installed.
class CommaDecimalLocale {
  public:
    CommaDecimalLocale() {
        const char* current = std::setlocale(LC_NUMERIC, nullptr);
        saved_ = current != nullptr ? current : "C";
        if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr) {
            active_ = true;
            return;
        }
#if !defined(_WIN32)
        // Build the locale where the system has none installed.
        const std::string folder = testing::TempDir() + "zel_locales";
        const std::string command = "mkdir -p '" + folder + "' && localedef -i de_DE -f UTF-8 '" +
                                    folder + "/de_DE.UTF-8' >/dev/null 2>&1";
        if (std::system(command.c_str()) == 0) {
            setenv("LOCPATH", folder.c_str(), 1);
            active_ = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
        }
#else
        active_ = std::setlocale(LC_NUMERIC, "German_Germany.1252") != nullptr;
#endif
    }
    ~CommaDecimalLocale() {
        std::setlocale(LC_NUMERIC, saved_.c_str());
    }
    CommaDecimalLocale(const CommaDecimalLocale&) = delete;
    CommaDecimalLocale& operator=(const CommaDecimalLocale&) = delete;

    bool active() const {
        return active_;
    }

  private:
    std::string saved_;
    bool active_ = false;
};

TEST(CubeParser, CommaDecimalLocaleChangesNothing) {
    std::string text = "LUT_3D_SIZE 2\n";
    for (int i = 0; i < 8; ++i) {
        text += "0.5 0.25 0.125\n";
    }
    const CommaDecimalLocale locale;
    if (!locale.active()) {
        GTEST_SKIP() << "no comma-decimal locale available";
    }
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    const CubeLut lut = parseCubeText(text, "look.cube");
    EXPECT_EQ(nodeValue(lut, 0, 0, 0, 1), 0.25f);
    EXPECT_THROW(parseCubeText("LUT_3D_SIZE 2\n0,5 0 0\n", "look.cube"), CubeParseError);
    std::string written;
    zelgen::appendFloat(written, 0.125f);
    EXPECT_EQ(written, "0.125");
}

// A size-2 node table holding `rows` (eight rows of three floats, in .cube order).
zel::io::NodeTable tableOf(const std::vector<float>& rows) {
    zel::io::NodeTable table(2);
    for (std::size_t n = 0; n < 8; ++n) {
        float* node = table.data() + table.nodeIndex(n & 1, (n >> 1) & 1, n >> 2) * 4;
        std::copy(rows.begin() + static_cast<std::ptrdiff_t>(n * 3),
                  rows.begin() + static_cast<std::ptrdiff_t>(n * 3 + 3), node);
        node[3] = 0.0f;  // a new table's floats are not set
    }
    return table;
}

TEST(CubeWriter, EveryFloatReadsBackExactly) {
    const std::vector<float> rows = {0.1f, 1.0f / 3.0f, 7.006492e-44f, -0.0f, 1e-7f, 65504.0f,
                                     0.2f, 0.30000001f, 0.99999994f,   1.0f,  0.0f,  0.5f,
                                     0.1f, 0.1f,        0.1f,          0.2f,  0.2f,  0.2f,
                                     0.3f, 0.3f,        0.3f,          0.4f,  0.4f,  0.4f};
    const zel::io::NodeTable table = tableOf(rows);
    const std::string text =
        zelgen::formatCubeText("# ZEL: a.zel\r\nTITLE x\r\nLUT_3D_SIZE 2\r\n", 2, table.data());
    const CubeLut lut = parseCubeText(text, "written.cube");
    for (std::size_t v = 0; v < 32; ++v) {
        EXPECT_EQ(std::signbit(lut.nodes.data()[v]), std::signbit(table.data()[v])) << v;
        EXPECT_EQ(lut.nodes.data()[v], table.data()[v]) << "value " << v;
    }
    EXPECT_NE(text.find("\r\n0.1 0.33333334 7e-44\r\n"), std::string::npos) << text;
}

TEST(CubeWriter, HeaderWithoutSizeLineGetsOne) {
    const zel::io::NodeTable table = tableOf(std::vector<float>(24, 0.5f));
    const std::string text = zelgen::formatCubeText("", 2, table.data());
    EXPECT_EQ(text.rfind("LUT_3D_SIZE 2\r\n0.5 0.5 0.5\r\n", 0), 0u);
    EXPECT_EQ(parseCubeText(text, "x.cube").size, 2);
}

}  // namespace
