// The exported .cube reader: what hosts that load a look through it can rely on.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "zel/read_files.h"

namespace {

using Table = std::vector<std::vector<double>>;

// A .cube file in the test's temporary folder, removed when the test ends.
class CubeFile {
  public:
    explicit CubeFile(const std::string& text)
        : path_(testing::TempDir() + "reader_" +
                testing::UnitTest::GetInstance()->current_test_info()->name() + ".cube") {
        std::ofstream out(path_, std::ios::binary);
        out << text;
    }
    ~CubeFile() { std::remove(path_.c_str()); }
    CubeFile(const CubeFile&) = delete;
    CubeFile& operator=(const CubeFile&) = delete;

    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

struct ReadResult {
    bool ok = false;
    Table table{{9.0, 9.0, 9.0}};
    int rowCount = -1;
    int size = -1;
};

ReadResult read(const std::string& text) {
    CubeFile file(text);
    ReadResult r;
    r.ok = ReadFiles::readCubeFile(file.path(), r.table, r.rowCount, r.size);
    return r;
}

// Eight rows of a size-2 cube, each line ended by `eol`.
std::string twoCubeRows(const std::string& eol) {
    std::string rows;
    for (int n = 0; n < 8; ++n) {
        rows += std::to_string(n) + " 0.5 0.25" + eol;
    }
    return rows;
}

TEST(CubeReader, ReadsHeaderLinesThenRowsInFileOrderWhateverTheLineEnds) {
    const ReadResult lf =
        read("# ZEL: a.zel\nTITLE Q-Enc3/Q-Prims3 to a\nLUT_3D_SIZE 2\n" + twoCubeRows("\n"));
    EXPECT_TRUE(lf.ok);
    EXPECT_EQ(lf.size, 2);
    EXPECT_EQ(lf.rowCount, 8);
    ASSERT_EQ(lf.table.size(), 8u);
    for (std::size_t n = 0; n < 8; ++n) {
        EXPECT_EQ(lf.table[n], (std::vector<double>{double(n), 0.5, 0.25})) << "row " << n;
    }
    const ReadResult crlf = read("TITLE x\r\nLUT_3D_SIZE 2\r\n" + twoCubeRows("\r\n"));
    EXPECT_TRUE(crlf.ok);
    EXPECT_EQ(crlf.table, lf.table);
}

// How the reader's line handling decides success, the size, the row count and the rows.
TEST(CubeReader, LineHandlingDecidesSizeRowsAndSuccess) {
    const struct {
        std::string text;
        bool ok;
        int size;
        int rowCount;
        std::size_t tableSize;
        std::size_t row;  // the row compared with `values`
        std::vector<double> values;
    } cases[] = {
        // A fractional size is truncated; one data line of 4913 fails.
        {"LUT_3D_SIZE 17.9\n0 0 0\n", false, 17, 1, 4913, 0, {0, 0, 0}},
        // Blank lines among the rows are skipped and not counted.
        {"LUT_3D_SIZE 2\n\n1 2 3\n\n\n" + twoCubeRows("\n") + "\n", true, 2, 8, 8, 0, {1, 2, 3}},
        // A tab is no separator: the first number is read and the rest ignored.
        {"LUT_3D_SIZE 1\n0.5\t0.25\t0.125\n", true, 1, 1, 1, 0, {0.5, 0, 0}},
        // A short line leaves the remaining columns at zero and still counts.
        {"LUT_3D_SIZE 1\n0.5 0.25\n", true, 1, 1, 1, 0, {0.5, 0.25, 0}},
        // A space at the end of a line separates nothing.
        {"LUT_3D_SIZE 1\n0.5 0.25 0.125 \n", true, 1, 1, 1, 0, {0.5, 0.25, 0.125}},
        {"LUT_3D_SIZE 1\n0.5 \r\n", true, 1, 1, 1, 0, {0.5, 0, 0}},
        // A keyword before the size line is ignored.
        {"DOMAIN_MIN 0 0 0\nLUT_3D_SIZE 1\n0 0 0\n", true, 1, 1, 1, 0, {0, 0, 0}},
        // An indented size line is no size line: the table stays untouched.
        {"  LUT_3D_SIZE 2\n0 0 0\n", true, -1, 0, 1, 0, {9, 9, 9}},
        // A short file keeps zeros in the missing rows and fails.
        {"LUT_3D_SIZE 2\n1 1 1\n2 2 2\n", false, 2, 2, 8, 7, {0, 0, 0}},
        // Lines beyond the expected count are not read.
        {"LUT_3D_SIZE 1\n1 1 1\nnot a number\n", true, 1, 1, 1, 0, {1, 1, 1}},
        // Size 0 consumes one line and fails.
        {"LUT_3D_SIZE 0\n1 1 1\n2 2 2\n", false, 0, 1, 0, 0, {}},
    };
    for (const auto& c : cases) {
        const ReadResult r = read(c.text);
        EXPECT_EQ(r.ok, c.ok) << c.text;
        EXPECT_EQ(r.size, c.size) << c.text;
        EXPECT_EQ(r.rowCount, c.rowCount) << c.text;
        ASSERT_EQ(r.table.size(), c.tableSize) << c.text;
        if (!c.values.empty()) {
            EXPECT_EQ(r.table[c.row], c.values) << c.text;
        }
    }
}

TEST(CubeReader, LeadingOrDoubledSpaceOrAKeywordAmongRowsIsAnInvalidArgument) {
    for (const char* rows :
         {" 0.5 0.25 0.125\n", "0.5  0.25 0.125\n", "DOMAIN_MIN 0 0 0\n0 0 0\n"}) {
        CubeFile file(std::string("LUT_3D_SIZE 1\n") + rows);
        Table table;
        int rowCount = -1;
        int size = -1;
        try {
            ReadFiles::readCubeFile(file.path(), table, rowCount, size);
            ADD_FAILURE() << "no exception for '" << rows << "'";
        } catch (const std::invalid_argument& e) {
            EXPECT_STREQ(e.what(), "invalid stod argument");
        }
        EXPECT_EQ(size, 1);
        EXPECT_EQ(rowCount, -1) << "rowCount is written only when the data pass ends";
    }
}

TEST(CubeReader, SizeOutsideZeroTo256IsALengthErrorWithTheTableUntouched) {
    for (const char* text : {"-1", "257", "2000000", "1e300", "-inf"}) {
        CubeFile file(std::string("LUT_3D_SIZE ") + text + "\n0 0 0\n");
        Table table{{9, 9, 9}};
        int rowCount = -1;
        int size = 0;
        EXPECT_THROW(ReadFiles::readCubeFile(file.path(), table, rowCount, size), std::length_error)
            << text;
        EXPECT_NE(size, 0) << text << ": size is written before the check";
        EXPECT_EQ(table.size(), 1u) << text;
        EXPECT_EQ(rowCount, -1) << text;
    }
}

TEST(CubeReader, SizeLineWithoutANumberOrOutOfRangeThrowsTheStandardErrors) {
    EXPECT_THROW(read("LUT_3D_SIZE\n"), std::invalid_argument);
    EXPECT_THROW(read("LUT_3D_SIZE nan\n"), std::invalid_argument);
    try {
        read("LUT_3D_SIZE 1\n1e999 0 0\n");
        ADD_FAILURE() << "no exception";
    } catch (const std::out_of_range& e) {
        EXPECT_STREQ(e.what(), "stod argument out of range");
    }
}

TEST(CubeReader, MissingFileOrFolderFailsWithOutputsUnchangedAndOneErrorLine) {
    // A folder opens as a stream on some systems but holds no text to read.
    for (const std::string& path :
         {testing::TempDir() + "no_such_dir/none.cube", testing::TempDir()}) {
        Table table{{9, 9, 9}};
        int rowCount = -1;
        int size = -1;
        testing::internal::CaptureStderr();
        const bool ok = ReadFiles::readCubeFile(path, table, rowCount, size);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "Failed to open file.\n") << path;
        EXPECT_FALSE(ok) << path;
        EXPECT_EQ(table.size(), 1u);
        EXPECT_EQ(rowCount, -1);
        EXPECT_EQ(size, -1);
    }
}

}  // namespace
