#ifndef ZEL_CAMERA_MATRIX_WRITER_H
#define ZEL_CAMERA_MATRIX_WRITER_H

// The 3x3 matrix blocks of the camera chain (gain, second and colour matrix) as register
// pages: nine fixed-point coefficients of four bytes each, least significant byte first,
// followed by a latch register.

#include <array>
#include <cstdint>

#include "camera/ini_buf.h"
#include "camera/param_buf.h"

using QuantizedMatrix = std::array<std::array<double, 3>, 3>;

// The register pages of the three matrix blocks, by their first register.
constexpr std::uint32_t kColorMatrixBase = 0x0200;
constexpr std::uint32_t kGainMatrixBase = 0x0280;
constexpr std::uint32_t kSecondMatrixBase = 0x0700;

// A page: nine coefficients of four bytes (a 19-bit two's-complement register with 16
// fraction bits), then the latch register at base + 24; 37 registers in all.
constexpr std::size_t kMatrixCoefficients = 9;
constexpr std::size_t kMatrixBytesPerCoefficient = 4;
constexpr std::uint32_t kMatrixLatchOffset = 0x24;
constexpr std::size_t kMatrixPageEntries = 37;
constexpr int kMatrixFractionBits = 16;
constexpr int kMatrixRegisterBits = 19;

// Writes the matrix of block (typeCode, instance) into its register page. A block whose
// parameter-buffer table holds no 3x3 matrix is skipped, and entries the register page
// does not have are not written. Throws the engine error for a type code other than 4, 5
// or 12.
void writeMatrixBlock(const ZelSharedParamBuf& paramBuf, std::uint32_t instance,
                      std::uint32_t typeCode, ZelSharedIniBuf& iniBuf, bool normalizeRows);

// Scales the 3x3 `matrix` to fixed point with `fractionBits` fraction bits, saturated to
// what a `totalBits`-bit two's-complement register holds, and rounded half away from zero.
// With `normalizeRows` every row is rescaled to sum to 1.0 in fixed point. The results
// are integers held in doubles; a coefficient that is not a number gives 0. `matrix`
// must hold at least 3x3 values.
QuantizedMatrix& quantizeMatrix(QuantizedMatrix& destination, const ParamTable& matrix,
                                int fractionBits, int totalBits, bool normalizeRows);

#endif  // ZEL_CAMERA_MATRIX_WRITER_H
