// libFuzzer target: zelgen check's reading of a look file's colour blocks, the block
// checks, and the rendering of what it decoded against a small identity look.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "check/block_checks.h"
#include "check/fidelity.h"
#include "io/look_blocks_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const zel::DecodedLook look = zel::decodeLookBlocks(data, size);
        const zelgen::BlockReport report = zelgen::checkBlocks(look);
        (void)report.damaged();
        std::vector<float> rows;
        for (int b = 0; b < 2; ++b) {
            for (int g = 0; g < 2; ++g) {
                for (int r = 0; r < 2; ++r) {
                    rows.insert(rows.end(), {float(r), float(g), float(b)});
                }
            }
        }
        const zelgen::FidelityReport fidelity =
            zelgen::measureFidelity(look, zelgen::lookLattice(2, rows), 64);
        (void)fidelity.withinLimits();
    } catch (const zel::LookDecodeError&) {
        // A file that cannot be walked is a valid outcome.
    }
    return 0;
}
