#ifndef ZEL_COLOR_TETRAHEDRAL_H
#define ZEL_COLOR_TETRAHEDRAL_H

// Tetrahedral lookup into a cube converter, with the per-lattice constants worked out
// once so that the resampling loops, which call it for every node of a grid, pay only
// for the lookup itself.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "color/color_converter.h"

namespace zel {

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
        if (nodes_ == nullptr) {
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
        const double d0 = d[0];
        const double d1 = d[1];
        const double d2 = d[2];
        const double s = step_;

        // The tetrahedron is the first row of the case table whose condition holds; its
        // four corners run from C000 to C111 through one edge and one face diagonal.
        std::size_t second;
        std::size_t third;
        double w0;
        double w1;
        double w2;
        double w3;
        if (d0 >= d1 && d1 >= d2) {
            second = upper[0] + lower[1] + lower[2];  // C100
            third = upper[0] + upper[1] + lower[2];   // C110
            w0 = s - d0;
            w1 = d0 - d1;
            w2 = d1 - d2;
            w3 = d2;
        } else if (d0 >= d2 && d2 > d1) {
            second = upper[0] + lower[1] + lower[2];  // C100
            third = upper[0] + lower[1] + upper[2];   // C101
            w0 = s - d0;
            w1 = d0 - d2;
            w2 = d2 - d1;
            w3 = d1;
        } else if (d1 > d0 && d0 > d2) {
            second = lower[0] + upper[1] + lower[2];  // C010
            third = upper[0] + upper[1] + lower[2];   // C110
            w0 = s - d1;
            w1 = d1 - d0;
            w2 = d0 - d2;
            w3 = d2;
        } else if (d1 > d2 && d2 >= d0) {
            second = lower[0] + upper[1] + lower[2];  // C010
            third = lower[0] + upper[1] + upper[2];   // C011
            w0 = s - d1;
            w1 = d1 - d2;
            w2 = d2 - d0;
            w3 = d0;
        } else if (d2 > d0 && d0 >= d1) {
            second = lower[0] + lower[1] + upper[2];  // C001
            third = upper[0] + lower[1] + upper[2];   // C101
            w0 = s - d2;
            w1 = d2 - d0;
            w2 = d0 - d1;
            w3 = d1;
        } else if (d2 >= d1 && d1 > d0) {
            second = lower[0] + lower[1] + upper[2];  // C001
            third = lower[0] + upper[1] + upper[2];   // C011
            w0 = s - d2;
            w1 = d2 - d1;
            w2 = d1 - d0;
            w3 = d0;
        } else {
            out[0] = 0.0;
            out[1] = 0.0;
            out[2] = 0.0;
            return;
        }
        const double* c000 = nodes_ + (lower[0] + lower[1] + lower[2]);
        const double* c2 = nodes_ + second;
        const double* c3 = nodes_ + third;
        const double* c111 = nodes_ + (upper[0] + upper[1] + upper[2]);
        for (int ch = 0; ch < 3; ++ch) {
            out[ch] = (w0 * c000[ch] + w1 * c2[ch] + w2 * c3[ch] + w3 * c111[ch]) / s;
        }
    }

  private:
    const double* nodes_ = nullptr;
    std::int32_t lastIndex_ = 0;  // N - 1
    double last_ = 0.0;           // N - 1
    double step_ = 0.0;           // 1 / (N - 1)
    std::size_t stride_[3] = {0, 0, 0};
    std::vector<double> cellStart_;  // b / (N - 1) for every base index b, when kept
};

}  // namespace zel

#endif  // ZEL_COLOR_TETRAHEDRAL_H
