#include "io/body_block_tables.h"

#include "camera/register_block.h"
#include "io/record_category.h"

namespace zel::body {

namespace {

constexpr BlockLayout kStandardBlocks[] = {
    {0, 0, 0, Repeat::Single},                // 0
    {0, 5, 0, Repeat::Single},                // 1
    {0, kMatrixRecord, 0, Repeat::Single},    // 2
    {0, kMatrixRecord, 1, Repeat::Single},    // 3
    {0, kMatrixRecord, 2, Repeat::Single},    // 4
    {0, kMatrixRecord, 4, Repeat::Single},    // 5
    {0, kLutRecord, 0, Repeat::Lut},          // 6
    {0, kLutRecord, 1, Repeat::Lut},          // 7
    {0, kLutRecord, 2, Repeat::ByLutHeader},  // 8
    {0, kCubeRecord, 0, Repeat::Cube},        // 9
    {0, 1, 0, Repeat::Single},                // 10
    {1, 0, 0, Repeat::Single},                // 11
    {1, kMatrixRecord, 0, Repeat::Single},    // 12
    {1, kMatrixRecord, 1, Repeat::Single},    // 13
    {1, kLutRecord, 0, Repeat::Lut3},         // 14
    {1, kLutRecord, 1, Repeat::Lut},          // 15
    {1, 1, 0, Repeat::Single},                // 16
};

// The extended body has no second path: blocks 11 to 16 write nothing, and block 17 is the
// LUT control page 0A00.
constexpr BlockLayout kExtendedBlocks[] = {
    kStandardBlocks[0],      kStandardBlocks[1],      kStandardBlocks[2],
    kStandardBlocks[3],      kStandardBlocks[4],      kStandardBlocks[5],
    kStandardBlocks[6],      kStandardBlocks[7],      kStandardBlocks[8],
    kStandardBlocks[9],      kStandardBlocks[10],     {0, 0, 0, Repeat::None},
    {0, 0, 0, Repeat::None}, {0, 0, 0, Repeat::None}, {0, 0, 0, Repeat::None},
    {0, 0, 0, Repeat::None}, {0, 0, 0, Repeat::None}, {0, kLutRecord, 3, Repeat::FixedLut},  // 17
};

template <std::size_t N>
const BlockLayout* findBlock(const BlockLayout (&table)[N], std::int32_t blockNumber) {
    if (blockNumber < 0 || static_cast<std::size_t>(blockNumber) >= N) {
        return nullptr;
    }
    const BlockLayout* layout = &table[blockNumber];
    return layout->repeat == Repeat::None ? nullptr : layout;
}

// The first 1D LUT (block 8) repeats by its header, the copy in the register image: once
// when it is the fixed table (entry 4 of the header is 1), else four times for one channel and
// ten times for three (columns, entry 1); any other header gives no entries.
std::int32_t lutHeaderRepetitions(const OutputContext& context, const ZelSharedIniBuf& iniBuf) {
    const std::vector<std::int32_t>& header = iniBuf.header(zel::block::kFirstLutHeader);
    if (header.size() > 4 && header[4] == 1) {
        return context.repeatFixedLut;
    }
    if (header.size() > 1 && header[1] == 1) {
        return context.repeatLut;
    }
    if (header.size() > 1 && header[1] == 3) {
        return context.repeatLut3;
    }
    return 0;
}

constexpr Registers block(std::uint8_t a) {
    return {Source::Block, {a, a, a}};
}
constexpr Registers blocks(std::uint8_t a, std::uint8_t b) {
    return {Source::Block, {a, b, b}};
}
constexpr Registers blocks(std::uint8_t a, std::uint8_t b, std::uint8_t c) {
    return {Source::Block, {a, b, c}};
}
constexpr Registers group(std::uint8_t a) {
    return {Source::GroupList, {a, a, a}};
}
constexpr Registers groups(std::uint8_t a, std::uint8_t b, std::uint8_t c) {
    return {Source::GroupList, {a, b, c}};
}

constexpr bool kAddresses = false;
constexpr bool kValues = true;

// The same block in each pass's set: pass p reads first + p * stride.
constexpr Registers perPass(int first, int stride) {
    return blocks(static_cast<std::uint8_t>(first), static_cast<std::uint8_t>(first + stride),
                  static_cast<std::uint8_t>(first + 2 * stride));
}
constexpr Registers groupsPerPass(int first, int stride) {
    return groups(static_cast<std::uint8_t>(first), static_cast<std::uint8_t>(first + stride),
                  static_cast<std::uint8_t>(first + 2 * stride));
}
constexpr Registers matrixSlot(int slot) {
    return perPass(zel::block::matrixPage(0, slot), zel::block::kMatrixPagesPerPass);
}
constexpr Registers lutPerPass(int first) {
    return perPass(first, zel::block::kLutBlocksPerPass);
}
constexpr Registers cubePerPass(int first) {
    return perPass(first, zel::block::kCubeBlocksPerInstance);
}
constexpr Registers cubeGroupsPerPass(int first) {
    return groupsPerPass(first, zel::block::kCubeBlocksPerInstance);
}
constexpr Registers cubeEdge(Source edge, int first) {
    const Registers cube = cubePerPass(first);
    return {edge, cube.byPass};
}

using namespace zel::block;

// A standard body has two passes: only the first two blocks of each per-pass set count.
// clang-format off
constexpr SelectionRow kStandardSelection[] = {
    {0, 0, Match::Exact, 0, {0, 20}, kAddresses, 0, block(kTable0086), block(kTable0086)},
    {5, 0, Match::Exact, 0, {3, 3}, kAddresses, 0, block(kTable0043), block(kTable0043)},
    {kMatrixRecord, 0, Match::Exact, 0, {4, 24}, kAddresses, 0, matrixSlot(kMatrixSlotInput), blocks(kSecondPathColorMatrix, kSecondPathColorMatrix + 1)},
    {kMatrixRecord, 1, Match::Exact, 0, {11, 31}, kAddresses, 0, matrixSlot(kMatrixSlotRangeGain), blocks(kSecondPathRangeGain, kSecondPathRangeGain + 1)},
    {kMatrixRecord, 2, Match::Exact, 0, {7, 7}, kAddresses, 0, matrixSlot(kMatrixSlotGain), matrixSlot(kMatrixSlotGain)},
    {kMatrixRecord, 4, Match::Exact, 0, {8, 8}, kAddresses, 0, matrixSlot(kMatrixSlotSecond), matrixSlot(kMatrixSlotSecond)},
    {1, 0, Match::Exact, 0, {12, 32}, kAddresses, 0, perPass(kLumaChroma, 1), blocks(kSecondPathLumaChroma, kSecondPathLumaChroma + 1)},
    {kLutRecord, 0, Match::Exact, 0, {5, 25}, kAddresses, 0, lutPerPass(kLutControl0100), block(kSecondLutControl)},
    {kLutRecord, 0, Match::ThirdPlus1, 0, {5, 25}, kAddresses, 0, block(kLutImageHead), group(kSecondLutHead)},
    {kLutRecord, 0, Match::ThirdPlus2, 0, {6, 26}, kValues, 0, block(kLutImageData), group(kSecondLutData)},
    {kLutRecord, 0, Match::ThirdPlus3, 0, {5, 25}, kAddresses, 0, block(kLutImageTail), group(kSecondLutTail)},
    {kLutRecord, 1, Match::Exact, 0, {1, 21}, kAddresses, 0, block(kLutControl0180), block(kLutControl0180)},
    {kLutRecord, 1, Match::Exact, 1, {1, 21}, kAddresses, 0, block(kLutImage0183Head), block(kLutImage0183Head)},
    {kLutRecord, 1, Match::Exact, 2, {2, 22}, kValues, 0, block(kLutImage0183Data), block(kLutImage0183Data)},
    {kLutRecord, 1, Match::Exact, 3, {1, 21}, kAddresses, 0, block(kLutImage0183Tail), block(kLutImage0183Tail)},
    {kLutRecord, 2, Match::Exact, 0, {9, 9}, kAddresses, 0, block(kFirstLutControl), block(kFirstLutControl)},
    {kLutRecord, 2, Match::Exact, 1, {9, 9}, kAddresses, 0, group(kFirstLutHead), group(kFirstLutHead)},
    {kLutRecord, 2, Match::Exact, 2, {10, 10}, kValues, 0, group(kFirstLutData), group(kFirstLutData)},
    {kLutRecord, 2, Match::Exact, 3, {9, 9}, kAddresses, 0, group(kFirstLutTail), group(kFirstLutTail)},
    {kCubeRecord, 0, Match::Exact, 0, {13, 13}, kAddresses, 0, cubePerPass(kCubeControl), block(kCubeControl)},
    {kCubeRecord, 0, Match::Exact, 1, {13, 13}, kAddresses, 0, cubeEdge(Source::CubeOpen, kCubeBegin), cubeEdge(Source::CubeOpen, kCubeBegin)},
    {kCubeRecord, 0, Match::Exact, 50, {13, 13}, kAddresses, 0, cubeEdge(Source::CubeClose, kCubeEnd), cubeEdge(Source::CubeClose, kCubeEnd)},
    {kCubeRecord, 0, Match::CubeSelect, 0, {13, 13}, kAddresses, 0, cubeGroupsPerPass(kCubeSelect), cubeGroupsPerPass(kCubeSelect)},
    {kCubeRecord, 0, Match::CubeData, 0, {14, 14}, kValues, 2000, cubeGroupsPerPass(kCubeMemory), cubeGroupsPerPass(kCubeMemory)},
};
// clang-format on

// The extended body has first-path entries only; its third pass reads the third set of
// blocks. The 1D LUT tail of every pass is the first pass's.
constexpr Registers kUnused = block(kTable0086);
// clang-format off
constexpr SelectionRow kExtendedSelection[] = {
    {0, 0, Match::Exact, 0, {0, 0}, kAddresses, 0, block(kTable0086), kUnused},
    {5, 0, Match::Exact, 0, {3, 3}, kAddresses, 0, block(kTable0043), kUnused},
    {kMatrixRecord, 0, Match::Exact, 0, {4, 4}, kAddresses, 0, matrixSlot(kMatrixSlotInput), kUnused},
    {kMatrixRecord, 1, Match::Exact, 0, {11, 11}, kAddresses, 0, matrixSlot(kMatrixSlotRangeGain), kUnused},
    {kMatrixRecord, 2, Match::Exact, 0, {7, 7}, kAddresses, 0, matrixSlot(kMatrixSlotGain), kUnused},
    {kMatrixRecord, 4, Match::Exact, 0, {8, 8}, kAddresses, 0, matrixSlot(kMatrixSlotSecond), kUnused},
    {1, 0, Match::Exact, 0, {12, 12}, kAddresses, 0, perPass(kLumaChroma, 1), kUnused},
    {kLutRecord, 0, Match::Exact, 0, {5, 5}, kAddresses, 0, lutPerPass(kLutControl0100), kUnused},
    {kLutRecord, 0, Match::ThirdPlus1, 0, {5, 5}, kAddresses, 0, lutPerPass(kLutImageHead), kUnused},
    {kLutRecord, 0, Match::ThirdPlus2, 0, {6, 6}, kValues, 0, lutPerPass(kLutImageData), kUnused},
    {kLutRecord, 0, Match::ThirdPlus3, 0, {5, 5}, kAddresses, 0, block(kLutImageTail), kUnused},
    {kLutRecord, 1, Match::Exact, 0, {1, 1}, kAddresses, 0, block(kLutControl0180), kUnused},
    {kLutRecord, 1, Match::Exact, 1, {1, 1}, kAddresses, 0, block(kLutImage0183Head), kUnused},
    {kLutRecord, 1, Match::Exact, 2, {2, 2}, kValues, 0, block(kLutImage0183Data), kUnused},
    {kLutRecord, 1, Match::Exact, 3, {1, 1}, kAddresses, 0, block(kLutImage0183Tail), kUnused},
    {kLutRecord, 2, Match::Exact, 0, {9, 9}, kAddresses, 0, block(kFirstLutControl), kUnused},
    {kLutRecord, 2, Match::Exact, 1, {9, 9}, kAddresses, 0, group(kFirstLutHead), kUnused},
    {kLutRecord, 2, Match::Exact, 2, {10, 10}, kValues, 0, group(kFirstLutData), kUnused},
    {kLutRecord, 2, Match::Exact, 3, {9, 9}, kAddresses, 0, group(kFirstLutTail), kUnused},
    {kLutRecord, 3, Match::Exact, 0, {15, 15}, kAddresses, 0, perPass(kLutControl0A00, 1), kUnused},
    {kCubeRecord, 0, Match::Exact, 0, {13, 13}, kAddresses, 0, cubePerPass(kCubeControl), kUnused},
    {kCubeRecord, 0, Match::Exact, 1, {13, 13}, kAddresses, 0, cubeEdge(Source::CubeOpen, kCubeBegin), kUnused},
    {kCubeRecord, 0, Match::Exact, 50, {13, 13}, kAddresses, 0, cubeEdge(Source::CubeClose, kCubeEnd), kUnused},
    {kCubeRecord, 0, Match::CubeSelect, 0, {13, 13}, kAddresses, 0, cubeGroupsPerPass(kCubeSelect), kUnused},
    {kCubeRecord, 0, Match::CubeData, 0, {14, 14}, kValues, 9826, cubeGroupsPerPass(kCubeMemory), kUnused},
};
// clang-format on

// Whether the row serves repetition r, and the list index q it names.
bool matches(const SelectionRow& row, std::int32_t r, std::size_t& q) {
    const auto u = static_cast<std::size_t>(r);
    switch (row.match) {
        case Match::Exact:
            q = 0;
            return r == row.repetition;
        case Match::ThirdPlus1:
            q = u / 3;
            return u % 3 == 1;
        case Match::ThirdPlus2:
            q = u / 3;
            return u % 3 == 2;
        case Match::ThirdPlus3:
            q = u / 3 - 1;
            return u >= 3 && u % 3 == 0;
        case Match::CubeSelect:
            q = (u - 2) / 2;
            return u >= 2 && u <= 48 && u % 2 == 0;
        case Match::CubeData:
            q = (u - 3) / 2;
            return u >= 3 && u <= 49 && u % 2 == 1;
    }
    return false;
}

template <std::size_t N>
const SelectionRow* findRow(const SelectionRow (&table)[N], std::uint8_t category,
                            std::uint8_t subtype, std::int32_t r, std::size_t& q) {
    for (const SelectionRow& row : table) {
        if (row.category == category && row.subtype == subtype && matches(row, r, q)) {
            return &row;
        }
    }
    return nullptr;
}

}  // namespace

const BlockLayout* blockLayout(BodyKind kind, std::int32_t blockNumber) {
    return kind == BodyKind::Standard ? findBlock(kStandardBlocks, blockNumber)
                                      : findBlock(kExtendedBlocks, blockNumber);
}

std::int32_t repetitions(const OutputContext& context, const BlockLayout& layout,
                         const ZelSharedIniBuf& iniBuf) {
    switch (layout.repeat) {
        case Repeat::None:
            return 0;
        case Repeat::Single:
            return context.repeatSingle;
        case Repeat::Lut:
            return context.repeatLut;
        case Repeat::Lut3:
            return context.repeatLut3;
        case Repeat::FixedLut:
            return context.repeatFixedLut;
        case Repeat::Cube:
            return context.repeatCube;
        case Repeat::ByLutHeader:
            return lutHeaderRepetitions(context, iniBuf);
    }
    return 0;
}

const SelectionRow* findSelectionRow(BodyKind kind, std::uint8_t category, std::uint8_t subtype,
                                     std::int32_t r, std::size_t& q) {
    return kind == BodyKind::Standard ? findRow(kStandardSelection, category, subtype, r, q)
                                      : findRow(kExtendedSelection, category, subtype, r, q);
}

}  // namespace zel::body
