#ifndef ZEL_COLOR_TETRAHEDRAL_H
#define ZEL_COLOR_TETRAHEDRAL_H

// Tetrahedral lookup into a cube converter, with the per-lattice constants worked out
// once so that the resampling loops, which call it for every node of a grid, pay only
// for the lookup itself.

#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "color/color_converter.h"

namespace zel {

// The axes of a tetrahedron from the largest offset to the smallest, for each outcome of
// the six comparisons d0 >= d1, d1 >= d0, d1 >= d2, d2 >= d1, d0 >= d2, d2 >= d0 (bits
// 0 to 5). Ties go to the first of these rows that holds:
//   d0 >= d1 >= d2: (0, 1, 2)   d0 >= d2 > d1: (0, 2, 1)   d1 > d0 > d2: (1, 0, 2)
//   d1 > d2 >= d0: (1, 2, 0)   d2 > d0 >= d1: (2, 0, 1)   d2 >= d1 > d0: (2, 1, 0)
// A pair with neither comparison true holds a non-number: no row, marked by axis 3.
struct AxisOrder {
    unsigned char first;
    unsigned char second;
    unsigned char third;
};

constexpr AxisOrder axisOrderFor(int comparisons) {
    const bool ge01 = (comparisons & 1) != 0;
    const bool ge10 = (comparisons & 2) != 0;
    const bool ge12 = (comparisons & 4) != 0;
    const bool ge21 = (comparisons & 8) != 0;
    const bool ge02 = (comparisons & 16) != 0;
    const bool ge20 = (comparisons & 32) != 0;
    if (!(ge01 || ge10) || !(ge12 || ge21) || !(ge02 || ge20)) {
        return {3, 3, 3};
    }
    // Between numbers, "a > b" is "not b >= a".
    if (ge01 && ge12) {
        return {0, 1, 2};
    }
    if (ge02 && !ge12) {
        return {0, 2, 1};
    }
    if (!ge01 && !ge20) {
        return {1, 0, 2};
    }
    if (!ge21 && ge20) {
        return {1, 2, 0};
    }
    if (!ge02 && ge01) {
        return {2, 0, 1};
    }
    if (ge21 && !ge01) {
        return {2, 1, 0};
    }
    return {3, 3, 3};
}

template <std::size_t... Outcome>
constexpr std::array<AxisOrder, sizeof...(Outcome)> makeAxisOrders(
    std::index_sequence<Outcome...>) {
    return {{axisOrderFor(static_cast<int>(Outcome))...}};
}

inline constexpr std::array<AxisOrder, 64> kAxisOrders =
    makeAxisOrders(std::make_index_sequence<64>{});

class TetrahedralSampler {
  public:
    // The lattice must outlive the sampler and stay unchanged while it is used. A
    // sampler made for many lookups keeps each cell's start b / (N - 1) in a table
    // instead of dividing for every axis of every lookup.
    explicit TetrahedralSampler(const ZelColorConverter& lattice, bool manyLookups = false);

    // Interpolates the three channels at `point` (normalised code values, red first).
    // Each axis picks its cell from the point scaled to grid units (clamped to 0 and
    // 65535, truncated, capped at the last node); the offsets inside the cell are taken
    // from the unclamped point, so points below 0 extrapolate the first cell and points
    // above 1 see collapsed upper corners, that is the edge value. A non-number offset
    // matches no tetrahedron and gives 0.0. A lattice without nodes gives 0.0.
    void sample(const double point[3], double out[3]) const {
        if (nodes_ == nullptr && hostNodes_ == nullptr) {
            out[0] = 0.0;
            out[1] = 0.0;
            out[2] = 0.0;
            return;
        }
        std::size_t lower[3];
        std::size_t upper[3];
        double d[3];
        for (int a = 0; a < 3; ++a) {
            double t = last_ * point[a];
            t = t > 0.0 ? t : 0.0;  // also sends a non-number to cell 0
            t = t < 65535.0 ? t : 65535.0;
            std::int32_t b = static_cast<std::int32_t>(t);
            b = b < lastIndex_ ? b : lastIndex_;
            const std::int32_t b1 = b + 1 < lastIndex_ ? b + 1 : lastIndex_;
            lower[a] = static_cast<std::size_t>(b) * stride_[a];
            upper[a] = static_cast<std::size_t>(b1) * stride_[a];
            d[a] = point[a] - (cellStart_.empty() ? static_cast<double>(b) / last_
                                                  : cellStart_[static_cast<std::size_t>(b)]);
        }
        // The tetrahedron is the first row of the case table whose condition holds; its
        // four corners run from C000 to C111 through one edge and one face diagonal,
        // stepping up along the axes in the order of their offsets, largest first. The
        // row is picked from the pairwise comparisons of the offsets rather than by a
        // chain of branches, which a varying look makes hard to predict.
        const int comparisons = (d[0] >= d[1] ? 1 : 0) | (d[1] >= d[0] ? 2 : 0) |
                                (d[1] >= d[2] ? 4 : 0) | (d[2] >= d[1] ? 8 : 0) |
                                (d[0] >= d[2] ? 16 : 0) | (d[2] >= d[0] ? 32 : 0);
        const AxisOrder order = kAxisOrders[comparisons];
        if (order.first > 2) {
            // A non-number offset matches no tetrahedron.
            out[0] = 0.0;
            out[1] = 0.0;
            out[2] = 0.0;
            return;
        }
        const double dFirst = d[order.first];
        const double dSecond = d[order.second];
        const double dThird = d[order.third];
        const double s = step_;
        const std::size_t first = lower[0] + lower[1] + lower[2];
        const std::size_t second = first + (upper[order.first] - lower[order.first]);
        const std::size_t third = second + (upper[order.second] - lower[order.second]);
        const std::size_t last = third + (upper[order.third] - lower[order.third]);
        const double weights[4] = {s - dFirst, dFirst - dSecond, dSecond - dThird, dThird};
        if (hostNodes_ != nullptr) {
            blend(hostNodes_, first, second, third, last, weights, s, out);
        } else {
            blend(nodes_, first, second, third, last, weights, s, out);
        }
    }

  private:
    // The weighted sum of the four corners over the cell step, channel by channel.
    template <typename Value>
    static void blend(const Value* nodes, std::size_t c000, std::size_t c2, std::size_t c3,
                      std::size_t c111, const double weights[4], double s, double out[3]) {
        for (std::size_t ch = 0; ch < 3; ++ch) {
            out[ch] = (weights[0] * static_cast<double>(nodes[c000 + ch]) +
                       weights[1] * static_cast<double>(nodes[c2 + ch]) +
                       weights[2] * static_cast<double>(nodes[c3 + ch]) +
                       weights[3] * static_cast<double>(nodes[c111 + ch])) /
                      s;
        }
    }

    const double* nodes_ = nullptr;      // the cube's own doubles, three a node
    const float* hostNodes_ = nullptr;   // or the host's floats, four a node
    std::int32_t lastIndex_ = 0;         // N - 1
    double last_ = 0.0;                  // N - 1
    double step_ = 0.0;                  // 1 / (N - 1)
    std::size_t stride_[3] = {0, 0, 0};  // in values: node width x nodes
    std::vector<double> cellStart_;      // b / (N - 1) for every base index b, when kept
};

}  // namespace zel

#endif  // ZEL_COLOR_TETRAHEDRAL_H
