#ifndef ZEL_CUBE_READER_NODE_TABLE_H
#define ZEL_CUBE_READER_NODE_TABLE_H

// A look's lattice as the library takes it: N^3 nodes of four floats, node (i, j, k) with i
// the red index at ((i * N + j) * N + k) * 4, blue varying fastest, the fourth float 0.
//
// The storage is not zero-filled when it is made: a 255-point table is 265 MB, and its
// pages are touched only as values are written, so a file that is refused after its size
// line costs no memory, and a complete one is not written twice.

#include <cstddef>
#include <memory>

namespace zel::io {

class NodeTable {
  public:
    NodeTable() = default;
    // Storage for size^3 nodes, their values not yet written.
    explicit NodeTable(int size);

    int size() const { return size_; }
    std::size_t nodeCount() const { return nodeCount_; }
    float* data() { return values_.get(); }
    const float* data() const { return values_.get(); }

    // The node of red index i, green j, blue k.
    std::size_t nodeIndex(std::size_t i, std::size_t j, std::size_t k) const {
        const auto n = static_cast<std::size_t>(size_);
        return (i * n + j) * n + k;
    }

  private:
    struct FreeValues {
        void operator()(float* values) const;
    };

    int size_ = 0;
    std::size_t nodeCount_ = 0;
    std::unique_ptr<float, FreeValues> values_;
};

}  // namespace zel::io

#endif  // ZEL_CUBE_READER_NODE_TABLE_H
