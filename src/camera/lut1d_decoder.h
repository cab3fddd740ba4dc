#ifndef ZEL_CAMERA_LUT1D_DECODER_H
#define ZEL_CAMERA_LUT1D_DECODER_H

// Reads a 1D LUT back from its control page and LUT memories: the segment table gives the
// sample positions, each memory the 16-bit word at every position. The inverse of the 1D
// LUT writer (lut1d_writer.h): a decoded word is the writer's curve at that position
// rounded to the nearest step (within half a word), and storing the decoded words gives
// the same registers again.

#include <cstdint>
#include <vector>

#include "camera/lut1d_writer.h"
#include "camera/lut_sampling.h"
#include "camera/register_entry.h"
#include "platform/decode_error.h"

// The register lists of one 1D LUT: its control page and, per memory (list), the head,
// data and tail. A data entry whose address is empty is taken as it comes (a record of
// values only); others must carry their window address.
struct LutRegisters {
    RegisterList control;
    RegisterGroup head;
    RegisterGroup data;
    RegisterGroup tail;
};

struct DecodedLut1d {
    std::uint32_t code = 0;             // 8 first 1D LUT, 14 second
    std::vector<std::uint8_t> control;  // the control page's values, 70 registers
    bool shiftInput = false;            // the curve starts at the input offset
    bool addOffset = false;             // the words carry the output offset
    std::uint32_t channelMask = 0;      // bit 0 red, 1 green, 2 blue
    zel::LutSegmentTable segments{};
    std::vector<std::uint32_t> positions;  // input code of each word
    LutMemoryWords words;  // per memory (one for all channels, or red, green, blue); none
                           // when the camera uses its own table

    // The memory's value at 16-bit input code `code` of `memory`, straight between the
    // sample positions and flat past the last one.
    double memoryValue(std::size_t memory, double code) const;
    // True when the words of every memory never fall; `where` receives the first position
    // index where one falls.
    bool monotonic(std::size_t* memory = nullptr, std::size_t* where = nullptr) const;
};

// Decodes the LUT of `code`. Throws zel::DecodeError for a control page or memory that does
// not have the shape the camera reads.
DecodedLut1d decodeLutMemory(std::uint32_t code, const LutRegisters& registers);

// The registers the writer stores for the decoded LUT.
LutRegisters encodeLutMemory(const DecodedLut1d& lut);

#endif  // ZEL_CAMERA_LUT1D_DECODER_H
