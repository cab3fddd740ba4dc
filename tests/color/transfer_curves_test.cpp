#include <gtest/gtest.h>

#include <cmath>

#include "color/transfer_curves.h"

namespace {

using zel::Matrix3;

// The library's linear unit is the published scene value / 0.9.
double libraryLinear(double scene) {
    return scene / 0.9;
}

TEST(TransferCurves, AcesCcMatchesPublishedValues) {
    // Mid grey, diffuse white and the floor of the published ACEScc curve.
    EXPECT_NEAR(zel::encodeAcesCc(libraryLinear(0.18)), 0.4135884, 1e-7);
    EXPECT_NEAR(zel::encodeAcesCc(libraryLinear(1.0)), 9.72 / 17.52, 1e-12);
    EXPECT_NEAR(zel::encodeAcesCc(libraryLinear(65504.0)), 1.4679964, 1e-7);
    const double floor = (-16.0 + 9.72) / 17.52;
    EXPECT_DOUBLE_EQ(zel::encodeAcesCc(0.0), floor);
    EXPECT_DOUBLE_EQ(zel::encodeAcesCc(-3.0), floor);
    // Below 2^-15 the curve uses log2(2^-16 + x / 2).
    const double tiny = std::pow(2.0, -17.0);
    EXPECT_DOUBLE_EQ(zel::encodeAcesCc(libraryLinear(tiny)),
                     (std::log2(std::pow(2.0, -16.0) + tiny * 0.5) + 9.72) / 17.52);
}

TEST(TransferCurves, AcesCctMatchesPublishedValuesAndInverts) {
    EXPECT_DOUBLE_EQ(zel::encodeAcesCct(0.0), 0.0729055341958355);
    EXPECT_NEAR(zel::encodeAcesCct(libraryLinear(0.18)), 0.4135884, 1e-7);
    // The toe meets the log segment at scene 0.0078125, code 0.155251141552511.
    EXPECT_NEAR(zel::encodeAcesCct(libraryLinear(0.0078125)), 0.155251141552511, 1e-12);
    EXPECT_DOUBLE_EQ(zel::decodeAcesCct(0.0729055341958355), 0.0);
    EXPECT_DOUBLE_EQ(zel::decodeAcesCct(1.5), 65504.0 / 0.9);
    for (double scene : {-0.01, 0.0, 0.001, 0.0078125, 0.18, 1.0, 16.0, 200.0}) {
        const double linear = libraryLinear(scene);
        EXPECT_NEAR(zel::decodeAcesCct(zel::encodeAcesCct(linear)), linear,
                    1e-12 * std::max(1.0, std::fabs(linear)))
            << scene;
    }
}

TEST(TransferCurves, QEnc3KnownPointsAndClamping) {
    EXPECT_DOUBLE_EQ(zel::encodeQEnc3(0.0), 95.0 / 1023.0);
    EXPECT_NEAR(zel::decodeQEnc3(95.0 / 1023.0), 0.0, 1e-15);
    EXPECT_DOUBLE_EQ(zel::decodeQEnc3(1.2), zel::decodeQEnc3(1.0));
    EXPECT_NEAR(zel::decodeQEnc3(1.0), 42.689927041336155, 1e-12);
    EXPECT_DOUBLE_EQ(zel::decodeQEnc3(-0.1), (-95.0 * 0.01125 / 76.21029469289999) / 0.9);
    // Both branches meet at the knee.
    const double knee = 0.16736099187966763;
    EXPECT_NEAR(zel::decodeQEnc3(knee), zel::decodeQEnc3(std::nextafter(knee, 0.0)), 1e-9);
}

TEST(TransferCurves, QEnc3RoundTripsOverItsCodeRange) {
    for (double linear : {-0.01, -0.001, 0.0, 0.004, 0.0124, 0.0126, 0.2, 1.0, 7.5, 42.0}) {
        EXPECT_NEAR(zel::decodeQEnc3(zel::encodeQEnc3(linear)), linear,
                    1e-12 * std::max(1.0, std::fabs(linear)))
            << linear;
    }
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

TEST(GamutMatrices, FilmAndPrims3AreInversesAndKeepWhite) {
    const Matrix3 forth = multiply(zel::kFilmToPrims3, zel::kPrims3ToFilm);
    const Matrix3 back = multiply(zel::kPrims3ToFilm, zel::kFilmToPrims3);
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            EXPECT_NEAR(forth[r][c], r == c ? 1.0 : 0.0, 1e-12);
            EXPECT_NEAR(back[r][c], r == c ? 1.0 : 0.0, 1e-12);
        }
    }
    for (const Matrix3* m :
         {&zel::kFilmToPrims3, &zel::kPrims3ToFilm, &zel::kAp1ToPrims3, &zel::kAp1ToFilm}) {
        for (const auto& row : *m) {
            EXPECT_NEAR(row[0] + row[1] + row[2], 1.0, 1e-12);
        }
    }
    // AP1 to Film equals AP1 to Prims3 followed by Prims3 to Film.
    const Matrix3 chained = multiply(zel::kPrims3ToFilm, zel::kAp1ToPrims3);
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            EXPECT_NEAR(chained[r][c], zel::kAp1ToFilm[r][c], 1e-9);
        }
    }
}

TEST(GamutMatrices, SelectorsPickTheirMatrixOrLeaveItAlone) {
    Matrix3 m{};
    m[0][0] = 7.0;
    zel::gamutMatrix(2, m);
    EXPECT_EQ(m[0][0], 7.0);
    zel::gamutMatrix(0, m);
    EXPECT_EQ(m, zel::kFilmToPrims3);
    zel::gamutMatrix(1, m);
    EXPECT_EQ(m, zel::kPrims3ToFilm);

    const struct {
        int host, instance;
        const Matrix3* want;
    } pairs[] = {{0, 0, &zel::kFilmToPrims3},
                 {0, 2, &zel::kAp1ToPrims3},
                 {1, 1, &zel::kPrims3ToFilm},
                 {1, 2, &zel::kAp1ToFilm}};
    for (const auto& pair : pairs) {
        Matrix3 got{};
        zel::gamutMatrixFor(pair.host, pair.instance, got);
        EXPECT_EQ(got, *pair.want) << pair.host << "/" << pair.instance;
    }
    for (const auto& [host, instance] : {std::pair{0, 1}, {1, 0}, {2, 2}, {3, 0}}) {
        Matrix3 untouched{};
        zel::gamutMatrixFor(host, instance, untouched);
        EXPECT_EQ(untouched, Matrix3{}) << host << "/" << instance;
    }
}

TEST(GamutMatrices, ApplyMatrixMixesRowsIntoTheirOwnChannel) {
    Matrix3 m{};
    m[0] = {0.0, 0.0, 1.0};  // red takes blue
    m[1] = {0.0, 1.0, 0.0};
    m[2] = {2.0, 0.0, 0.0};  // blue takes twice red
    double r = 0, g = 0, b = 0;
    zel::applyMatrix(0.1, 0.2, 0.3, r, g, b, m);
    EXPECT_EQ(r, 0.3);
    EXPECT_EQ(g, 0.2);
    EXPECT_EQ(b, 0.2);
}

}  // namespace
