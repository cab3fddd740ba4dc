#ifndef ZEL_READBACK_DISPLAY_COLOUR_H
#define ZEL_READBACK_DISPLAY_COLOUR_H

// What an output code value looks like on a display, for perceptual differences: the
// look's output (full-range code values of the camera's output encoding) is decoded to
// display light (Rec.709: the BT.1886 display, gamma 2.4, white 100 cd/m2; PQ: the
// ST 2084 curve in cd/m2; HLG: the inverse curve and the system gamma 1.2 of a 1000 cd/m2
// display), taken from Rec.709 or BT.2020 primaries to CIE XYZ (D65) and to CIELAB with
// the diffuse white (100 cd/m2 for Rec.709, 203 cd/m2 for PQ and HLG) as the reference
// white. CIEDE2000 compares two such colours.

#include <array>

namespace zel {

using Lab = std::array<double, 3>;

// `curve`: 0 Rec.709, 1 PQ, 2 HLG.
Lab displayLab(int curve, const double code[3]);

// The CIEDE2000 colour difference (kL = kC = kH = 1).
double ciede2000(const Lab& a, const Lab& b);

}  // namespace zel

#endif  // ZEL_READBACK_DISPLAY_COLOUR_H
