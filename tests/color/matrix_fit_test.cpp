#include <gtest/gtest.h>

#include <random>

#include "color/matrix_fit.h"
#include "color/reference_colors.h"

namespace {

using zel::Matrix3;
using zel::Rgb;

ConversionSizes withReferences(int count) {
    ConversionSizes sizes;
    sizes.referenceCount = count;
    return sizes;
}

// A row summing to 1 minimises the weighted error exactly when the error gradient along
// both free directions (1, 0, -1) and (0, 1, -1) vanishes: sum w^2 e (s0 - s2) = 0 and
// sum w^2 e (s1 - s2) = 0.
TEST(MatrixFit, RowsAreTheWeightedLeastSquaresMinimumAndSumToOne) {
    std::mt19937 rng(17);
    std::uniform_real_distribution<double> colour(0.02, 0.9);
    std::vector<Rgb> source(30), target(30);
    std::vector<double> weights(30);
    for (std::size_t k = 0; k < 30; ++k) {
        source[k] = {colour(rng), colour(rng), colour(rng)};
        target[k] = {colour(rng), colour(rng), colour(rng)};
        weights[k] = k % 7 == 0 ? 0.0 : 2 * colour(rng);
    }
    const Matrix3 m = zel::fitRowNormalizedMatrix(withReferences(40), target, source, weights);
    for (std::size_t row = 0; row < 3; ++row) {
        double gradientU = 0.0, gradientV = 0.0;
        for (std::size_t k = 0; k < 30; ++k) {
            const Rgb& s = source[k];
            const double error =
                m[row][0] * s[0] + m[row][1] * s[1] + m[row][2] * s[2] - target[k][row];
            gradientU += weights[k] * weights[k] * error * (s[0] - s[2]);
            gradientV += weights[k] * weights[k] * error * (s[1] - s[2]);
        }
        EXPECT_NEAR(gradientU, 0.0, 1e-12);
        EXPECT_NEAR(gradientV, 0.0, 1e-12);
        EXPECT_NEAR(m[row][0] + m[row][1] + m[row][2], 1.0, 1e-14);
    }
}

// The Film reference colours are the Prims3 ones through Prims3ToFilm, so fitting one
// set onto the other recovers that matrix; weightless colours and colours past the
// reference count change nothing.
TEST(MatrixFit, RecoversTheGamutMatrixFromTheReferenceSets) {
    const auto& prims3 = zel::referenceSet(0);
    const auto& film = zel::referenceSet(1);
    std::vector<Rgb> source(prims3.begin(), prims3.end()), target(film.begin(), film.end());
    std::vector<double> weights(source.size(), 1.0);
    const Matrix3 fitted = zel::fitRowNormalizedMatrix(withReferences(40), target, source, weights);
    for (std::size_t r = 0; r < 3; ++r) {
        for (std::size_t c = 0; c < 3; ++c) {
            EXPECT_NEAR(fitted[r][c], zel::kPrims3ToFilm[r][c], 1e-9);
        }
    }
    source.push_back({5.0, -3.0, 1.0});
    target.push_back({-8.0, 2.0, 0.5});
    weights.push_back(0.0);
    EXPECT_EQ(zel::fitRowNormalizedMatrix(withReferences(40), target, source, weights), fitted);
    weights.back() = 1.0;
    EXPECT_EQ(zel::fitRowNormalizedMatrix(withReferences(17), target, source, weights), fitted);
    // And the ACES set is the same colours in AP1.
    for (std::size_t k = 0; k < prims3.size(); ++k) {
        const Rgb& ap1 = zel::referenceSet(3)[k];
        double r = 0, g = 0, b = 0;
        zel::applyMatrix(ap1[0], ap1[1], ap1[2], r, g, b, zel::kAp1ToPrims3);
        EXPECT_NEAR(r, prims3[k][0], 1e-6);
        EXPECT_NEAR(b, prims3[k][2], 1e-6);
    }
}

}  // namespace
