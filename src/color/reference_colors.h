#ifndef ZEL_COLOR_REFERENCE_COLORS_H
#define ZEL_COLOR_REFERENCE_COLORS_H

// The reference colours of the colour-matrix fit: the same linear colours in Q-Prims3,
// Q-Prims3.Film and ACES AP1. The fit weighs the first 17 colours of its chart with 1.0
// and the rest with 0.0; a weightless colour cannot change the fit, so only the 17 are
// kept.

#include <array>
#include <cstddef>

namespace zel {

using Rgb = std::array<double, 3>;

constexpr std::size_t kWeightedReferenceCount = 17;
using ReferenceSet = std::array<Rgb, kWeightedReferenceCount>;

// Set 0 for encoding 0 (Q-Prims3), set 1 for encoding 1 (Q-Prims3.Film), set 2 (ACES
// AP1) for encodings 2 and 3 and anything above.
const ReferenceSet& referenceSet(int encoding);

}  // namespace zel

#endif  // ZEL_COLOR_REFERENCE_COLORS_H
