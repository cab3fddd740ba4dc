#ifndef ZELGEN_CUBE_WRITER_H
#define ZELGEN_CUBE_WRITER_H

// .cube text for a look the library returned: the job's header lines, then one data line
// per lattice point in .cube order, each number in the shortest form that reads back as
// exactly the same 32-bit float.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace zelgen {

// Hands the text to `sink` in pieces of about a megabyte, so a large look is never held
// as text whole. `header` is the job's header text (lines ended by CR LF); data lines use
// the header's line end. A header without a "LUT_3D_SIZE" line (a job may leave it empty)
// gets one, so the text is always a complete .cube file. `nodes` is a node table of
// size^3 nodes of four floats (cube_reader/node_table.h).
void writeCubeText(std::string_view header, int size, const float* nodes,
                   const std::function<void(std::string_view)>& sink);

// The same text as one string.
std::string formatCubeText(std::string_view header, int size, const float* nodes);

}  // namespace zelgen

#endif  // ZELGEN_CUBE_WRITER_H
