#ifndef ZEL_CUBE_READER_CUBE_ROW_ORDER_H
#define ZEL_CUBE_READER_CUBE_ROW_ORDER_H

// A .cube file lists its lattice points with red varying fastest; the library's node table
// holds them with blue varying fastest (see node_table.h). This walk gives, row after row in
// .cube order, the node each row belongs to, without a division per row.

#include <cstddef>
#include <cstring>

#include "cube_reader/node_table.h"

namespace zel::io {

class CubeRowOrder {
  public:
    explicit CubeRowOrder(std::size_t size) : size_(size), redStride_(size * size) {}

    // The node index of the current row.
    std::size_t node() const { return node_; }

    // Moves to the next row: red steps first, then green, then blue.
    void advance() {
        if (++red_ < size_) {
            node_ += redStride_;
            return;
        }
        red_ = 0;
        if (++green_ == size_) {
            green_ = 0;
            ++blue_;
        }
        node_ = green_ * size_ + blue_;
    }

  private:
    std::size_t size_;
    std::size_t redStride_;
    std::size_t red_ = 0;
    std::size_t green_ = 0;
    std::size_t blue_ = 0;
    std::size_t node_ = 0;
};

// Copies a node table into rows of red, green and blue in .cube order, red fastest:
// 3 * nodes.nodeCount() floats from `rows`.
inline void copyRowsInCubeOrder(const NodeTable& nodes, float* rows) {
    CubeRowOrder order(static_cast<std::size_t>(nodes.size()));
    for (std::size_t row = 0; row < nodes.nodeCount(); ++row, order.advance(), rows += 3) {
        std::memcpy(rows, nodes.data() + order.node() * 4, sizeof(float) * 3);
    }
}

}  // namespace zel::io

#endif  // ZEL_CUBE_READER_CUBE_ROW_ORDER_H
