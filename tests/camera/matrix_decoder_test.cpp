#include "camera/matrix_decoder.h"

#include <gtest/gtest.h>

#include <random>

namespace {

TEST(MatrixDecoder, GivesRandomCoefficientsBackWithinHalfAStepAndTheSameWords) {
    std::mt19937 random(11);
    for (const std::uint32_t base : {0x0200u, 0x0280u, 0x0700u}) {
        for (int trial = 0; trial < 50; ++trial) {
            DecodedMatrix m{};
            for (auto& row : m) {
                for (double& v : row) {
                    v = -4.0 + 8.0 * (random() % 1000000) / 1000000.0;
                }
            }
            const RegisterList page = encodeMatrixPage(m, base);
            const DecodedMatrix decoded = decodeMatrixPage(page, base);
            for (int k = 0; k < 9; ++k) {
                EXPECT_NEAR(decoded[k / 3][k % 3], m[k / 3][k % 3], 0.5 * kMatrixStep)
                    << "coefficient " << k;
            }
            EXPECT_EQ(encodeMatrixPage(decoded, base), page);
        }
    }
}

TEST(MatrixDecoder, ReadsSaturatedAndNegativeCoefficients) {
    DecodedMatrix m{};
    m[0][0] = 9.0;   // saturates to the largest register value
    m[1][1] = -1.0;  // 00070000
    m[2][2] = -9.0;  // saturates to -4
    const DecodedMatrix decoded = decodeMatrixPage(encodeMatrixPage(m, 0x0200), 0x0200);
    EXPECT_DOUBLE_EQ(decoded[0][0], 4.0 - kMatrixStep);
    EXPECT_DOUBLE_EQ(decoded[1][1], -1.0);
    EXPECT_DOUBLE_EQ(decoded[2][2], -4.0);
}

TEST(MatrixDecoder, RefusesAPageWithoutLatchOrWithBytesBeyondTheRegister) {
    DecodedMatrix identity{};
    identity[0][0] = identity[1][1] = identity[2][2] = 1.0;
    RegisterList page = encodeMatrixPage(identity, 0x0280);
    page[36].setValue("00");
    EXPECT_THROW(decodeMatrixPage(page, 0x0280), zel::DecodeError);
    page = encodeMatrixPage(identity, 0x0280);
    page[3].setValue("01");  // coefficient 0's top byte
    EXPECT_THROW(decodeMatrixPage(page, 0x0280), zel::DecodeError);
    EXPECT_THROW(decodeMatrixPage(page, 0x0200), zel::DecodeError);  // other addresses
}

}  // namespace
