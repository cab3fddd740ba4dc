// The lattice a job gets: a plain table as it is; a shaper and its 3D table, or another grid
// size, sampled onto the look's lattice.

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "cube_reader/cube_parser.h"
#include "cube_reader/look_lattice.h"

namespace {

using zel::io::NodeTable;

float at(const NodeTable& table, std::size_t i, std::size_t j, std::size_t k, std::size_t c) {
    return table.data()[table.nodeIndex(i, j, k) * 4 + c];
}

// Size-2 table rows whose outputs are (f(r,g,b)...) at the corners, in .cube order.
template <typename F>
std::string cornerRows(F f) {
    std::string rows;
    for (int b = 0; b < 2; ++b) {
        for (int g = 0; g < 2; ++g) {
            for (int r = 0; r < 2; ++r) {
                const auto out = f(r, g, b);
                rows += std::to_string(out[0]) + " " + std::to_string(out[1]) + " " +
                        std::to_string(out[2]) + "\n";
            }
        }
    }
    return rows;
}

const std::string kIdentityRows = cornerRows([](int r, int g, int b) {
    return std::array<int, 3>{r, g, b};
});

TEST(LookLattice, PlainTableAtItsOwnSizeIsHandedOverUnchanged) {
    zel::io::CubeLut lut = zel::io::parseCubeText("LUT_3D_SIZE 2\n" + kIdentityRows, "a.cube");
    const float* values = lut.nodes.data();
    const NodeTable lattice = zel::io::lookLattice(std::move(lut));
    EXPECT_EQ(lattice.data(), values);
}

TEST(LookLattice, ShaperIsLinearBetweenItsEntriesOverItsInputRange) {
    // Input 0 to 2 over three entries: input x reads entry x, so the lattice's inputs 0, 0.5
    // and 1 give entry 0, halfway to entry 1, and entry 1.
    zel::io::CubeLut lut = zel::io::parseCubeText(
        "LUT_1D_SIZE 3\nLUT_1D_INPUT_RANGE 0 2\nLUT_3D_SIZE 2\n0 0 0\n0.5 0.6 0.7\n1 1 1\n" +
            kIdentityRows,
        "log.cube");
    const NodeTable lattice = zel::io::lookLattice(std::move(lut));
    ASSERT_EQ(lattice.size(), 2);
    EXPECT_FLOAT_EQ(at(lattice, 1, 0, 1, 0), 0.5f);
    EXPECT_FLOAT_EQ(at(lattice, 1, 0, 1, 1), 0.0f);
    EXPECT_FLOAT_EQ(at(lattice, 1, 0, 1, 2), 0.7f);
    const NodeTable finer = zel::io::lookLattice(
        zel::io::parseCubeText("LUT_1D_SIZE 3\nLUT_1D_INPUT_RANGE 0 2\nLUT_3D_SIZE 2\n0 0 0\n"
                               "0.5 0.6 0.7\n1 1 1\n" +
                                   kIdentityRows,
                               "log.cube"),
        3);
    EXPECT_FLOAT_EQ(at(finer, 1, 1, 1, 0), 0.25f);
    EXPECT_FLOAT_EQ(at(finer, 1, 2, 0, 1), 0.6f);
    EXPECT_FLOAT_EQ(at(finer, 2, 0, 1, 2), 0.35f);
    EXPECT_EQ(at(finer, 2, 2, 2, 3), 0.0f);
}

TEST(LookLattice, ShaperOutputIsPlacedInTheTablesDomainAndClamped) {
    // The shaper doubles its input (clamped at 1.5 by its last entry); the table spans 0 to 2
    // and outputs ten times its input.
    const std::string rows = cornerRows([](int r, int g, int b) {
        return std::array<int, 3>{20 * r, 20 * g, 20 * b};
    });
    const NodeTable lattice = zel::io::lookLattice(
        zel::io::parseCubeText("LUT_1D_SIZE 2\nLUT_1D_INPUT_RANGE 0 0.75\nLUT_3D_SIZE 2\n"
                               "LUT_3D_INPUT_RANGE 0 2\n0 0 0\n1.5 1.5 1.5\n" +
                                   rows,
                               "log.cube"),
        5);
    EXPECT_FLOAT_EQ(at(lattice, 1, 0, 0, 0), 5.0f);   // x 0.25 -> 0.5 -> 5
    EXPECT_FLOAT_EQ(at(lattice, 4, 0, 0, 0), 15.0f);  // x 1 -> clamped to 1.5 -> 15
    EXPECT_FLOAT_EQ(at(lattice, 0, 2, 0, 1), 10.0f);
}

TEST(LookLattice, OtherGridSizeIsSampledTrilinearly) {
    // Red out = red * green: trilinear interpolation reproduces it between the corners.
    const std::string rows = cornerRows([](int r, int g, int b) {
        return std::array<int, 3>{r * g, g, b};
    });
    const NodeTable lattice =
        zel::io::lookLattice(zel::io::parseCubeText("LUT_3D_SIZE 2\n" + rows, "a.cube"), 3);
    ASSERT_EQ(lattice.size(), 3);
    EXPECT_FLOAT_EQ(at(lattice, 1, 1, 0, 0), 0.25f);
    EXPECT_FLOAT_EQ(at(lattice, 2, 1, 0, 0), 0.5f);
    EXPECT_FLOAT_EQ(at(lattice, 2, 1, 2, 1), 0.5f);
    EXPECT_FLOAT_EQ(at(lattice, 2, 1, 1, 2), 0.5f);
}

}  // namespace
