#ifndef ZELGEN_CUBE_WRITER_H
#define ZELGEN_CUBE_WRITER_H

// .cube text for a look the library returned: the job's header lines, then one data line
// per lattice point in .cube order, each number in the shortest form that reads back as
// exactly the same 32-bit float.

#include <string>
#include <string_view>
#include <vector>

namespace zelgen {

// `header` is the job's header text (lines ended by CR LF); data lines use the header's line
// end. A header without a "LUT_3D_SIZE" line (a job may leave it empty) gets one, so the
// text is always a complete .cube file. `rows` holds size^3 rows of three floats.
std::string formatCubeText(std::string_view header, int size, const std::vector<float>& rows);

}  // namespace zelgen

#endif  // ZELGEN_CUBE_WRITER_H
