#include "camera/lut3d_writer.h"
#include "camera/register_block.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPadding = 255.0;
constexpr std::uint32_t kPaddingWord = 0xE000;
constexpr std::uint32_t kLargestWord = 0xFFFF;
// The largest value a memory word holds (FFFF).
constexpr double kLargestNodeValue = kLargestWord / kCubeWordsPerUnit;
constexpr std::size_t kMaxCubeSize = 65535;

using NodePositions = std::array<std::uint32_t, kCubePositionSlots>;

// Where the 20 nodes of the first-generation grid sit on the input axis, per source
// encoding.
constexpr NodePositions kLogPositions = {760,  1095, 1430, 1764, 2099, 2433, 2768,
                                         3103, 3437, 3772, 4107, 4441, 4776, 5111,
                                         5445, 5780, 6114, 6449, 6784, 7118};
constexpr NodePositions kAcesCcPositions = {0,    326,  653,  980,  1307, 1634, 1960,
                                            2287, 2614, 2941, 3268, 3595, 3921, 4248,
                                            4575, 4902, 5229, 5556, 5882, 6209};
constexpr NodePositions kAcesCctPositions = {597,  892,  1188, 1483, 1778, 2074, 2369,
                                             2664, 2960, 3255, 3551, 3846, 4141, 4437,
                                             4732, 5028, 5323, 5618, 5914, 6209};

struct RegisterValue {
    std::uint32_t offset;
    std::uint32_t value;
};

// The second-generation page: every register "00" but these. The writer is the page's one
// owner: the default register tables leave the cube control pages alone.
constexpr RegisterValue kSecondGenerationPage[] = {{0x00, 0x03}, {0x02, 0x07}, {0x04, 0x0D},
                                                   {0x05, 0x22}, {0x0C, 0xF1}, {0x0D, 0xC1},
                                                   {0x0E, 0x07}};

// A control page of `entries` registers from "0400", all "00".
RegisterList blankControlPage(std::size_t entries) {
    RegisterList page(entries);
    for (std::size_t i = 0; i < entries; ++i) {
        page[i].setAddressNumber(kCubeControlBase + static_cast<std::uint32_t>(i));
        page[i].setValueNumber(0);
    }
    return page;
}

// Writes node position `slot` as a 16-bit word, low byte first, into its four registers.
void setNodePosition(RegisterList& page, std::size_t slot, std::uint32_t position) {
    const std::size_t at = kCubePositionOffset + 4 * slot;
    if (at + 1 < page.size()) {
        page[at].setValueNumber(position & 0xFFu);
        page[at + 1].setValueNumber((position >> 8) & 0xFFu);
    }
}

int loadFirstGenerationPage(RegisterList& list, const NodePositions& positions) {
    list = blankControlPage(kCubeFirstGenerationPageEntries);
    list[0x02].setValueNumber(0x07);
    for (std::size_t slot = 0; slot < kCubePositionSlots; ++slot) {
        setNodePosition(list, slot, positions[slot]);
    }
    return static_cast<int>(list.size());
}

CubeBlocks blocksOf(std::uint32_t instance, bool secondGeneration) {
    // The first generation keeps every cube after the first in the second cube's blocks.
    const int slot = instance == 0 ? 0 : instance == 1 || !secondGeneration ? 1 : 2;
    const int shift = slot * zel::block::kCubeBlocksPerInstance;
    return {zel::block::kCubeControl + shift, zel::block::kCubeBegin + shift,
            zel::block::kCubeSelect + shift, zel::block::kCubeMemory + shift,
            zel::block::kCubeEnd + shift};
}

// The cube and header of an instance; the first generation keeps every cube after the
// first in the second slot.
std::pair<const ParamCube*, const ParamHeader*> cubeOf(const ZelSharedParamBuf& paramBuf,
                                                       std::uint32_t instance,
                                                       bool secondGeneration) {
    if (instance == 0) {
        return {&paramBuf.cube0, &paramBuf.cubeHeader0};
    }
    if (instance == 1 || !secondGeneration) {
        return {&paramBuf.cube1, &paramBuf.cubeHeader1};
    }
    return {&paramBuf.cube2, &paramBuf.cubeHeader2};
}

// True when `cube` holds all the nodes its header announces.
bool holdsCube(const ParamCube& cube, const ParamHeader& header) {
    if (header.empty() || header[0] <= 0 || static_cast<std::size_t>(header[0]) > kMaxCubeSize) {
        return false;
    }
    const auto n = static_cast<std::size_t>(header[0]);
    return cube.values.size() >= n * n * n * 3;
}

void writeCube(const EngineConfig& config, const ZelSharedParamBuf& paramBuf,
               ZelSharedIniBuf& iniBuf, std::uint8_t sourceEncoding, std::uint32_t instance,
               std::int32_t fullCodeRange, bool secondGeneration) {
    const auto [cube, header] = cubeOf(paramBuf, instance, secondGeneration);
    if (!holdsCube(*cube, *header)) {
        return;
    }
    const int grid = secondGeneration ? kSecondGenerationGrid : kFirstGenerationGrid;
    const CubeBlocks blocks = blocksOf(instance, secondGeneration);
    storeCubeMemory(splitBanks(embedCube(grid, *cube, *header), grid), iniBuf, blocks);

    RegisterList& control = iniBuf.list(blocks.control);
    if (secondGeneration) {
        // The second-generation camera reads its nodes evenly spread whatever the domain.
        loadCubeControlSecondGeneration(control);
    } else if (fullCodeRange == 1) {
        computeCubeControl(control, config, (*header)[0]);
    } else if (sourceEncoding == zel::kSourceQEnc3Prims3 ||
               sourceEncoding == zel::kSourceQEnc3Film) {
        loadCubeControlLog(control);
    } else if (sourceEncoding == zel::kSourceAcesCc) {
        loadCubeControlAcesCc(control);
    } else if (sourceEncoding == zel::kSourceAcesCct) {
        loadCubeControlAcesCct(control);
    }
}

}  // namespace

std::uint32_t cubeMemoryWord(double value) {
    // Limiting first keeps a negative value from wrapping into a near-white word and every
    // value inside the integer range.
    double v = value;
    if (!(v >= 0.0)) {
        v = 0.0;
    } else if (v > kPadding) {
        v = kPadding;
    }
    const auto word = static_cast<std::uint32_t>((v + 0.5 / 1e6) * kCubeWordsPerUnit + 0.5);
    if (word <= kLargestWord) {
        return word;
    }
    // Only the padding past the look's nodes keeps the last four digits of its word (E000):
    // the camera never renders it. A look value that does not fit saturates, as the
    // camera's brightest value, instead of wrapping to a dark one.
    return v >= kPadding ? kPaddingWord : kLargestWord;
}

CubeNodes embedCube(int grid, const ParamCube& cube, const ParamHeader& header) {
    const std::size_t g = grid > 0 ? static_cast<std::size_t>(grid) : 0;
    const std::size_t n =
        header.empty() || header[0] <= 0 ? 0 : static_cast<std::size_t>(header[0]);
    CubeNodes nodes(g * g * g * 3, kPadding);
    for (std::size_t z = 0; z < g && z < n; ++z) {
        for (std::size_t y = 0; y < g && y < n; ++y) {
            for (std::size_t x = 0; x < g && x < n; ++x) {
                const std::size_t from = (x + n * (y + n * z)) * 3;
                const std::size_t to = (x + g * (y + g * z)) * 3;
                if (from + 2 < cube.values.size()) {
                    // A look value is held below the padding value so that only padding
                    // nodes become the padding word.
                    for (std::size_t ch = 0; ch < 3; ++ch) {
                        nodes[to + ch] = std::min(cube.values[from + ch], kLargestNodeValue);
                    }
                }
            }
        }
    }
    return nodes;
}

CubeBanks splitBanks(const CubeNodes& nodes, int grid) {
    // Splitting the raster stream by the parity of z, then of y, then of x, each split
    // keeping the order, puts every node straight at its bank position.
    const std::size_t g = grid > 0 ? static_cast<std::size_t>(grid) : 0;
    const std::size_t h = g / 2;
    CubeBanks banks;
    for (CubeNodes& bank : banks) {
        bank.assign(h * h * h * 3, 0.0);
    }
    for (std::size_t z = 0; z < 2 * h; ++z) {
        for (std::size_t y = 0; y < 2 * h; ++y) {
            for (std::size_t x = 0; x < 2 * h; ++x) {
                const std::size_t from = (x + g * (y + g * z)) * 3;
                if (from + 2 >= nodes.size()) {
                    continue;
                }
                CubeNodes& bank = banks[4 * (z % 2) + 2 * (y % 2) + (x % 2)];
                const std::size_t to = (x / 2 + h * (y / 2 + h * (z / 2))) * 3;
                bank[to] = nodes[from];
                bank[to + 1] = nodes[from + 1];
                bank[to + 2] = nodes[from + 2];
            }
        }
    }
    return banks;
}

void storeCubeMemory(const CubeBanks& banks, ZelSharedIniBuf& iniBuf, const CubeBlocks& blocks) {
    RegisterList& begin = iniBuf.list(blocks.begin);
    if (!begin.empty()) {
        begin[0].setAddressNumber(kCubeMemoryAccessRegister);
        begin[0].setValueNumber(0x01);
    }
    RegisterGroup& select = iniBuf.group(blocks.select);
    RegisterGroup& data = iniBuf.group(blocks.data);
    for (std::size_t ch = 0; ch < 3; ++ch) {
        for (std::size_t b = 0; b < banks.size(); ++b) {
            const std::size_t list = 8 * ch + b;
            if (list < select.size() && !select[list].empty()) {
                // The select value reads as the channel digit followed by the bank digit.
                select[list][0].setAddressNumber(kCubeListSelectRegister);
                select[list][0].setValueNumber(static_cast<std::uint32_t>(16 * ch + b));
            }
            if (list >= data.size()) {
                continue;
            }
            RegisterList& entries = data[list];
            const CubeNodes& bank = banks[b];
            const std::size_t words = bank.size() / 3;
            for (std::size_t i = 0; i < words && 2 * i + 1 < entries.size(); ++i) {
                const std::uint32_t word = cubeMemoryWord(bank[3 * i + ch]);
                for (std::size_t byte = 0; byte < 2; ++byte) {
                    const std::size_t index = 2 * i + byte;
                    entries[index].setAddressNumber(cubeWindowAddress(index));
                    entries[index].setValueNumber((word >> (8 * byte)) & 0xFFu);
                }
            }
        }
    }
    RegisterList& end = iniBuf.list(blocks.end);
    if (!end.empty()) {
        end[0].setAddressNumber(kCubeMemoryAccessRegister);
        end[0].setValueNumber(0x00);
    }
}

int loadCubeControlLog(RegisterList& list) {
    return loadFirstGenerationPage(list, kLogPositions);
}

int loadCubeControlAcesCc(RegisterList& list) {
    return loadFirstGenerationPage(list, kAcesCcPositions);
}

int loadCubeControlAcesCct(RegisterList& list) {
    return loadFirstGenerationPage(list, kAcesCctPositions);
}

int loadCubeControlSecondGeneration(RegisterList& list) {
    list = blankControlPage(kCubeSecondGenerationPageEntries);
    for (const RegisterValue& reg : kSecondGenerationPage) {
        list[reg.offset].setValueNumber(reg.value);
    }
    return static_cast<int>(list.size());
}

void computeCubeControl(RegisterList& list, const EngineConfig& config, std::int32_t size) {
    RegisterList page = blankControlPage(kCubeFirstGenerationPageEntries);
    const std::uint32_t offsetMode = config.cubeOffsetMode;
    const std::uint32_t offsetOn = offsetMode == 1 || offsetMode == 2 ? 1 : 0;
    const std::uint32_t flagOn = offsetMode == 1 || offsetMode == 3 ? 1 : 0;
    page[0x00].setValueNumber(offsetOn * 2 + flagOn);
    // The four channel flags are all on or all off: "0402" holds the first three as bits,
    // "0403" the fourth.
    const std::uint32_t channelFlag = config.cubeFlag != 0 ? 1 : 0;
    page[0x02].setValueNumber(4 * channelFlag + 2 * channelFlag + channelFlag);
    page[0x03].setValueNumber(channelFlag);

    // Node positions spread evenly over the 13-bit input axis; a cube of more than 20 nodes
    // keeps the first 20 slots, there being no more.
    const std::int32_t used = size < static_cast<std::int32_t>(kCubePositionSlots)
                                  ? size
                                  : static_cast<std::int32_t>(kCubePositionSlots);
    for (std::int32_t i = 0; i < used; ++i) {
        std::uint32_t position = 0;
        if (used > 1) {
            const double at = 8192.0 / static_cast<double>(used - 1) * static_cast<double>(i) + 0.5;
            position = static_cast<std::uint32_t>(at);
            if (position >= 8192) {
                position = 8191;
            }
        }
        setNodePosition(page, static_cast<std::size_t>(i), position);
    }
    for (std::size_t i = 0; i < page.size() && i < list.size(); ++i) {
        list[i] = page[i];
    }
}

void writeCubeBlock(const EngineConfig& config, const ZelSharedParamBuf& paramBuf,
                    ZelSharedIniBuf& iniBuf, std::uint8_t sourceEncoding, std::uint32_t instance,
                    std::int32_t fullCodeRange) {
    writeCube(config, paramBuf, iniBuf, sourceEncoding, instance, fullCodeRange, false);
}

void writeCubeBlock(const EngineConfig& config, const ZelSharedParamBuf& paramBuf,
                    ZelSharedIniBuf& iniBuf, std::uint8_t sourceEncoding, std::uint32_t instance,
                    std::int32_t fullCodeRange, std::uint32_t mode) {
    writeCube(config, paramBuf, iniBuf, sourceEncoding, instance, fullCodeRange,
              mode == static_cast<std::uint32_t>(zel::kSecondGeneration));
}
