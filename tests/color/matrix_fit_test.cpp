#include <gtest/gtest.h>

#include <random>

#include "color/matrix_fit.h"
#include "color/reference_colors.h"

namespace {

using zel::Matrix3;
using zel::Rgb;

ConversionSizes sizesWithReferences(int count) {
    ConversionSizes sizes;
    sizes.referenceCount = count;
    return sizes;
}

// Direct weighted least squares over all three coefficients with the sum-to-one
// constraint by a Lagrange multiplier: [2 A^T W A, 1; 1^T, 0] [m; l] = [2 A^T W t; 1].
std::array<double, 3> directRowFit(const std::vector<Rgb>& source, const std::vector<double>& t,
                                   const std::vector<double>& w) {
    double system[4][5] = {};
    for (std::size_t k = 0; k < source.size(); ++k) {
        const double wk = w[k] * w[k];
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j) {
                system[i][j] += 2 * wk * source[k][static_cast<std::size_t>(i)] *
                                source[k][static_cast<std::size_t>(j)];
            }
            system[i][4] += 2 * wk * source[k][static_cast<std::size_t>(i)] * t[k];
        }
    }
    for (int i = 0; i < 3; ++i) {
        system[i][3] = 1;
        system[3][i] = 1;
    }
    system[3][4] = 1;
    // Gauss-Jordan with partial pivoting.
    for (int col = 0; col < 4; ++col) {
        int pivot = col;
        for (int r = col + 1; r < 4; ++r) {
            if (std::fabs(system[r][col]) > std::fabs(system[pivot][col])) {
                pivot = r;
            }
        }
        std::swap(system[col], system[pivot]);
        for (int r = 0; r < 4; ++r) {
            if (r != col) {
                const double f = system[r][col] / system[col][col];
                for (int c = col; c < 5; ++c) {
                    system[r][c] -= f * system[col][c];
                }
            }
        }
    }
    return {system[0][4] / system[0][0], system[1][4] / system[1][1], system[2][4] / system[2][2]};
}

TEST(MatrixFit, MatchesDirectWeightedLeastSquares) {
    std::mt19937 rng(17);
    std::uniform_real_distribution<double> colour(0.02, 0.9);
    std::uniform_real_distribution<double> weight(0.0, 2.0);
    std::vector<Rgb> source(30);
    std::vector<Rgb> target(30);
    std::vector<double> weights(30);
    for (std::size_t k = 0; k < 30; ++k) {
        source[k] = {colour(rng), colour(rng), colour(rng)};
        target[k] = {colour(rng), colour(rng), colour(rng)};
        weights[k] = k % 7 == 0 ? 0.0 : weight(rng);
    }
    const Matrix3 fitted =
        zel::fitRowNormalizedMatrix(sizesWithReferences(40), target, source, weights);
    for (std::size_t row = 0; row < 3; ++row) {
        std::vector<double> t(30);
        for (std::size_t k = 0; k < 30; ++k) {
            t[k] = target[k][row];
        }
        const auto want = directRowFit(source, t, weights);
        for (std::size_t c = 0; c < 3; ++c) {
            EXPECT_NEAR(fitted[row][c], want[c], 1e-9) << row << "," << c;
        }
        EXPECT_NEAR(fitted[row][0] + fitted[row][1] + fitted[row][2], 1.0, 1e-14);
    }
}

// The Film reference colours are the Prims3 ones through Prims3ToFilm, so fitting one
// set onto the other recovers the gamut matrix; weightless colours change nothing.
TEST(MatrixFit, RecoversTheGamutMatrixFromTheReferenceSets) {
    const auto& prims3 = zel::referenceSet(0);
    const auto& film = zel::referenceSet(1);
    std::vector<Rgb> source(prims3.begin(), prims3.end());
    std::vector<Rgb> target(film.begin(), film.end());
    std::vector<double> weights(source.size(), 1.0);
    const Matrix3 fitted =
        zel::fitRowNormalizedMatrix(sizesWithReferences(40), target, source, weights);
    for (std::size_t r = 0; r < 3; ++r) {
        for (std::size_t c = 0; c < 3; ++c) {
            EXPECT_NEAR(fitted[r][c], zel::kPrims3ToFilm[r][c], 1e-9);
        }
    }
    source.push_back({5.0, -3.0, 1.0});
    target.push_back({-8.0, 2.0, 0.5});
    weights.push_back(0.0);
    EXPECT_EQ(zel::fitRowNormalizedMatrix(sizesWithReferences(40), target, source, weights),
              fitted);
    // Colours past the reference count are not read.
    source.back() = {0.3, 0.1, 0.2};
    weights.back() = 1.0;
    EXPECT_EQ(zel::fitRowNormalizedMatrix(sizesWithReferences(17), target, source, weights),
              fitted);
}

TEST(ReferenceColours, SetsAreTheSameColoursInEachGamut) {
    const auto& prims3 = zel::referenceSet(0);
    const auto& film = zel::referenceSet(1);
    for (std::size_t k = 0; k < prims3.size(); ++k) {
        double r = 0, g = 0, b = 0;
        zel::applyMatrix(prims3[k][0], prims3[k][1], prims3[k][2], r, g, b, zel::kPrims3ToFilm);
        EXPECT_NEAR(r, film[k][0], 1e-10) << k;
        EXPECT_NEAR(g, film[k][1], 1e-10) << k;
        EXPECT_NEAR(b, film[k][2], 1e-10) << k;
        const auto& ap1 = zel::referenceSet(2)[k];
        zel::applyMatrix(ap1[0], ap1[1], ap1[2], r, g, b, zel::kAp1ToPrims3);
        EXPECT_NEAR(r, prims3[k][0], 1e-6) << k;
        EXPECT_NEAR(b, prims3[k][2], 1e-6) << k;
    }
    EXPECT_EQ(&zel::referenceSet(3), &zel::referenceSet(2));
}

}  // namespace
