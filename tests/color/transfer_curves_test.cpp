#include <gtest/gtest.h>

#include <cmath>

#include "color/transfer_curves.h"

namespace {

using zel::Matrix3;

// The library's linear unit is the published scene value / 0.9.
double unit(double scene) {
    return scene / 0.9;
}

TEST(TransferCurves, AcesCurvesMatchThePublishedValues) {
    // Mid grey, the top half-float and the floor of ACEScc; mid grey, black and the
    // toe's end of ACEScct.
    EXPECT_NEAR(zel::encodeAcesCc(unit(0.18)), 0.4135884, 1e-7);
    EXPECT_NEAR(zel::encodeAcesCc(unit(65504.0)), 1.4679964, 1e-7);
    EXPECT_DOUBLE_EQ(zel::encodeAcesCc(-3.0), (-16.0 + 9.72) / 17.52);
    const double tiny = std::pow(2.0, -17.0);
    EXPECT_DOUBLE_EQ(zel::encodeAcesCc(unit(tiny)),
                     (std::log2(std::pow(2.0, -16.0) + tiny * 0.5) + 9.72) / 17.52);
    EXPECT_NEAR(zel::encodeAcesCct(unit(0.18)), 0.4135884, 1e-7);
    EXPECT_DOUBLE_EQ(zel::encodeAcesCct(0.0), 0.0729055341958355);
    EXPECT_NEAR(zel::encodeAcesCct(unit(0.0078125)), 0.155251141552511, 1e-12);
    EXPECT_DOUBLE_EQ(zel::decodeAcesCct(0.0729055341958355), 0.0);
    EXPECT_DOUBLE_EQ(zel::decodeAcesCct(1.5), 65504.0 / 0.9);
}

TEST(TransferCurves, DecodersInvertEncodersAndQEnc3Clamps) {
    for (double linear : {-0.01, 0.0, 0.004, 0.0124, 0.0126, 0.2, 1.0, 7.5, 42.0}) {
        const double tolerance = 1e-12 * std::max(1.0, linear);
        EXPECT_NEAR(zel::decodeQEnc3(zel::encodeQEnc3(linear)), linear, tolerance);
        EXPECT_NEAR(zel::decodeAcesCct(zel::encodeAcesCct(linear)), linear, tolerance);
    }
    EXPECT_DOUBLE_EQ(zel::encodeQEnc3(0.0), 95.0 / 1023.0);
    EXPECT_EQ(zel::decodeQEnc3(1.2), zel::decodeQEnc3(1.0));
    EXPECT_NEAR(zel::decodeQEnc3(1.0), 42.689927041336155, 1e-12);
    EXPECT_DOUBLE_EQ(zel::decodeQEnc3(-0.1), (-95.0 * 0.01125 / 76.21029469289999) / 0.9);
}

Matrix3 multiply(const Matrix3& a, const Matrix3& b) {
    Matrix3 out{};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            for (int k = 0; k < 3; ++k) {
                out[r][c] += a[r][k] * b[k][c];
            }
        }
    }
    return out;
}

TEST(GamutMatrices, FormAnInversePairAChainAndKeepWhite) {
    const Matrix3 identity = multiply(zel::kFilmToPrims3, zel::kPrims3ToFilm);
    const Matrix3 chained = multiply(zel::kPrims3ToFilm, zel::kAp1ToPrims3);
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            EXPECT_NEAR(identity[r][c], r == c ? 1.0 : 0.0, 1e-12);
            EXPECT_NEAR(chained[r][c], zel::kAp1ToFilm[r][c], 1e-9);
        }
        for (const Matrix3* m :
             {&zel::kFilmToPrims3, &zel::kPrims3ToFilm, &zel::kAp1ToPrims3, &zel::kAp1ToFilm}) {
            EXPECT_NEAR((*m)[r][0] + (*m)[r][1] + (*m)[r][2], 1.0, 1e-12);
        }
    }
}

TEST(GamutMatrices, PairsWithoutAConversionLeaveTheMatrixAlone) {
    Matrix3 m{};
    zel::gamutMatrix(2, m);
    zel::gamutMatrixFor(0, 1, m);
    zel::gamutMatrixFor(1, 0, m);
    EXPECT_EQ(m, Matrix3{});
    zel::gamutMatrixFor(1, 2, m);
    EXPECT_EQ(m, zel::kAp1ToFilm);
}

}  // namespace
