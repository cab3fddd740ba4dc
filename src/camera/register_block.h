#ifndef ZEL_CAMERA_REGISTER_BLOCK_H
#define ZEL_CAMERA_REGISTER_BLOCK_H

// The blocks of the camera register image, 0 to 75, by name. A block holds one register
// page, one memory image or a part of one; the blocks of the output passes and of the
// long chain's second path repeat the first pass's blocks at fixed strides.

namespace zel::block {

// Fixed tables.
constexpr int kTable0086 = 0;
constexpr int kTable0043 = 1;

// Matrix pages: four slots per pass, pass p at kMatrixPages + 4p, for passes 0 to 2.
constexpr int kMatrixPages = 2;
constexpr int kMatrixPagesPerPass = 4;
constexpr int kMatrixSlotInput = 0;      // the input (or, in later passes, second) matrix
constexpr int kMatrixSlotRangeGain = 1;  // the output range gain
constexpr int kMatrixSlotGain = 2;       // the look's gain matrix
constexpr int kMatrixSlotSecond = 3;     // the look's second matrix
constexpr int matrixPage(int pass, int slot) {
    return kMatrixPages + kMatrixPagesPerPass * pass + slot;
}

// The camera's LUT at 0100: control page, image data, head and tail; pass p at +4p.
constexpr int kLutControl0100 = 14;
constexpr int kLutImageData = 15;
constexpr int kLutImageHead = 16;
constexpr int kLutImageTail = 17;
constexpr int kLutBlocksPerPass = 4;

// The camera's LUT at 0180 and its image at 0183.
constexpr int kLutControl0180 = 26;
constexpr int kLutImage0183Data = 27;
constexpr int kLutImage0183Head = 28;
constexpr int kLutImage0183Tail = 29;

// The look's first 1D LUT: control page, memory data, head and tail (one list per
// channel), and the copy of its header.
constexpr int kFirstLutControl = 30;
constexpr int kFirstLutData = 31;
constexpr int kFirstLutHead = 32;
constexpr int kFirstLutTail = 33;
constexpr int kFirstLutHeader = 34;

// The second generation's LUT control pages at 0A00, one per pass.
constexpr int kLutControl0A00 = 35;

// The look's cubes: control page, begin entry, list selects, memory and end entry; cube
// instance i at kCubeControl + 5i, for instances 0 to 2.
constexpr int kCubeControl = 42;
constexpr int kCubeBegin = 43;
constexpr int kCubeSelect = 44;
constexpr int kCubeMemory = 45;
constexpr int kCubeEnd = 46;
constexpr int kCubeBlocksPerInstance = 5;

// Luma/chroma pages at 00C0, one per pass.
constexpr int kLumaChroma = 57;

// The long chain's second path: its colour matrices and range gain.
constexpr int kSecondPathColorMatrix = 60;
constexpr int kSecondPathRangeGain = 62;

// The look's second 1D LUT, as the first one's blocks.
constexpr int kSecondLutControl = 64;
constexpr int kSecondLutData = 65;
constexpr int kSecondLutHead = 66;
constexpr int kSecondLutTail = 67;
// Copies of the second 1D LUT's headers, instances 0 and 1.
constexpr int kSecondLutHeader0 = 72;
constexpr int kSecondLutHeader1 = 73;

// The second path's luma/chroma pages.
constexpr int kSecondPathLumaChroma = 74;

constexpr int kCount = 76;

}  // namespace zel::block

#endif  // ZEL_CAMERA_REGISTER_BLOCK_H
