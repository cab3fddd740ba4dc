#ifndef ZEL_CUBE_READER_CUBE_LUT_H
#define ZEL_CUBE_READER_CUBE_LUT_H

// A look as a .cube file holds it: the 3D table, its input domain and the 1D shaper that
// may feed it, with the bounds the .cube reader keeps to.

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "cube_reader/node_table.h"

namespace zel::io {

// A 1D table applied to each channel before the 3D table (a "shaper").
struct CubeShaper {
    // Rows of red, green, blue outputs; empty when the file has no 1D table.
    std::vector<float> rows;
    // The input range spread over the rows: input `inputMin` reads row 0, `inputMax` the last.
    float inputMin = 0.0f;
    float inputMax = 1.0f;

    std::size_t size() const { return rows.size() / 3; }
    bool present() const { return !rows.empty(); }
};

// A look as the file holds it.
struct CubeLut {
    int size = 0;       // N: N x N x N lattice points of the 3D table
    std::string title;  // the TITLE text, without quotes; empty when there is none
    NodeTable nodes;    // the 3D table in node order (node_table.h)
    // The input range of the 3D table per channel (0 to 1 unless a shaper feeds it).
    std::array<float, 3> domainMin{0.0f, 0.0f, 0.0f};
    std::array<float, 3> domainMax{1.0f, 1.0f, 1.0f};
    CubeShaper shaper;
};

// The smallest and largest grid size a look may have: a lattice needs two points an axis,
// and the camera's look file stores the size in one byte.
constexpr int kSmallestGridSize = 2;
constexpr int kLargestGridSize = 255;
// The largest 1D shaper: the longest tables grading applications export.
constexpr std::size_t kLargestShaperSize = 65536;
// The longest line read; longer ones are refused (no .cube line comes near it).
constexpr std::size_t kLongestLine = std::size_t{1} << 20;

}  // namespace zel::io

#endif  // ZEL_CUBE_READER_CUBE_LUT_H
