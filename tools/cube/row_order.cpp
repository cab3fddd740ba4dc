#include "cube/row_order.h"

#include <cstddef>

namespace zelgen {

std::vector<float> cubeRowsToNodeTable(int size, const std::vector<float>& rows) {
    const auto n = static_cast<std::size_t>(size > 0 ? size : 0);
    std::vector<float> nodes(n * n * n * 4, 0.0f);
    std::size_t row = 0;
    for (std::size_t blue = 0; blue < n; ++blue) {
        for (std::size_t green = 0; green < n; ++green) {
            for (std::size_t red = 0; red < n; ++red, ++row) {
                const std::size_t node = (red * n + green) * n + blue;
                for (std::size_t channel = 0; channel < 3; ++channel) {
                    nodes[node * 4 + channel] = rows[row * 3 + channel];
                }
            }
        }
    }
    return nodes;
}

std::vector<float> nodeTableToCubeRows(int size, const float* nodes) {
    const auto n = static_cast<std::size_t>(size > 0 ? size : 0);
    std::vector<float> rows(n * n * n * 3, 0.0f);
    std::size_t row = 0;
    for (std::size_t blue = 0; blue < n; ++blue) {
        for (std::size_t green = 0; green < n; ++green) {
            for (std::size_t red = 0; red < n; ++red, ++row) {
                const std::size_t node = (red * n + green) * n + blue;
                for (std::size_t channel = 0; channel < 3; ++channel) {
                    rows[row * 3 + channel] = nodes[node * 4 + channel];
                }
            }
        }
    }
    return rows;
}

}  // namespace zelgen
