#ifndef ZEL_COLOR_CUBE_BUILDER_H
#define ZEL_COLOR_CUBE_BUILDER_H

// The camera's 3D cubes, resampled from the look into each cube's input space.

#include <cstdint>

#include "color/color_converter.h"
#include "color/conversion_stage.h"

namespace zel {

// The code values a derived cube spans by default: its grid runs from `low` to `high`.
struct CodeRange {
    double low = 0.0;
    double high = 0.0;
};

// Standard job: the look's own code range (encodings 0 to 3); throws the lattice error for
// any other encoding.
CodeRange standardCodeRange(std::uint8_t sourceEncoding);
// Extended job: the range of a cube's input space (instance 2 is ACEScct).
CodeRange extendedCodeRange(std::uint8_t sourceEncoding, std::uint32_t instance);

}  // namespace zel

// Fills `cube`, already made by initLattice (2, cubeSize, cubeColumns), with the look
// seen from input space `instance` (0 Q-Prims3.Film, 1 Q-Prims3), each value clamped to
// [0, 1]. Without fullDomain the grid spans the look's code range, with it 0 to 1.
void buildCubeStandard(const ConversionSizes& sizes, std::uint8_t sourceEncoding,
                       std::uint32_t instance, const ZelColorConverter& hostLattice,
                       ZelColorConverter& cube, bool fullDomain);

// As above for the extended job: instance 2 is ACEScct in ACES AP1, the grid always
// spans the input space's code range, and the values are stored unclamped.
void buildCubeExtended(const ConversionSizes& sizes, std::uint8_t sourceEncoding,
                       std::uint32_t instance, const ZelColorConverter& hostLattice,
                       ZelColorConverter& cube);

#endif  // ZEL_COLOR_CUBE_BUILDER_H
