#ifndef ZEL_CAMERA_MATRIX_DECODER_H
#define ZEL_CAMERA_MATRIX_DECODER_H

// Reads a matrix register page back into its 3x3 coefficients: nine signed 19-bit
// fixed-point numbers with 16 fraction bits, four bytes each, least significant first,
// then the latch. The inverse of the matrix writer (matrix_writer.h): a decoded coefficient
// is the written one to within half a step (1/131072) unless the writer saturated it to
// the register range (-4 to just below 4).

#include <array>
#include <cstdint>

#include "camera/matrix_writer.h"
#include "camera/register_entry.h"
#include "platform/decode_error.h"

constexpr double kMatrixStep = 1.0 / (1 << kMatrixFractionBits);

using DecodedMatrix = std::array<std::array<double, 3>, 3>;

// Decodes the 37-entry page at `base` ("0200" colour matrix, "0280" gain, "0700" second).
// Throws zel::DecodeError for a page that is short, has other addresses, a byte beyond the
// 19-bit register or a latch other than "01".
DecodedMatrix decodeMatrixPage(const RegisterList& page, std::uint32_t base);

// The page the writer makes of `matrix` at `base`.
RegisterList encodeMatrixPage(const DecodedMatrix& matrix, std::uint32_t base);

#endif  // ZEL_CAMERA_MATRIX_DECODER_H
