#ifndef ZEL_COLOR_CURVE_AND_MATRIX_H
#define ZEL_COLOR_CURVE_AND_MATRIX_H

// The look approximated without a cube, for the camera chains that have none: camera
// linear colour, then a fitted colour matrix (code 12), then a per-channel tone table
// (code 14).

#include <cstdint>

#include "color/color_converter.h"
#include "color/conversion_stage.h"

namespace zel {

// Linear to the look's code value: Q-Enc3 for encodings 0 and 1, ACEScc for 2, ACEScct
// for 3. Throws the lattice error for any other encoding.
double encodeSource(std::uint8_t sourceEncoding, double linear);

}  // namespace zel

// Fills `table` (a 1D table of sizes.table1dRows x table1dColumns: the look's neutral
// response to linear row / (inputLast - inputFirst), clamped to [0, 1]) and `matrix` (the
// colour matrix from the camera colours of input space `instance`, 0 Q-Prims3.Film or
// 1 Q-Prims3, to what the look makes of the reference colours, read back to linear
// through its inverted neutral response).
void buildCurveAndMatrix(const ConversionSizes& sizes, std::uint8_t sourceEncoding,
                         std::uint32_t instance, const ZelColorConverter& hostLattice,
                         ZelColorConverter& table, ZelColorConverter& matrix);

#endif  // ZEL_COLOR_CURVE_AND_MATRIX_H
