#include "camera/lut3d_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "camera_blocks.h"

using camera_test::CameraJob;
using camera_test::cubeBlock;
using camera_test::values;
using Bytes = std::vector<std::string>;

namespace {

// The node positions of a first-generation control page.
std::vector<std::uint32_t> nodePositions(const RegisterList& page) {
    std::vector<std::uint32_t> positions;
    for (std::size_t slot = 0; slot < 20; ++slot) {
        positions.push_back(page[0x1C + 4 * slot].valueNumber() |
                            (page[0x1D + 4 * slot].valueNumber() << 8));
    }
    return positions;
}

}  // namespace

TEST(CubeWriter, NodesLandInTheBankOfTheirParities) {
    const std::size_t grid = kFirstGenerationGrid;
    CubeNodes nodes(grid * grid * grid * 3);
    for (std::size_t node = 0; node < grid * grid * grid; ++node) {
        nodes[3 * node] = static_cast<double>(node);  // x + 20 y + 400 z
    }
    const CubeBanks banks = splitBanks(nodes, kFirstGenerationGrid);
    EXPECT_EQ(banks[1][0], 1.0);           // (1, 0, 0): bank 1, position 0
    EXPECT_EQ(banks[0][3 * 1], 2.0);       // (2, 0, 0): bank 0, position 1
    EXPECT_EQ(banks[6][0], 420.0);         // (0, 1, 1): bank 6, position 0
    EXPECT_EQ(banks[0][3 * 111], 842.0);   // (2, 2, 2): bank 0, position 111
    EXPECT_EQ(banks[7][3 * 999], 7999.0);  // (19, 19, 19)
}

TEST(CubeWriter, MemoryWordsSaturateInsteadOfWrapping) {
    EXPECT_EQ(cubeMemoryWord(1.0), 0x2000u);
    EXPECT_EQ(cubeMemoryWord(65535.0 / 8192.0), 0xFFFFu);
    // 8.0048 would keep the last four digits of 10027 and read as 0.0048.
    EXPECT_EQ(cubeMemoryWord(8.0048), 0xFFFFu);
    EXPECT_EQ(cubeMemoryWord(254.9), 0xFFFFu);
    EXPECT_EQ(cubeMemoryWord(255.0), 0xE000u);
    EXPECT_EQ(cubeMemoryWord(1e12), 0xE000u);
    EXPECT_EQ(cubeMemoryWord(-0.25), 0u);
    EXPECT_EQ(cubeMemoryWord(std::nan("")), 0u);
}

TEST(CubeWriter, LookValuesBeyondTheWordSaturateWhilePaddingStaysE000) {
    ParamCube cube;
    cube.size = 2;
    cube.values.assign(2 * 2 * 2 * 3, 0.5);
    cube.values[0] = 8.0048;  // node (0, 0, 0) red
    cube.values[1] = 255.0;   // a look value, not padding
    cube.values[2] = 1e9;
    const ParamHeader header = {2, 3, 0, 0, 0};
    const CubeBanks banks =
        splitBanks(embedCube(kFirstGenerationGrid, cube, header), kFirstGenerationGrid);
    EXPECT_EQ(cubeMemoryWord(banks[0][0]), 0xFFFFu);
    EXPECT_EQ(cubeMemoryWord(banks[0][1]), 0xFFFFu);
    EXPECT_EQ(cubeMemoryWord(banks[0][2]), 0xFFFFu);
    EXPECT_EQ(cubeMemoryWord(banks[0][3]), 0xE000u);  // node (2, 0, 0) lies past the look
}

TEST(CubeWriter, SmallCubeIsPaddedIntoTheFirstGenerationGrid) {
    CameraJob job(0, "CAMB-001", {cubeBlock(0, 17)});
    const RegisterGroup& data = job.iniBuf.group(45);
    long padding = 0;  // high bytes E0: the padding nodes of all three channels
    for (const RegisterList& list : data) {
        padding += std::count_if(list.begin(), list.end(),
                                 [](const RegisterEntry& e) { return e.valueView() == "E0"; });
    }
    EXPECT_EQ(padding, 3087 * 3);
    // Grid node (x, y, z) = (2, 0, 4), bank 0 position 201, is the cube's node with red
    // index 4 and blue index 2: channel 0 holds 0.04 (word 0148), channel 2 0.02 (00A4).
    EXPECT_EQ(values(data[0], 2 * 201, 2), (Bytes{"48", "01"}));
    EXPECT_EQ(values(data[16], 2 * 201, 2), (Bytes{"A4", "00"}));
    EXPECT_EQ(data[0][2 * 9 + 1], RegisterEntry("A013", "E0"));  // node (18, 0, 0) is padding
    EXPECT_EQ(data[0][1999].address(), "A7CF");
    EXPECT_EQ(job.iniBuf.list(43)[0], RegisterEntry("0409", "01"));
    EXPECT_EQ(job.iniBuf.list(46)[0], RegisterEntry("0409", "00"));
    EXPECT_EQ(job.iniBuf.group(44)[23][0], RegisterEntry("040A", "27"));
}

TEST(CubeWriter, FirstGenerationFixedPagePerSourceEncoding) {
    const std::pair<std::uint8_t, Bytes> cases[] = {
        {0, {"F8", "02"}}, {1, {"F8", "02"}}, {2, {"00", "00"}}, {3, {"55", "02"}}};
    for (const auto& [encoding, first] : cases) {
        CameraJob job(0, "CAMB-001", {cubeBlock(1, 17)}, encoding);
        const RegisterList& page = job.iniBuf.list(47);
        ASSERT_EQ(page.size(), 108u);
        EXPECT_EQ(values(page, 0, 4), (Bytes{"00", "00", "07", "00"}));
        EXPECT_EQ(values(page, 0x1C, 2), first) << int{encoding};
        EXPECT_EQ(nodePositions(page).back(), encoding == 0 || encoding == 1 ? 7118u : 6209u);
    }
    CameraJob other(0, "CAMB-001", {cubeBlock(0, 17)}, 4);
    EXPECT_TRUE(camera_test::untouched(other.iniBuf.list(42)));
}

TEST(CubeWriter, ComputedPageSpreadsTheCubeNodes) {
    CameraJob job(0, "CAMB-001", {cubeBlock(0, 17, 1)});
    const RegisterList& page = job.iniBuf.list(42);
    EXPECT_EQ(values(page, 0, 4), (Bytes{"03", "00", "07", "01"}));
    const auto positions = nodePositions(page);
    EXPECT_EQ(positions[15], 15u * 512);
    EXPECT_EQ(positions[16], 8191u);
    EXPECT_EQ(positions[17], 0u);
    EXPECT_EQ(values(page, 0x20, 4), (Bytes{"00", "02", "00", "00"}));

    // More nodes than the page has slots: the first 20 are spread over the axis.
    CameraJob large(0, "CAMB-001", {cubeBlock(0, 33, 1)});
    EXPECT_EQ(nodePositions(large.iniBuf.list(42))[1], 431u);  // 8192 / 19 = 431.2
    EXPECT_EQ(nodePositions(large.iniBuf.list(42))[19], 8191u);
}

TEST(CubeWriter, SecondGenerationUsesTheFixedPageAndWrapsTheWindow) {
    CameraJob job(zel::kSecondGeneration, "CAMB-002", {cubeBlock(2, 34, 1)});
    const RegisterList& page = job.iniBuf.list(52);
    ASSERT_EQ(page.size(), 28u);
    const Bytes expected = {"03", "00", "07", "00", "0D", "22", "00", "00", "00", "00",
                            "00", "00", "F1", "C1", "07", "00", "00", "00", "00", "00",
                            "00", "00", "00", "00", "00", "00", "00", "00"};
    EXPECT_EQ(values(page), expected);
    const RegisterList& last = job.iniBuf.group(55)[23];
    ASSERT_EQ(last.size(), 9826u);
    EXPECT_EQ(last[4096].address(), "A000");
    EXPECT_EQ(last[9825].address(), "AFFF");
    // Channel 2 of bank 7's last node (33, 33, 33) is 0.33: word 0x0A8F.
    EXPECT_EQ(last[9824].value(), "8F");
    EXPECT_EQ(last[9825].value(), "0A");
    EXPECT_TRUE(camera_test::untouched(job.iniBuf.group(45)[0]));
}
