// libFuzzer target: zelgen's .cube parser, then the row-order conversion and the writer on
// whatever it accepts, which must read back to the same values.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "cube/cube_parser.h"
#include "cube/cube_writer.h"
#include "cube/row_order.h"
#include "fuzz/fuzz_limits.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (zelgen::fuzz::asksForLargeGrid(text)) {
        return 0;
    }
    try {
        const zelgen::CubeLut lut = zelgen::parseCubeText(text, "fuzz.cube");
        const std::vector<float> nodes = zelgen::cubeRowsToNodeTable(lut.size, lut.rows);
        const std::vector<float> rows = zelgen::nodeTableToCubeRows(lut.size, nodes.data());
        const std::string written = zelgen::formatCubeText("", lut.size, rows);
        const zelgen::CubeLut again = zelgen::parseCubeText(written, "written.cube");
        if (again.rows != lut.rows) {
            std::abort();
        }
    } catch (const zelgen::CubeParseError&) {
        // A refused file is a valid outcome.
    }
    return 0;
}
