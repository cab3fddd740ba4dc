#ifndef ZEL_CAMERA_LUT_SAMPLING_H
#define ZEL_CAMERA_LUT_SAMPLING_H

// Where a camera LUT memory samples its curve: positions generated from nine segment
// boundaries and eight step exponents. The first position is B0; within segment s the
// position advances by 2^E[s] while it is below B[s+1], each step recorded. A step past
// the last boundary lands on the last boundary (65535 for the 16-bit tables), which ends
// the list.

#include <array>
#include <cstdint>
#include <vector>

namespace zel {

struct LutSegmentTable {
    std::array<std::uint32_t, 9> boundaries;
    std::array<std::uint32_t, 8> exponents;
};

std::vector<std::uint32_t> lutSamplePositions(const LutSegmentTable& table);

}  // namespace zel

#endif  // ZEL_CAMERA_LUT_SAMPLING_H
