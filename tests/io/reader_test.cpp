// The exported .cube reader: what hosts that load a look through it can rely on.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/cube_reader_call.h"

namespace {

using zeltest::CubeReaderCall;
using zeltest::readCubeText;

// Eight rows of a size-2 cube, each line ended by `eol`.
std::string twoCubeRows(const std::string& eol) {
    std::string rows;
    for (int n = 0; n < 8; ++n) {
        rows += std::to_string(n) + " 0.5 0.25" + eol;
    }
    return rows;
}

TEST(CubeReader, ReadsHeaderLinesThenRowsInFileOrderWhateverTheLineEnds) {
    const CubeReaderCall lf = readCubeText(
        "# ZEL: a.zel\nTITLE Q-Enc3/Q-Prims3 to a\nLUT_3D_SIZE 2\n" + twoCubeRows("\n"));
    EXPECT_EQ(lf.outcome, "true");
    EXPECT_EQ(lf.err, "");
    EXPECT_EQ(lf.size, 2);
    EXPECT_EQ(lf.rowCount, 8);
    ASSERT_EQ(lf.table.size(), 8u);
    for (std::size_t n = 0; n < 8; ++n) {
        EXPECT_EQ(lf.table[n], (std::vector<double>{double(n), 0.5, 0.25})) << "row " << n;
    }
    const CubeReaderCall crlf = readCubeText("TITLE x\r\nLUT_3D_SIZE 2\r\n" + twoCubeRows("\r\n"));
    EXPECT_EQ(crlf.outcome, "true");
    EXPECT_EQ(crlf.table, lf.table);
}

// How the reader's line handling decides the result or the exception, the size, the row
// count and the rows.
TEST(CubeReader, LineHandlingDecidesSizeRowsAndSuccess) {
    const std::string noNumber = "invalid_argument invalid stod argument";
    const std::string badSize = "length_error LUT_3D_SIZE out of range";
    const struct {
        std::string text;
        std::string outcome;
        int size;
        int rowCount;
        std::size_t tableSize;
        std::size_t row;  // the row compared with `values`
        std::vector<double> values;
    } cases[] = {
        // A fractional size is truncated; one data line of 4913 fails.
        {"LUT_3D_SIZE 17.9\n0 0 0\n", "false", 17, 1, 4913, 0, {0, 0, 0}},
        // Blank lines among the rows are skipped and not counted.
        {"LUT_3D_SIZE 2\n\n1 2 3\n\n\n" + twoCubeRows("\n") + "\n", "true", 2, 8, 8, 0, {1, 2, 3}},
        // A tab is no separator: the first number is read and the rest ignored.
        {"LUT_3D_SIZE 1\n0.5\t0.25\t0.125\n", "true", 1, 1, 1, 0, {0.5, 0, 0}},
        // A short line leaves the remaining columns at zero and still counts.
        {"LUT_3D_SIZE 1\n0.5 0.25\n", "true", 1, 1, 1, 0, {0.5, 0.25, 0}},
        // A space at the end of a line separates nothing.
        {"LUT_3D_SIZE 1\n0.5 0.25 0.125 \n", "true", 1, 1, 1, 0, {0.5, 0.25, 0.125}},
        {"LUT_3D_SIZE 1\n0.5 \r\n", "true", 1, 1, 1, 0, {0.5, 0, 0}},
        // A keyword before the size line is ignored.
        {"DOMAIN_MIN 0 0 0\nLUT_3D_SIZE 1\n0 0 0\n", "true", 1, 1, 1, 0, {0, 0, 0}},
        // An indented size line is no size line: the table stays untouched.
        {"  LUT_3D_SIZE 2\n0 0 0\n", "true", -1, 0, 1, 0, {9, 9, 9}},
        // A short file keeps zeros in the missing rows and fails.
        {"LUT_3D_SIZE 2\n1 1 1\n2 2 2\n", "false", 2, 2, 8, 7, {0, 0, 0}},
        // Lines beyond the expected count are not read.
        {"LUT_3D_SIZE 1\n1 1 1\nnot a number\n", "true", 1, 1, 1, 0, {1, 1, 1}},
        // Size 0 consumes one line and fails.
        {"LUT_3D_SIZE 0\n1 1 1\n2 2 2\n", "false", 0, 1, 0, 0, {}},
        // A leading or doubled space, or a keyword among the rows, makes an empty token; the
        // row count is written only when the data pass ends.
        {"LUT_3D_SIZE 1\n 0.5 0.25 0.125\n", noNumber, 1, -1, 1, 0, {0, 0, 0}},
        {"LUT_3D_SIZE 1\n0.5  0.25 0.125\n", noNumber, 1, -1, 1, 0, {0.5, 0, 0}},
        {"LUT_3D_SIZE 1\nDOMAIN_MIN 0 0 0\n0 0 0\n", noNumber, 1, -1, 1, 0, {0, 0, 0}},
        // A size outside 0 to 256 is refused with the table untouched; the size is written
        // before the check.
        {"LUT_3D_SIZE -1\n0 0 0\n", badSize, -1, -1, 1, 0, {9, 9, 9}},
        {"LUT_3D_SIZE 257\n0 0 0\n", badSize, 257, -1, 1, 0, {9, 9, 9}},
        {"LUT_3D_SIZE 2000000\n0 0 0\n", badSize, 2000000, -1, 1, 0, {9, 9, 9}},
        {"LUT_3D_SIZE 1e300\n0 0 0\n", badSize, 2147483647, -1, 1, 0, {9, 9, 9}},
        {"LUT_3D_SIZE -inf\n0 0 0\n", badSize, -2147483647 - 1, -1, 1, 0, {9, 9, 9}},
        // A size line without a number, and a value beyond the double range.
        {"LUT_3D_SIZE\n", noNumber, -1, -1, 1, 0, {9, 9, 9}},
        {"LUT_3D_SIZE nan\n", noNumber, -1, -1, 1, 0, {9, 9, 9}},
        {"LUT_3D_SIZE 1\n1e999 0 0\n",
         "out_of_range stod argument out of range",
         1,
         -1,
         1,
         0,
         {0, 0, 0}},
    };
    for (const auto& c : cases) {
        const CubeReaderCall r = readCubeText(c.text);
        EXPECT_EQ(r.outcome, c.outcome) << c.text;
        EXPECT_EQ(r.err, "") << c.text;
        EXPECT_EQ(r.size, c.size) << c.text;
        EXPECT_EQ(r.rowCount, c.rowCount) << c.text;
        ASSERT_EQ(r.table.size(), c.tableSize) << c.text;
        if (!c.values.empty()) {
            EXPECT_EQ(r.table[c.row], c.values) << c.text;
        }
    }
}

TEST(CubeReader, MissingFileOrFolderFailsWithOutputsUnchangedAndOneErrorLine) {
    // A folder opens as a stream on some systems but holds no text to read.
    for (const std::string& path :
         {testing::TempDir() + "no_such_dir/none.cube", testing::TempDir()}) {
        const CubeReaderCall r = zeltest::callCubeReader(path);
        EXPECT_EQ(r.outcome, "false") << path;
        EXPECT_EQ(r.err, "Failed to open file.\n") << path;
        EXPECT_EQ(r.table, (std::vector<std::vector<double>>{{9, 9, 9}}));
        EXPECT_EQ(r.rowCount, -1);
        EXPECT_EQ(r.size, -1);
    }
}

}  // namespace
