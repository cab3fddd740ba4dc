// libFuzzer target: zelgen check's reading of a look file's colour blocks, the block
// checks, and the rendering of what it decoded against a small identity look.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "readback/block_checks.h"
#include "readback/look_blocks_decoder.h"
#include "readback/look_fidelity.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const zel::DecodedLook look = zel::decodeLookBlocks(data, size);
        const zel::BlockReport report = zel::checkBlocks(look);
        (void)report.damaged();
        // An identity look of two nodes an axis, in node order (blue fastest).
        std::vector<float> nodes;
        for (int r = 0; r < 2; ++r) {
            for (int g = 0; g < 2; ++g) {
                for (int b = 0; b < 2; ++b) {
                    nodes.insert(nodes.end(), {float(r), float(g), float(b), 0.0f});
                }
            }
        }
        const zel::FidelityReport fidelity =
            zel::measureFidelity(look, zel::sourceLattice(2, nodes.data()), 64);
        (void)fidelity.withinLimits();
    } catch (const zel::DecodeError&) {
        // A file that cannot be walked is a valid outcome.
    }
    return 0;
}
