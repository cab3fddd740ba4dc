#ifndef ZEL_CUBE_READER_LOOK_LATTICE_H
#define ZEL_CUBE_READER_LOOK_LATTICE_H

// The lattice a job gets from a parsed .cube file. A plain 3D table at its own grid size is
// handed over as it is. A file with a 1D shaper, or a job asking for another grid size, is
// sampled onto a new lattice: for each node, the input colour (i, j, k) / (G - 1) goes per
// channel through the shaper (linear between its entries, the shaper's input range spread
// over them, clamped at both ends), the result is placed in the 3D table's input domain
// (clamped to it) and the 3D table is read there by trilinear interpolation.

#include "cube_reader/cube_lut.h"
#include "cube_reader/node_table.h"

namespace zel::io {

// `gridSize` 0 keeps the 3D table's own size.
NodeTable lookLattice(CubeLut&& lut, int gridSize = 0);

}  // namespace zel::io

#endif  // ZEL_CUBE_READER_LOOK_LATTICE_H
