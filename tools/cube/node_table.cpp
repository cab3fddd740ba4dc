#include "cube/node_table.h"

namespace zelgen {

NodeTable::NodeTable(int size) : size_(size > 0 ? size : 0) {
    const auto n = static_cast<std::size_t>(size_);
    nodeCount_ = n * n * n;
    // Default-initialised on purpose (see the header): no zero-fill pass.
    values_.reset(new float[nodeCount_ * 4]);
}

}  // namespace zelgen
