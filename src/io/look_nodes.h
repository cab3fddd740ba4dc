#ifndef ZEL_IO_LOOK_NODES_H
#define ZEL_IO_LOOK_NODES_H

// A look as the library takes it: `size`^3 nodes of four floats (red, green, blue and one
// unused), blue fastest.

#include <cstddef>
#include <vector>

namespace zel {

struct LookNodes {
    int size = 0;
    std::vector<float> values;

    std::size_t nodeCount() const {
        const auto n = static_cast<std::size_t>(size > 0 ? size : 0);
        return n * n * n;
    }
};

}  // namespace zel

#endif  // ZEL_IO_LOOK_NODES_H
