#ifndef ZEL_IO_RECORD_CATEGORY_H
#define ZEL_IO_RECORD_CATEGORY_H

// The category byte of a body entry: what kind of colour block its record holds. The
// writer's block tables give each block its category; the readers name records by it.
// Categories 0, 1 and 5 are the camera's fixed register tables.

#include <cstdint>

namespace zel {

constexpr std::uint8_t kMatrixRecord = 2;  // a 3x3 matrix
constexpr std::uint8_t kLutRecord = 3;     // a 1D LUT
constexpr std::uint8_t kCubeRecord = 4;    // a 3D LUT (cube)

// What a record of this category holds, for messages.
constexpr const char* recordName(std::uint8_t category) {
    switch (category) {
        case kCubeRecord:
            return "cube";
        case kLutRecord:
            return "1D LUT";
        case kMatrixRecord:
            return "matrix";
        default:
            return "register table";
    }
}

}  // namespace zel

#endif  // ZEL_IO_RECORD_CATEGORY_H
