// The exported interface as a host sees it: this program links the shared library
// (zel.dll through its import library on Windows, libzel.so elsewhere), so every call
// below crosses the library boundary, and memory, threads and files change hands there.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "zel/zel.h"

namespace {

std::string scratchPath(const std::string& name) {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    return ::testing::TempDir() + "zel_boundary_" + test->name() + "_" + name;
}

// Writes bytes as they are: the stream is binary, so "\r\n" stays two bytes on Windows.
void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

struct CubeResult {
    bool ok = false;
    std::vector<std::vector<double>> table{{-1.0, -1.0, -1.0}};
    int rowCount = -1;
    int size = -1;
};

CubeResult readCube(const std::string& path) {
    CubeResult r;
    r.ok = ReadFiles::readCubeFile(path, r.table, r.rowCount, r.size);
    return r;
}

}  // namespace

TEST(LibraryBoundary, GeneratorRunsFailingJobsOnBothThreadsAndReportsError) {
    auto generator = std::make_unique<ZelGenerator>();
    EXPECT_EQ(generator->zel_get_status(), ZelEnum::ZEL_STATUS_NONE);
    generator->zel_initialize();
    EXPECT_EQ(generator->zel_get_status(), ZelEnum::ZEL_STATUS_READY);

    // No camera model: the job stops with the error status instead of throwing.
    auto input = std::make_unique<ZelGenInput>();
    auto output = std::make_unique<ZelGenOutput>();
    generator->zel_exec(*input, *output);
    EXPECT_EQ(generator->zel_get_status(), ZelEnum::ZEL_STATUS_ERROR);

    // The same job on the worker thread the library starts.
    generator->zel_initialize();
    auto extended = std::make_unique<ZelGenOutputExtended>();
    generator->zel_exec_async(*input, *extended);
    generator->zel_finalize();
    EXPECT_EQ(generator->zel_get_status(), ZelEnum::ZEL_STATUS_ERROR);
    generator->zel_finalize();  // a second finalize has no worker left to wait for
}

TEST(LibraryBoundary, DestroyingGeneratorWaitsForItsWorker) {
    auto input = std::make_unique<ZelGenInput>();
    auto output = std::make_unique<ZelGenOutput>();
    auto generator = std::make_unique<ZelGenerator>();
    generator->zel_initialize();
    generator->zel_exec_async(*input, *output);
    generator.reset();  // joins the worker before the records go away
    SUCCEED();
}

TEST(LibraryBoundary, ExtendedOutputBuffersChangeHandsBetweenHostAndLibrary) {
    // Built by the library, grown and filled by the host, copied and moved by the
    // library, released by either: both sides must share one heap.
    auto original = std::make_unique<ZelGenOutputExtended>();
    ASSERT_EQ(original->lutData.size(), ZelGenOutputExtended::kLutDataCapacity);
    original->lutData.resize(original->lutData.size() + 1000, 0x5A);
    original->lutDataSize = 12345;
    original->cubeHeader[0] = 'T';

    auto copy = std::make_unique<ZelGenOutputExtended>(*original);
    EXPECT_EQ(copy->lutData, original->lutData);
    EXPECT_EQ(copy->lutDataSize, 12345u);
    EXPECT_EQ(copy->cubeHeader[0], 'T');

    auto moved = std::make_unique<ZelGenOutputExtended>();
    *moved = std::move(*copy);
    EXPECT_EQ(moved->lutData.size(), ZelGenOutputExtended::kLutDataCapacity + 1000);
    EXPECT_EQ(moved->lutData.back(), 0x5A);
    copy.reset();
    original.reset();
    moved->lutData.clear();
    moved->lutData.shrink_to_fit();
}

TEST(LibraryBoundary, CubeReaderReadsCrLfFileLikeLfFile) {
    const std::string lines[] = {"TITLE \"boundary\"",
                                 "# comment",
                                 "LUT_3D_SIZE 2",
                                 "0 0 0",
                                 "1 0 0",
                                 "0 1 0",
                                 "1 1 0",
                                 "0 0 1",
                                 "1 0 1",
                                 "0 1 1",
                                 "0.5 0.25 0.125"};
    std::string lf;
    std::string crlf;
    for (const auto& line : lines) {
        lf += line + "\n";
        crlf += line + "\r\n";
    }
    writeBytes(scratchPath("lf.cube"), lf);
    writeBytes(scratchPath("crlf.cube"), crlf);

    const CubeResult fromLf = readCube(scratchPath("lf.cube"));
    const CubeResult fromCrLf = readCube(scratchPath("crlf.cube"));
    EXPECT_EQ(fromCrLf.ok, fromLf.ok);
    EXPECT_EQ(fromCrLf.size, fromLf.size);
    EXPECT_EQ(fromCrLf.rowCount, fromLf.rowCount);
    EXPECT_EQ(fromCrLf.table, fromLf.table);
    std::remove(scratchPath("lf.cube").c_str());
    std::remove(scratchPath("crlf.cube").c_str());
}

TEST(LibraryBoundary, CubeReaderLeavesOutputsAloneForMissingFile) {
    const CubeResult r = readCube(scratchPath("missing.cube"));
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.size, -1);
    EXPECT_EQ(r.rowCount, -1);
    EXPECT_EQ(r.table, (std::vector<std::vector<double>>{{-1.0, -1.0, -1.0}}));
}

// An exception the library throws reaches the host as the standard type: each side has
// its own copy of the C++ runtime, so this rests on unwinding and type matching across
// the DLL boundary.
TEST(LibraryBoundary, CubeReaderErrorsReachTheHostAsStandardExceptions) {
    writeBytes(scratchPath("bad.cube"), "LUT_3D_SIZE x\r\n");
    std::vector<std::vector<double>> table;
    int rowCount = 0;
    int size = 0;
    EXPECT_THROW(ReadFiles::readCubeFile(scratchPath("bad.cube"), table, rowCount, size),
                 std::invalid_argument);
    std::remove(scratchPath("bad.cube").c_str());
}

TEST(LibraryBoundary, CubeReaderFillsHostTableFromCrLfFile) {
    writeBytes(scratchPath("look.cube"),
               "LUT_3D_SIZE 2\r\n0 0 0\r\n1 0 0\r\n0 1 0\r\n1 1 0\r\n"
               "0 0 1\r\n1 0 1\r\n0 1 1\r\n0.5 0.25 0.125\r\n");
    const CubeResult r = readCube(scratchPath("look.cube"));
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.size, 2);
    EXPECT_EQ(r.rowCount, 8);
    ASSERT_EQ(r.table.size(), 8u);
    EXPECT_EQ(r.table[1], (std::vector<double>{1.0, 0.0, 0.0}));
    EXPECT_EQ(r.table[7], (std::vector<double>{0.5, 0.25, 0.125}));
    std::remove(scratchPath("look.cube").c_str());
}
