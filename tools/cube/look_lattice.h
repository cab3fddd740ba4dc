#ifndef ZELGEN_LOOK_LATTICE_H
#define ZELGEN_LOOK_LATTICE_H

// The lattice a job gets from a parsed .cube file. A plain 3D table at its own grid size is
// handed over as it is. A file with a 1D shaper, or a job asking for another grid size, is
// sampled onto a new lattice: for each node, the input colour (i, j, k) / (G - 1) goes per
// channel through the shaper (linear between its entries, the shaper's input range spread
// over them, clamped at both ends), the result is placed in the 3D table's input domain
// (clamped to it) and the 3D table is read there by trilinear interpolation.

#include "cube/cube_parser.h"
#include "cube/node_table.h"

namespace zelgen {

// `gridSize` 0 keeps the 3D table's own size.
NodeTable lookLattice(CubeLut&& lut, int gridSize = 0);

}  // namespace zelgen

#endif  // ZELGEN_LOOK_LATTICE_H
