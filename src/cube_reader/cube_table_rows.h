#ifndef ZEL_CUBE_READER_CUBE_TABLE_ROWS_H
#define ZEL_CUBE_READER_CUBE_TABLE_ROWS_H

// The rows of a .cube file's 3D table stored into a node table as they arrive. Rows come
// red fastest, nodes are stored blue fastest: a row written straight to its node would
// touch a new page for every row of a large look. Rows are gathered for a band of kBand
// blue values, arranged so that each node's band is contiguous, and the band is then copied
// into the node table in runs of kBand nodes.

#include <cstddef>
#include <vector>

#include "cube_reader/node_table.h"

namespace zel::io {

class CubeTableRows {
  public:
    // Rows for `nodes`, which must outlive this and keep its storage.
    explicit CubeTableRows(NodeTable& nodes);

    // Stores the next row's red, green and blue. The caller stores no more than
    // nodes.nodeCount() rows.
    void store(const float* values);

  private:
    static constexpr std::size_t kBand = 16;

    void copyBand();

    NodeTable* nodes_;
    std::size_t edge_;
    // The next row's lattice point and its place in the band.
    std::size_t red_ = 0;
    std::size_t green_ = 0;
    std::size_t blue_ = 0;
    std::size_t bandStart_ = 0;
    std::size_t bandSlot_ = 0;
    std::vector<float> band_;
};

}  // namespace zel::io

#endif  // ZEL_CUBE_READER_CUBE_TABLE_ROWS_H
