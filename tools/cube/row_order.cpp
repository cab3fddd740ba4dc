#include "cube/row_order.h"

#include <cstddef>

namespace zelgen {

namespace {

// Calls visit(row, node) for every lattice point, rows in .cube order (red fastest).
template <typename Visit>
void forEachPoint(std::size_t n, Visit visit) {
    std::size_t row = 0;
    for (std::size_t blue = 0; blue < n; ++blue) {
        for (std::size_t green = 0; green < n; ++green) {
            for (std::size_t red = 0; red < n; ++red, ++row) {
                visit(row, (red * n + green) * n + blue);
            }
        }
    }
}

std::size_t edge(int size) {
    return static_cast<std::size_t>(size > 0 ? size : 0);
}

}  // namespace

std::vector<float> cubeRowsToNodeTable(int size, const std::vector<float>& rows) {
    const std::size_t n = edge(size);
    std::vector<float> nodes(n * n * n * 4, 0.0f);
    forEachPoint(n, [&](std::size_t row, std::size_t node) {
        for (std::size_t channel = 0; channel < 3; ++channel) {
            nodes[node * 4 + channel] = rows[row * 3 + channel];
        }
    });
    return nodes;
}

std::vector<float> nodeTableToCubeRows(int size, const float* nodes) {
    const std::size_t n = edge(size);
    std::vector<float> rows(n * n * n * 3, 0.0f);
    forEachPoint(n, [&](std::size_t row, std::size_t node) {
        for (std::size_t channel = 0; channel < 3; ++channel) {
            rows[row * 3 + channel] = nodes[node * 4 + channel];
        }
    });
    return rows;
}

}  // namespace zelgen
