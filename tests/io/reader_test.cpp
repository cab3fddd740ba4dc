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

TEST(CubeReader, ReadsHeaderLinesThenRowsInFileOrder) {
    const ReadResult r =
        read("# ZEL: a.zel\nTITLE Q-Enc3/Q-Prims3 to a\nLUT_3D_SIZE 2\n" + twoCubeRows("\n"));
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.size, 2);
    EXPECT_EQ(r.rowCount, 8);
    ASSERT_EQ(r.table.size(), 8u);
    for (std::size_t n = 0; n < 8; ++n) {
        EXPECT_EQ(r.table[n], (std::vector<double>{double(n), 0.5, 0.25})) << "row " << n;
    }
}

TEST(CubeReader, CarriageReturnLineEndsReadLikeLineFeeds) {
    const ReadResult crlf = read("TITLE x\r\nLUT_3D_SIZE 2\r\n" + twoCubeRows("\r\n"));
    const ReadResult lf = read("TITLE x\nLUT_3D_SIZE 2\n" + twoCubeRows("\n"));
    EXPECT_TRUE(crlf.ok);
    EXPECT_EQ(crlf.size, 2);
    EXPECT_EQ(crlf.table, lf.table);
}

TEST(CubeReader, FractionalSizeIsTruncated) {
    const ReadResult r = read("LUT_3D_SIZE 17.9\n0 0 0\n");
    EXPECT_EQ(r.size, 17);
    EXPECT_EQ(r.table.size(), 4913u);
    EXPECT_EQ(r.rowCount, 1);
    EXPECT_FALSE(r.ok);
}

TEST(CubeReader, BlankLinesAmongRowsAreSkippedAndNotCounted) {
    const ReadResult r = read("LUT_3D_SIZE 2\n\n1 2 3\n\n\n" + twoCubeRows("\n") + "\n");
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.rowCount, 8);
    EXPECT_EQ(r.table[0], (std::vector<double>{1, 2, 3}));
}

TEST(CubeReader, OnlySingleSpacesSeparateNumbers) {
    // A tab is no separator: the conversion reads the first number and ignores the rest.
    ReadResult tabs = read("LUT_3D_SIZE 1\n0.5\t0.25\t0.125\n");
    EXPECT_TRUE(tabs.ok);
    EXPECT_EQ(tabs.table[0], (std::vector<double>{0.5, 0, 0}));
    // A short line leaves the remaining columns at zero and still counts.
    ReadResult two = read("LUT_3D_SIZE 1\n0.5 0.25\n");
    EXPECT_TRUE(two.ok);
    EXPECT_EQ(two.table[0], (std::vector<double>{0.5, 0.25, 0}));
}

TEST(CubeReader, LeadingOrDoubledSpaceIsAnInvalidArgument) {
    for (const char* line : {" 0.5 0.25 0.125\n", "0.5  0.25 0.125\n"}) {
        CubeFile file(std::string("LUT_3D_SIZE 1\n") + line);
        Table table;
        int rowCount = -1;
        int size = -1;
        try {
            ReadFiles::readCubeFile(file.path(), table, rowCount, size);
            ADD_FAILURE() << "no exception for '" << line << "'";
        } catch (const std::invalid_argument& e) {
            EXPECT_STREQ(e.what(), "invalid stod argument");
        }
        EXPECT_EQ(size, 1);
        EXPECT_EQ(rowCount, -1) << "rowCount is written only when the data pass ends";
    }
}

TEST(CubeReader, KeywordIsIgnoredBeforeTheSizeLineAndRejectedAfterIt) {
    EXPECT_TRUE(read("DOMAIN_MIN 0 0 0\nLUT_3D_SIZE 1\n0 0 0\n").ok);
    EXPECT_THROW(read("LUT_3D_SIZE 1\nDOMAIN_MIN 0 0 0\n0 0 0\n"), std::invalid_argument);
}

TEST(CubeReader, IndentedSizeLineIsNotASizeLine) {
    const ReadResult r = read("  LUT_3D_SIZE 2\n0 0 0\n");
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.rowCount, 0);
    EXPECT_EQ(r.size, -1);
    EXPECT_EQ(r.table.size(), 1u) << "the table stays untouched";
}

TEST(CubeReader, ShortFileKeepsZerosAndFails) {
    const ReadResult r = read("LUT_3D_SIZE 2\n1 1 1\n2 2 2\n");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.rowCount, 2);
    EXPECT_EQ(r.table[1], (std::vector<double>{2, 2, 2}));
    EXPECT_EQ(r.table[7], (std::vector<double>{0, 0, 0}));
}

TEST(CubeReader, LinesBeyondTheExpectedCountAreNotRead) {
    const ReadResult r = read("LUT_3D_SIZE 1\n1 1 1\nnot a number\n");
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.rowCount, 1);
}

TEST(CubeReader, SizeZeroConsumesOneLineAndFails) {
    const ReadResult r = read("LUT_3D_SIZE 0\n1 1 1\n2 2 2\n");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.size, 0);
    EXPECT_EQ(r.rowCount, 1);
    EXPECT_TRUE(r.table.empty());
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

TEST(CubeReader, MissingFileFailsWithOutputsUnchangedAndOneErrorLine) {
    Table table{{9, 9, 9}};
    int rowCount = -1;
    int size = -1;
    testing::internal::CaptureStderr();
    const bool ok = ReadFiles::readCubeFile(testing::TempDir() + "no_such_dir/none.cube", table,
                                            rowCount, size);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Failed to open file.\n");
    EXPECT_FALSE(ok);
    EXPECT_EQ(table.size(), 1u);
    EXPECT_EQ(rowCount, -1);
    EXPECT_EQ(size, -1);
}

}  // namespace
