#ifndef ZEL_READBACK_LOOK_NODES_H
#define ZEL_READBACK_LOOK_NODES_H

// A look as the library takes it: `size`^3 nodes of four floats (red, green, blue and one
// unused), blue fastest. The nodes are the look's own, or, for a host that already holds
// them in that form, read in place: the largest look is 265 MB, not worth a copy.

#include <cstddef>
#include <vector>

namespace zel {

struct LookNodes {
    int size = 0;
    std::vector<float> values;        // the nodes, when the look holds them
    const float* borrowed = nullptr;  // else the host's nodes, which outlive the look

    const float* data() const { return borrowed != nullptr ? borrowed : values.data(); }
    // Every node is there: borrowed nodes are the host's whole table.
    bool complete() const { return borrowed != nullptr || values.size() == nodeCount() * 4; }

    std::size_t nodeCount() const {
        const auto n = static_cast<std::size_t>(size > 0 ? size : 0);
        return n * n * n;
    }
};

}  // namespace zel

#endif  // ZEL_READBACK_LOOK_NODES_H
