#ifndef ZELGEN_ROW_ORDER_H
#define ZELGEN_ROW_ORDER_H

// A .cube file lists its lattice points with red varying fastest; the library's node table
// holds them with blue varying fastest, four floats a node: node (i, j, k), i the red index,
// at ((i * N + j) * N + k) * 4. These two functions convert between the orders.

#include <vector>

namespace zelgen {

// N^3 rows of three floats in .cube order -> N^3 nodes of four floats in node order (the
// fourth float of each node is 0).
std::vector<float> cubeRowsToNodeTable(int size, const std::vector<float>& rows);

// N^3 nodes of four floats in node order -> N^3 rows of three floats in .cube order.
std::vector<float> nodeTableToCubeRows(int size, const float* nodes);

}  // namespace zelgen

#endif  // ZELGEN_ROW_ORDER_H
