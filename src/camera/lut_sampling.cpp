#include "camera/lut_sampling.h"

namespace zel {

std::vector<std::uint32_t> lutSamplePositions(const LutSegmentTable& table) {
    const std::uint32_t last = table.boundaries[8];
    std::vector<std::uint32_t> positions;
    std::uint64_t position = table.boundaries[0];
    positions.push_back(static_cast<std::uint32_t>(position));
    for (std::size_t s = 0; s < 8; ++s) {
        const std::uint64_t step = std::uint64_t{1} << (table.exponents[s] & 31u);
        while (position < table.boundaries[s + 1]) {
            position += step;
            if (position > last) {
                position = last;
            }
            positions.push_back(static_cast<std::uint32_t>(position));
        }
    }
    return positions;
}

}  // namespace zel
