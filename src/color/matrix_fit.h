#ifndef ZEL_COLOR_MATRIX_FIT_H
#define ZEL_COLOR_MATRIX_FIT_H

// Weighted least-squares fit of a 3x3 colour matrix whose rows sum to 1, so that the
// fitted matrix keeps white white.

#include <vector>

#include "color/conversion_stage.h"
#include "color/reference_colors.h"
#include "color/transfer_curves.h"

namespace zel {

// Each row (a, b, 1 - a - b) minimises sum_k w_k^2 (row . source_k - target_k[row])^2
// over the colours present in all three lists (at most sizes.referenceCount). Colours
// that do not vary enough give non-number rows; no failure is reported.
Matrix3 fitRowNormalizedMatrix(const ConversionSizes& sizes, const std::vector<Rgb>& target,
                               const std::vector<Rgb>& source, const std::vector<double>& weights);

}  // namespace zel

#endif  // ZEL_COLOR_MATRIX_FIT_H
