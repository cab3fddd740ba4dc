#ifndef ZEL_API_C_LOOK_ROWS_H
#define ZEL_API_C_LOOK_ROWS_H

// A host's look, N^3 rows of red, green and blue in the order it names, as the library's
// node table: four floats a node, blue fastest.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "api/c_failure.h"
#include "cube_reader/cube_lut.h"

namespace zel {

// The grid sizes a host's look may have: a .cube file's.
using io::kLargestGridSize;
using io::kSmallestGridSize;

// The row of node (red i, green j, blue k) in a LUT of `n` nodes an axis in `order`.
std::size_t rowOf(std::int32_t order, std::size_t n, std::size_t i, std::size_t j, std::size_t k);

// Fills `nodes` from `rows` (N = gridSize, already checked to be 2 to 255); a value that is
// not finite is refused with ZEL_ERROR_ARGUMENT.
Failure nodesFromRows(const float* rows, std::int32_t gridSize, std::int32_t order,
                      std::vector<float>& nodes);

}  // namespace zel

#endif  // ZEL_API_C_LOOK_ROWS_H
