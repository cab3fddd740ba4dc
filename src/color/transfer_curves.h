#ifndef ZEL_COLOR_TRANSFER_CURVES_H
#define ZEL_COLOR_TRANSFER_CURVES_H

// The source encodings' transfer curves (code value <-> linear) and the gamut matrices
// between their primaries. Linear values are in the library's unit: every encoder first
// scales by 0.9, so L = 1/0.9 encodes like a scene value of 1.0 of the published curve.
// Code values are normalised (0 to 1 spans the full 10-bit range).

#include <array>
#include <cmath>

namespace zel {

using Matrix3 = std::array<std::array<double, 3>, 3>;

// A code value clamped to the unit range [0, 1]; NaN stays NaN.
inline double clampUnit(double value) {
    if (value > 1.0) {
        return 1.0;
    }
    if (value < 0.0) {
        return 0.0;
    }
    return value;
}

// Q-Enc3. Pure; no failure. Inline: resampling a look encodes every node of a grid.
inline double encodeQEnc3(double linear) {
    constexpr double kSceneScale = 0.9;
    constexpr double kLinearSlope = 76.21029469289999;  // 171.2102946929 - 95
    const double y = kSceneScale * linear;
    if (y >= 0.01125) {
        return (std::log10((y + 0.01) / 0.19) * 261.5 + 420.0) / 1023.0;
    }
    return (y * kLinearSlope / 0.01125 + 95.0) / 1023.0;
}

// Clamps the code value to [0, 1] before scaling; the branch follows the unclamped value.
double decodeQEnc3(double code);
// ACEScc (no decoder exists). Non-positive values encode as 2^-16.
double encodeAcesCc(double linear);
// ACEScct and its inverse; the decoder saturates at the largest half-float value.
double encodeAcesCct(double linear);
double decodeAcesCct(double code);

// Gamut matrices, rows summing to 1.
extern const Matrix3 kFilmToPrims3;
extern const Matrix3 kPrims3ToFilm;
extern const Matrix3 kAp1ToPrims3;
extern const Matrix3 kAp1ToFilm;

// 0 gives FilmToPrims3, 1 Prims3ToFilm; any other selector leaves `matrix` as it was.
void gamutMatrix(int selector, Matrix3& matrix);
// The matrix from a derived block's input space (instance 0 Q-Prims3.Film, 1 Q-Prims3,
// 2 ACES AP1) to the host table's gamut (0 Q-Prims3, 1 Q-Prims3.Film); pairs without a
// conversion leave `matrix` as it was.
void gamutMatrixFor(int hostGamut, int blockInstance, Matrix3& matrix);
// out = M (x0, x1, x2).
void applyMatrix(double x0, double x1, double x2, double& out0, double& out1, double& out2,
                 Matrix3 matrix);

}  // namespace zel

#endif  // ZEL_COLOR_TRANSFER_CURVES_H
