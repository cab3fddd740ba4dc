#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "test_lattices.h"

namespace {

using zel::test::Rgb;
using zel::test::sampleAt;

// The lookup written out from its definition: corners fetched by their u, v, w digits,
// the case table as data, the first row that holds wins.
Rgb referenceSample(const ZelColorConverter& lattice, Rgb p) {
    const int n = lattice.rows;
    const double s = 1.0 / (n - 1);
    int base[3];
    double d[3];
    for (int a = 0; a < 3; ++a) {
        const double t = std::isnan(p[a]) ? 0.0 : std::clamp((n - 1) * p[a], 0.0, 65535.0);
        base[a] = std::min(static_cast<int>(t), n - 1);
        d[a] = p[a] - static_cast<double>(base[a]) / (n - 1);
    }
    const auto corner = [&](const int(&uvw)[3]) {
        return lattice.node(std::min(base[0] + uvw[0], n - 1), std::min(base[1] + uvw[1], n - 1),
                            std::min(base[2] + uvw[2], n - 1));
    };
    const double d0 = d[0], d1 = d[1], d2 = d[2];
    const struct {
        bool holds;
        int c1[3], c2[3];
        double w[4];
    } rows[6] = {
        {d0 >= d1 && d1 >= d2, {1, 0, 0}, {1, 1, 0}, {s - d0, d0 - d1, d1 - d2, d2}},
        {d0 >= d2 && d2 > d1, {1, 0, 0}, {1, 0, 1}, {s - d0, d0 - d2, d2 - d1, d1}},
        {d1 > d0 && d0 > d2, {0, 1, 0}, {1, 1, 0}, {s - d1, d1 - d0, d0 - d2, d2}},
        {d1 > d2 && d2 >= d0, {0, 1, 0}, {0, 1, 1}, {s - d1, d1 - d2, d2 - d0, d0}},
        {d2 > d0 && d0 >= d1, {0, 0, 1}, {1, 0, 1}, {s - d2, d2 - d0, d0 - d1, d1}},
        {d2 >= d1 && d1 > d0, {0, 0, 1}, {0, 1, 1}, {s - d2, d2 - d1, d1 - d0, d0}},
    };
    for (const auto& row : rows) {
        if (row.holds) {
            const double* c[4] = {corner({0, 0, 0}), corner(row.c1), corner(row.c2),
                                  corner({1, 1, 1})};
            Rgb out;
            for (int ch = 0; ch < 3; ++ch) {
                out[ch] = (row.w[0] * c[0][ch] + row.w[1] * c[1][ch] + row.w[2] * c[2][ch] +
                           row.w[3] * c[3][ch]) /
                          s;
            }
            return out;
        }
    }
    return {0.0, 0.0, 0.0};
}

TEST(TetrahedralSampling, MatchesDefinitionInsideOnNodesFacesTiesAndOutside) {
    const int n = 7;
    const ZelColorConverter lattice = zel::test::randomLattice(n, 11);
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::uniform_real_distribution<double> wide(-0.5, 1.6);
    std::uniform_int_distribution<int> node(0, n - 1);
    const double step = 1.0 / (n - 1);
    for (int i = 0; i < 400; ++i) {
        const double cell = node(rng) * step, a = cell + unit(rng) * step,
                     b = cell + unit(rng) * step;
        const Rgb points[] = {
            {unit(rng), unit(rng), unit(rng)},
            {wide(rng), wide(rng), wide(rng)},
            {node(rng) * step, node(rng) * step, node(rng) * step},  // a node
            {node(rng) * step, unit(rng), unit(rng)},                // a cell face
            {a, a, b},
            {a, b, a},
            {b, a, a},
            {a, a, a},  // ties
        };
        for (const Rgb& p : points) {
            ASSERT_EQ(sampleAt(lattice, p), referenceSample(lattice, p))
                << "(" << p[0] << ", " << p[1] << ", " << p[2] << ")";
        }
    }
}

// An affine look is reproduced, extrapolated below 0 and held at its edge above 1; the
// top corner returns the last node.
TEST(TetrahedralSampling, ReproducesAffineLooksAndHoldsTheEdge) {
    const auto affine = [](double r, double g, double b) {
        return Rgb{0.25 + 0.5 * r, 0.125 + 0.25 * g + 0.25 * b, 0.75 * b - 0.5 * r};
    };
    const ZelColorConverter lattice = zel::test::latticeOf(9, affine);
    const Rgb below = sampleAt(lattice, {-0.1, 0.3, 0.6}), want = affine(-0.1, 0.3, 0.6);
    const Rgb above = sampleAt(lattice, {1.3, 0.3, 0.6}), edge = sampleAt(lattice, {1, 0.3, 0.6});
    const Rgb top = sampleAt(lattice, {1.0, 1.0, 1.0});
    for (int ch = 0; ch < 3; ++ch) {
        EXPECT_NEAR(below[ch], want[ch], 1e-9);
        EXPECT_NEAR(above[ch], edge[ch], 1e-12);
        EXPECT_EQ(top[ch], lattice.node(8, 8, 8)[ch]);
    }
    const Rgb swapped = sampleAt(zel::test::swappedLattice(5), {0.1, 0.5, 0.9});
    EXPECT_NEAR(swapped[0], 0.9, 1e-7);
    EXPECT_NEAR(swapped[2], 0.1, 1e-7);
}

// A job reads the host's float table in place; every lookup, outside the unit cube and
// for non-numbers too, must give what a double copy of the table gives.
TEST(TetrahedralSampling, AViewOfTheHostTableLooksUpWhatACopyLooksUp) {
    const int n = 6;
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> value(-0.3, 1.4);
    const std::vector<float> nodes = zel::test::hostNodesOf(n, [&](double, double, double) {
        return Rgb{value(rng), value(rng), value(rng)};
    });
    ZelColorConverter copy;
    copy.initLattice(zel::kKindCube, n, 3);
    copy.loadNodeValues(nodes.data());
    ZelColorConverter view;
    view.viewNodeValues(n, nodes.data());
    EXPECT_TRUE(view.cube.empty());
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (int i = 0; i < 2000; ++i) {
        Rgb p{value(rng), value(rng), value(rng)};
        p[static_cast<std::size_t>(i % 3)] = i % 50 == 0 ? nan : p[static_cast<std::size_t>(i % 3)];
        ASSERT_EQ(sampleAt(view, p), sampleAt(copy, p))
            << "(" << p[0] << ", " << p[1] << ", " << p[2] << ")";
    }
}

TEST(TetrahedralSampling, NonNumbersSingleNodesAndUnsizedLatticesGiveZero) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    ZelColorConverter unsized;
    unsized.rows = 3;
    EXPECT_EQ(sampleAt(zel::test::randomLattice(4, 9), {0.5, nan, 0.5}), (Rgb{0, 0, 0}));
    const auto white = [](double, double, double) { return Rgb{1, 1, 1}; };
    EXPECT_EQ(sampleAt(zel::test::latticeOf(1, white), {0.2, 0.4, 0.6}), (Rgb{0, 0, 0}));
    EXPECT_EQ(sampleAt(unsized, {0.2, 0.4, 0.6}), (Rgb{0, 0, 0}));
}

}  // namespace
