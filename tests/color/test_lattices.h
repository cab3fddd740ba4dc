#ifndef ZEL_TESTS_COLOR_TEST_LATTICES_H
#define ZEL_TESTS_COLOR_TEST_LATTICES_H

// Host lattices for the colour tests, filled through the host's float node table (four
// floats a node, blue fastest) as a job fills them.

#include <array>
#include <functional>
#include <random>
#include <vector>

#include "color/color_converter.h"

namespace zel::test {

using Rgb = std::array<double, 3>;

// The host's node table of an N-grid whose node (i, j, k) holds f(i / (N - 1),
// j / (N - 1), k / (N - 1)); the fourth float of each node is a sentinel.
inline std::vector<float> hostNodesOf(int n, const std::function<Rgb(double, double, double)>& f) {
    std::vector<float> nodes(static_cast<std::size_t>(n * n * n) * 4, -7.0f);
    for (int node = 0; node < n * n * n; ++node) {
        const double last = n - 1;
        const Rgb v = f(node / (n * n) / last, node / n % n / last, node % n / last);
        for (int ch = 0; ch < 3; ++ch) {
            nodes[static_cast<std::size_t>(node * 4 + ch)] = static_cast<float>(v[ch]);
        }
    }
    return nodes;
}

inline ZelColorConverter latticeOf(int n, const std::function<Rgb(double, double, double)>& f) {
    const std::vector<float> nodes = hostNodesOf(n, f);
    ZelColorConverter lattice;
    lattice.initLattice(kKindCube, n, 3);
    lattice.loadNodeValues(nodes.data());
    return lattice;
}

// A look that swaps red and blue, so that a red/blue index mix-up cannot pass.
inline ZelColorConverter swappedLattice(int n) {
    return latticeOf(n, [](double r, double g, double b) { return Rgb{b, g, r}; });
}

inline ZelColorConverter randomLattice(int n, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> value(-0.2, 1.2);
    return latticeOf(n, [&](double, double, double) {
        return Rgb{value(rng), value(rng), value(rng)};
    });
}

inline Rgb sampleAt(const ZelColorConverter& lattice, Rgb p) {
    std::vector<double> out(7, 99.0);
    sampleTetrahedral(out, p, lattice);
    return out.size() == 3 ? Rgb{out[0], out[1], out[2]} : Rgb{-99, -99, -99};
}

}  // namespace zel::test

#endif  // ZEL_TESTS_COLOR_TEST_LATTICES_H
