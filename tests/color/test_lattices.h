#ifndef ZEL_TESTS_COLOR_TEST_LATTICES_H
#define ZEL_TESTS_COLOR_TEST_LATTICES_H

// Host lattices for the colour tests, each filled through the host's float node table
// (four floats a node, blue fastest) as a job would be.

#include <array>
#include <cstdint>
#include <functional>
#include <random>
#include <vector>

#include "color/color_converter.h"

namespace zel::test {

using NodeFunction = std::function<std::array<double, 3>(double r, double g, double b)>;

// Node (i, j, k) holds f(i / (N - 1), j / (N - 1), k / (N - 1)).
inline ZelColorConverter latticeOf(std::int32_t n, const NodeFunction& f) {
    std::vector<float> nodes(static_cast<std::size_t>(n * n * n) * 4, -7.0f);
    const double last = static_cast<double>(n - 1);
    for (std::int32_t i = 0; i < n; ++i) {
        for (std::int32_t j = 0; j < n; ++j) {
            for (std::int32_t k = 0; k < n; ++k) {
                const auto v = f(i / last, j / last, k / last);
                float* node = &nodes[static_cast<std::size_t>(((i * n + j) * n + k) * 4)];
                node[0] = static_cast<float>(v[0]);
                node[1] = static_cast<float>(v[1]);
                node[2] = static_cast<float>(v[2]);
            }
        }
    }
    ZelColorConverter lattice;
    lattice.initLattice(kKindCube, n, 3);
    lattice.loadNodeValues(nodes.data());
    return lattice;
}

// A look that swaps red and blue: a red/blue index mix-up anywhere cannot pass with it.
inline ZelColorConverter swappedLattice(std::int32_t n) {
    return latticeOf(n, [](double r, double g, double b) {
        return std::array<double, 3>{b, g, r};
    });
}

inline ZelColorConverter randomLattice(std::int32_t n, std::uint32_t seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> value(-0.2, 1.2);
    return latticeOf(n, [&](double, double, double) {
        return std::array<double, 3>{value(rng), value(rng), value(rng)};
    });
}

}  // namespace zel::test

#endif  // ZEL_TESTS_COLOR_TEST_LATTICES_H
