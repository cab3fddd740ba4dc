#ifndef ZEL_COLOR_GRID_RESAMPLER_H
#define ZEL_COLOR_GRID_RESAMPLER_H

// Resampling of a look on a regular grid: every node (i, j, k) of an N-grid stands for
// the code values (axis[i], axis[j], axis[k]); optionally these are moved into the
// look's gamut (decode, matrix, Q-Enc3 encode) before the look is looked up there.
//
// Because the grid is regular, each axis holds only N distinct code values: they are
// decoded once per axis, and the matrix products of each axis are worked out once, so
// that a node costs three additions, three encodes and one lookup. The sums keep the
// order m0 x0 + m1 x1 + m2 x2 of the matrix product, so the result is bit-identical to
// decoding and multiplying every node on its own.

#include <array>
#include <cstddef>
#include <vector>

#include "color/tetrahedral.h"
#include "color/transfer_curves.h"
#include "platform/job_cancel.h"

namespace zel {

// The move from a block's input space into the look's: decode to linear, matrix.
// The result is always Q-Enc3-encoded, the curve of every look that has a gamut move.
struct GamutMove {
    double (*decode)(double code) = nullptr;
    Matrix3 matrix{};
};

// Calls store(node, value) for every node in node order ((i * N + j) * N + k), with the
// look's value at that node. `move` may be null: the node's code values are then looked
// up directly. `cancel` is asked before each plane of nodes.
template <typename Store>
void resampleGrid(const std::vector<double>& axis, const GamutMove* move,
                  const TetrahedralSampler& look, Store&& store,
                  const CancelCheck& cancel = CancelCheck()) {
    const std::size_t n = axis.size();
    double point[3];
    double value[3];
    std::size_t node = 0;
    if (move == nullptr) {
        for (std::size_t i = 0; i < n; ++i) {
            cancel();
            point[0] = axis[i];
            for (std::size_t j = 0; j < n; ++j) {
                point[1] = axis[j];
                for (std::size_t k = 0; k < n; ++k) {
                    point[2] = axis[k];
                    look.sample(point, value);
                    store(node++, value);
                }
            }
        }
        return;
    }

    // products[r][c][idx] = matrix[r][c] * decode(axis[idx]).
    std::array<std::array<std::vector<double>, 3>, 3> products;
    std::vector<double> linear(n);
    for (std::size_t idx = 0; idx < n; ++idx) {
        linear[idx] = move->decode(axis[idx]);
    }
    for (std::size_t r = 0; r < 3; ++r) {
        for (std::size_t c = 0; c < 3; ++c) {
            products[r][c].resize(n);
            for (std::size_t idx = 0; idx < n; ++idx) {
                products[r][c][idx] = move->matrix[r][c] * linear[idx];
            }
        }
    }
    // A row of nodes along the last axis is encoded first and looked up after, so that
    // the encodes of neighbouring nodes, which do not depend on each other, overlap.
    std::vector<double> rowPoints(n * 3);
    for (std::size_t i = 0; i < n; ++i) {
        cancel();
        for (std::size_t j = 0; j < n; ++j) {
            const double partial0 = products[0][0][i] + products[0][1][j];
            const double partial1 = products[1][0][i] + products[1][1][j];
            const double partial2 = products[2][0][i] + products[2][1][j];
            for (std::size_t k = 0; k < n; ++k) {
                rowPoints[k * 3] = encodeQEnc3(partial0 + products[0][2][k]);
                rowPoints[k * 3 + 1] = encodeQEnc3(partial1 + products[1][2][k]);
                rowPoints[k * 3 + 2] = encodeQEnc3(partial2 + products[2][2][k]);
            }
            for (std::size_t k = 0; k < n; ++k) {
                look.sample(&rowPoints[k * 3], value);
                store(node++, value);
            }
        }
    }
}

}  // namespace zel

#endif  // ZEL_COLOR_GRID_RESAMPLER_H
