// Row order between .cube files (red fastest) and the library's node table (blue fastest).

#include <gtest/gtest.h>

#include <string>

#include "cube/cube_writer.h"
#include "cube_reader/cube_parser.h"

namespace {

// A look that rotates the channels: out = (blue, red, green). Any mix-up of the axes or
// of the channels shows in it.
std::string rotatingLook(int n) {
    std::string text = "LUT_3D_SIZE " + std::to_string(n) + "\n";
    for (int b = 0; b < n; ++b) {
        for (int g = 0; g < n; ++g) {
            for (int r = 0; r < n; ++r) {
                text +=
                    std::to_string(b) + " " + std::to_string(r) + " " + std::to_string(g) + "\n";
            }
        }
    }
    return text;
}

TEST(RowOrder, NodeOfRedGreenBlueIndexHoldsTheLooksOutputForThatColour) {
    // 37 spans several bands of blue values and ends with a partial one.
    for (const int n : {4, 37}) {
        const zel::io::CubeLut lut = zel::io::parseCubeText(rotatingLook(n), "rotate.cube");
        ASSERT_EQ(lut.nodes.nodeCount(), static_cast<std::size_t>(n * n * n));
        const float* nodes = lut.nodes.data();
        for (int i = 0; i < n; ++i) {          // red
            for (int j = 0; j < n; ++j) {      // green
                for (int k = 0; k < n; ++k) {  // blue, fastest
                    const std::size_t at = static_cast<std::size_t>(((i * n + j) * n + k) * 4);
                    ASSERT_EQ(nodes[at + 0], float(k)) << i << j << k;
                    ASSERT_EQ(nodes[at + 1], float(i)) << i << j << k;
                    ASSERT_EQ(nodes[at + 2], float(j)) << i << j << k;
                    ASSERT_EQ(nodes[at + 3], 0.0f);
                }
            }
        }
    }
}

TEST(RowOrder, WrittenTextListsTheNodesInTheFilesOrder) {
    const int n = 3;
    const zel::io::CubeLut lut = zel::io::parseCubeText(rotatingLook(n), "rotate.cube");
    EXPECT_EQ(zelgen::formatCubeText("LUT_3D_SIZE 3\n", n, lut.nodes.data()), rotatingLook(n));
}

}  // namespace
