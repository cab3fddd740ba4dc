#ifndef ZELGEN_OCIO_LOOK_READER_H
#define ZELGEN_OCIO_LOOK_READER_H

// Looks evaluated by OpenColorIO's CPU processor on the look's lattice: node (i, j, k)
// receives the transform's output for the input (i, j, k) / (G - 1).
//
// The grid G is the one asked for; else the largest 3D table's in the transform (its
// lattice points are then the table's own nodes, so nothing is resampled); else
// kDefaultLookGrid. Built only where OpenColorIO is.

#include "formats/look_reader.h"

namespace zelgen {

// The files of `request` (one, or a chain) and its config transform, baked.
LookRead readThroughOcio(const LookRequest& request);

std::string ocioLibraryVersion();

}  // namespace zelgen

#endif  // ZELGEN_OCIO_LOOK_READER_H
