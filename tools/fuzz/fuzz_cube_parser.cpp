// libFuzzer target: the library's .cube parser (zelgen's, the Python module's and the C
// interface's; whole text, and streamed in small pieces, which must agree), then the lattice
// and the writer on whatever it accepts; the written text must read back to the same values.
// Any grid size is fuzzed: the node table's pages are touched only as rows arrive, and
// scripts/fuzz caps the memory a run may take.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>

#include "cube/cube_writer.h"
#include "cube_reader/cube_parser.h"
#include "cube_reader/look_lattice.h"

namespace {

bool sameTable(const zel::io::NodeTable& a, const zel::io::NodeTable& b) {
    return a.size() == b.size() &&
           std::memcmp(a.data(), b.data(), a.nodeCount() * 4 * sizeof(float)) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string wholeError;
    std::string pieceError;
    zel::io::CubeLut whole;
    zel::io::CubeLut pieces;
    try {
        whole = zel::io::parseCubeText(text, "fuzz.cube");
    } catch (const zel::io::CubeParseError& e) {
        wholeError = e.what();
    }
    try {
        std::istringstream in{std::string(text)};
        pieces = zel::io::parseCubeStream(in, "fuzz.cube", 16);
    } catch (const zel::io::CubeParseError& e) {
        pieceError = e.what();
    }
    if (wholeError != pieceError) {
        std::abort();
    }
    if (!wholeError.empty()) {
        return 0;  // a refused file is a valid outcome
    }
    if (!sameTable(whole.nodes, pieces.nodes)) {
        std::abort();
    }
    const int grid = whole.size;
    const zel::io::NodeTable lattice = zel::io::lookLattice(std::move(whole));
    const std::string written = zelgen::formatCubeText("", grid, lattice.data());
    const zel::io::CubeLut again = zel::io::parseCubeText(written, "written.cube");
    if (!sameTable(again.nodes, lattice)) {
        std::abort();
    }
    return 0;
}
