#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "color/color_converter.h"
#include "test_lattices.h"

namespace {

using Rgb = std::array<double, 3>;

// The lookup written out from its definition: all eight corners fetched by name, the
// case table as data, first matching row wins.
Rgb referenceSample(const ZelColorConverter& lattice, Rgb p) {
    const int n = lattice.rows;
    const double s = 1.0 / (n - 1);
    int base[3];
    double d[3];
    for (int a = 0; a < 3; ++a) {
        double t = (n - 1) * p[a];
        if (std::isnan(t) || t < 0) {
            t = 0;
        }
        if (t > 65535) {
            t = 65535;
        }
        base[a] = std::min(static_cast<int>(t), n - 1);
        d[a] = p[a] - static_cast<double>(base[a]) / (n - 1);
    }
    auto corner = [&](int u, int v, int w) {
        const int i = std::min(base[0] + u, n - 1);
        const int j = std::min(base[1] + v, n - 1);
        const int k = std::min(base[2] + w, n - 1);
        return lattice.node(i, j, k);
    };
    struct Case {
        bool holds;
        int first, second;  // axes of the two middle corners' path
        double w[4];
    };
    const double d0 = d[0], d1 = d[1], d2 = d[2];
    // Corner path C000 -> one axis -> two axes -> C111, with the weights of each row.
    const Case cases[6] = {
        {d0 >= d1 && d1 >= d2, 0, 1, {s - d0, d0 - d1, d1 - d2, d2}},
        {d0 >= d2 && d2 > d1, 0, 2, {s - d0, d0 - d2, d2 - d1, d1}},
        {d1 > d0 && d0 > d2, 1, 0, {s - d1, d1 - d0, d0 - d2, d2}},
        {d1 > d2 && d2 >= d0, 1, 2, {s - d1, d1 - d2, d2 - d0, d0}},
        {d2 > d0 && d0 >= d1, 2, 0, {s - d2, d2 - d0, d0 - d1, d1}},
        {d2 >= d1 && d1 > d0, 2, 1, {s - d2, d2 - d1, d1 - d0, d0}},
    };
    for (const Case& c : cases) {
        if (!c.holds) {
            continue;
        }
        int one[3] = {0, 0, 0};
        one[c.first] = 1;
        int two[3] = {one[0], one[1], one[2]};
        two[c.second] = 1;
        const double* c0 = corner(0, 0, 0);
        const double* c1 = corner(one[0], one[1], one[2]);
        const double* c2 = corner(two[0], two[1], two[2]);
        const double* c3 = corner(1, 1, 1);
        Rgb out;
        for (int ch = 0; ch < 3; ++ch) {
            out[ch] = (c.w[0] * c0[ch] + c.w[1] * c1[ch] + c.w[2] * c2[ch] + c.w[3] * c3[ch]) / s;
        }
        return out;
    }
    return {0.0, 0.0, 0.0};
}

Rgb sample(const ZelColorConverter& lattice, Rgb p) {
    std::vector<double> result(7, 99.0);
    sampleTetrahedral(result, p, lattice);
    EXPECT_EQ(result.size(), 3u);
    return {result[0], result[1], result[2]};
}

void expectSameBits(const Rgb& got, const Rgb& want, const Rgb& p) {
    for (int ch = 0; ch < 3; ++ch) {
        EXPECT_EQ(got[ch], want[ch])
            << "point (" << p[0] << ", " << p[1] << ", " << p[2] << ") channel " << ch;
    }
}

TEST(TetrahedralSampling, MatchesDefinitionOnRandomAndSpecialPoints) {
    const int n = 7;
    const ZelColorConverter lattice = zel::test::randomLattice(n, 11);
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> inside(0.0, 1.0);
    std::uniform_real_distribution<double> wide(-0.5, 1.6);
    std::uniform_int_distribution<int> node(0, n - 1);
    const double step = 1.0 / (n - 1);
    std::vector<Rgb> points;
    for (int i = 0; i < 400; ++i) {
        points.push_back({inside(rng), inside(rng), inside(rng)});
        points.push_back({wide(rng), wide(rng), wide(rng)});
        // On a node, and on a cell face (one axis on a node).
        points.push_back({node(rng) * step, node(rng) * step, node(rng) * step});
        points.push_back({node(rng) * step, inside(rng), inside(rng)});
        // Ties between offsets inside one cell: every pair equal, and all three.
        const double cell = node(rng) * step;
        const double a = inside(rng) * step;
        const double b = inside(rng) * step;
        points.push_back({cell + a, cell + a, cell + b});
        points.push_back({cell + a, cell + b, cell + a});
        points.push_back({cell + b, cell + a, cell + a});
        points.push_back({cell + a, cell + a, cell + a});
    }
    for (const Rgb& p : points) {
        expectSameBits(sample(lattice, p), referenceSample(lattice, p), p);
    }
}

TEST(TetrahedralSampling, NodesReturnTheirValues) {
    const int n = 5;
    const ZelColorConverter lattice = zel::test::randomLattice(n, 3);
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            for (int k = 0; k < n; ++k) {
                const Rgb p = {i / 4.0, j / 4.0, k / 4.0};
                const Rgb got = sample(lattice, p);
                for (int ch = 0; ch < 3; ++ch) {
                    EXPECT_NEAR(got[ch], lattice.node(i, j, k)[ch], 1e-12);
                }
            }
        }
    }
    const Rgb top = sample(lattice, {1.0, 1.0, 1.0});
    EXPECT_EQ(top[0], lattice.node(4, 4, 4)[0]);
    EXPECT_EQ(top[2], lattice.node(4, 4, 4)[2]);
}

// Tetrahedral interpolation reproduces an affine look exactly, and extrapolates it
// linearly below 0; above 1 it holds the edge value.
TEST(TetrahedralSampling, ExtrapolatesBelowZeroAndHoldsAboveOne) {
    const auto affine = [](double r, double g, double b) {
        return Rgb{0.25 + 0.5 * r, 0.125 + 0.25 * g + 0.25 * b, 0.75 * b - 0.5 * r};
    };
    const ZelColorConverter lattice = zel::test::latticeOf(9, affine);
    const Rgb below = sample(lattice, {-0.1, 0.3, 0.6});
    const Rgb want = affine(-0.1, 0.3, 0.6);
    for (int ch = 0; ch < 3; ++ch) {
        EXPECT_NEAR(below[ch], want[ch], 1e-9);
    }
    const Rgb above = sample(lattice, {1.3, 0.3, 0.6});
    const Rgb edge = sample(lattice, {1.0, 0.3, 0.6});
    for (int ch = 0; ch < 3; ++ch) {
        EXPECT_NEAR(above[ch], edge[ch], 1e-12);
    }
}

TEST(TetrahedralSampling, NonNumbersAndSingleNodeLatticesGiveZero) {
    const ZelColorConverter lattice = zel::test::randomLattice(4, 9);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    expectSameBits(sample(lattice, {0.5, nan, 0.5}), {0.0, 0.0, 0.0}, {0.5, nan, 0.5});

    const ZelColorConverter single = zel::test::latticeOf(1, [](double, double, double) {
        return Rgb{0.5, 0.5, 0.5};
    });
    expectSameBits(sample(single, {0.2, 0.4, 0.6}), {0.0, 0.0, 0.0}, {0.2, 0.4, 0.6});

    // An unsized lattice is never read.
    ZelColorConverter empty;
    empty.rows = 3;
    expectSameBits(sample(empty, {0.2, 0.4, 0.6}), {0.0, 0.0, 0.0}, {0.2, 0.4, 0.6});
}

TEST(TetrahedralSampling, KeepsChannelsApart) {
    const ZelColorConverter lattice = zel::test::swappedLattice(5);
    const Rgb got = sample(lattice, {0.1, 0.5, 0.9});
    EXPECT_NEAR(got[0], 0.9, 1e-7);
    EXPECT_NEAR(got[1], 0.5, 1e-7);
    EXPECT_NEAR(got[2], 0.1, 1e-7);
}

}  // namespace
