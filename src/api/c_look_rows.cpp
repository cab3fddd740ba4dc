#include "api/c_look_rows.h"

#include <cmath>
#include <string>

#include "zel/zel_c.h"

namespace zel {

std::size_t rowOf(std::int32_t order, std::size_t n, std::size_t i, std::size_t j, std::size_t k) {
    return order == ZEL_ORDER_BLUE_FASTEST ? (i * n + j) * n + k : (k * n + j) * n + i;
}

Failure nodesFromRows(const float* rows, std::int32_t gridSize, std::int32_t order,
                      std::vector<float>& nodes) {
    const auto n = static_cast<std::size_t>(gridSize);
    nodes.assign(n * n * n * 4, 0.0f);
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = 0; j < n; ++j) {
            for (std::size_t k = 0; k < n; ++k) {
                const std::size_t row = rowOf(order, n, i, j, k);
                float* node = &nodes[((i * n + j) * n + k) * 4];
                for (std::size_t c = 0; c < 3; ++c) {
                    const float value = rows[row * 3 + c];
                    if (!std::isfinite(value)) {
                        return fail(ZEL_ERROR_ARGUMENT, "lut row " + std::to_string(row) +
                                                            " holds a value that is not a "
                                                            "finite number");
                    }
                    node[c] = value;
                }
            }
        }
    }
    return {};
}

}  // namespace zel
