#ifndef ZEL_CAMERA_LUT1D_WRITER_H
#define ZEL_CAMERA_LUT1D_WRITER_H

// The 1D LUTs of the camera chain as LUT memories: 512 16-bit words sampled at
// non-uniform input codes (the segment table), one memory per colour channel or one for
// all channels, with the page of LUT control registers that describes the sampling.

#include <cstdint>
#include <string>
#include <vector>

#include "camera/engine.h"
#include "camera/ini_buf.h"
#include "camera/lut_sampling.h"
#include "camera/param_buf.h"

// The LUT control page: 44 control registers, the 9 segment boundaries as 16-bit words (low
// byte first) from offset 2C and the 8 step exponents from 3E; 70 registers in all. The
// registers that steer the memory access sit at fixed offsets from the page's base.
constexpr std::size_t kLutControlRegisters = 44;
constexpr std::size_t kLutBoundaryOffset = 0x2C;
constexpr std::size_t kLutExponentOffset = 0x3E;
constexpr std::size_t kLutControlPageEntries = 70;
constexpr std::uint32_t kLutChannelEnableRegister = 0x03;
constexpr std::uint32_t kLutAccessRegister = 0x09;
constexpr std::uint32_t kLutRamSelectRegister = 0x0F;
// RAM select of the memory of all channels, then of red, green and blue.
constexpr std::uint32_t kLutRamSelect[] = {0x03, 0x00, 0x01, 0x02};

// The address of memory word `index` of a LUT whose window starts at `windowStart`: 9xxx,
// the window index held at its last value (8191) past the end.
constexpr std::uint32_t lutWindowAddress(std::uint32_t windowStart, std::size_t index) {
    const std::uint64_t window = windowStart + std::uint64_t{index};
    return 0x9000u | (static_cast<std::uint32_t>(window < 8191u ? window : 8191u) & 0xFFFu);
}

// Per channel, the curve at every 16-bit input code.
using DenseCurve = std::vector<std::vector<double>>;
constexpr std::size_t kDenseCodes = 65536;

// Segment tables 0 to 3 of the LUT memory; any other number selects table 0.
const zel::LutSegmentTable& lutSegmentTable(std::uint32_t number);

// Where the LUT of a code lives and how its curve is scaled: the control page base, the
// first memory window index (the window's addresses are 9xxx), the input code row `span`
// of the table reaches (xMax) and the value scale (yScale). Throws ZelException 4 for a
// code other than 8 or 14.
struct LutCodeFacts {
    std::uint32_t pageBase;
    std::uint32_t windowStart;
    double xMax;
    double yScale;
};
LutCodeFacts lutCodeFacts(std::uint32_t code);

// Writes the 1D LUT of block (code, instance), code 8 or 14, into its LUT control page and
// memories when its writeToMemory is 1; otherwise, and for a block whose header or table is
// missing, the register image is left as it is. Throws the engine error for another code.
void write1dLutBlock(const EngineConfig& config, const ZelSharedParamBuf& paramBuf,
                     ZelSharedIniBuf& iniBuf, std::uint32_t instance, std::uint32_t code);

// Resamples `rows` rows of `table` onto the dense curve (`channels` arrays, resized to
// kDenseCodes codes each): row i sits at input code i * xMax / span and its value is
// scaled by yScale, with linear interpolation between rows. Codes past the last row stay
// 0, except the last code (65535), which takes the last row's value.
void resample1dLut(const ParamTable& table, DenseCurve& dense, int channels, int rows, double span,
                   double xMax, double yScale);

// Builds the LUT memory image and control page of `code` from the dense curve and stores
// them: the control page into the code's control block, per channel the head, data and
// tail into list `channel` of the code's memory groups. Throws the engine error for a code
// other than 8 or 14.
void buildLutMemory(const EngineConfig& config, const DenseCurve& dense, std::uint32_t code,
                    int channels, std::uint32_t segmentTable, ZelSharedIniBuf& iniBuf,
                    bool shiftInput, bool addOffset, std::uint32_t channelMask, bool legalScale);

// The words of LUT memories: per channel memory, one 16-bit word per sample position.
using LutMemoryWords = std::vector<std::vector<std::uint32_t>>;

// Stores memory words as the camera loads them: the control page of `code` (8 or 14) with
// the segment table, per channel the head, the data (low byte first, "00" past the last
// word) and the tail. One channel fills the memory of all channels. Throws ZelException 4
// for another code.
void storeLutMemory(const EngineConfig& config, const LutMemoryWords& words, std::uint32_t code,
                    std::uint32_t segmentTable, ZelSharedIniBuf& iniBuf, bool shiftInput,
                    bool addOffset, std::uint32_t channelMask);

// Sets the head values (0, 1, RAM select) and tail values (0, channel enable) of the
// memory of `channel` (0 all channels, 1 to 3 red, green, blue) and returns the memory's
// name. Another channel prints "Error: 1D LUT" on the console's output stream and returns
// an empty name, leaving the RAM select value as it was.
std::string selectLutRam(std::uint32_t (&headValues)[3], std::uint32_t (&tailValues)[2],
                         int channel, std::uint32_t channelMask,
                         const zel::Console& console = zel::standardConsole());

// The camera's own control page of the first 1D LUT, loaded instead of a computed one:
// sizes `list` to 70 entries, fills them and returns 70.
int loadLutControl0800(RegisterList& list);

#endif  // ZEL_CAMERA_LUT1D_WRITER_H
