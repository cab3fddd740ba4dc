#include "io/body_block_tables.h"

namespace zel::body {

namespace {

constexpr BlockLayout kStandardBlocks[] = {
    {0, 0, 0, Repeat::Single},       // 0
    {0, 5, 0, Repeat::Single},       // 1
    {0, 2, 0, Repeat::Single},       // 2
    {0, 2, 1, Repeat::Single},       // 3
    {0, 2, 2, Repeat::Single},       // 4
    {0, 2, 4, Repeat::Single},       // 5
    {0, 3, 0, Repeat::Lut},          // 6
    {0, 3, 1, Repeat::Lut},          // 7
    {0, 3, 2, Repeat::ByLutHeader},  // 8
    {0, 4, 0, Repeat::Cube},         // 9
    {0, 1, 0, Repeat::Single},       // 10
    {1, 0, 0, Repeat::Single},       // 11
    {1, 2, 0, Repeat::Single},       // 12
    {1, 2, 1, Repeat::Single},       // 13
    {1, 3, 0, Repeat::Lut3},         // 14
    {1, 3, 1, Repeat::Lut},          // 15
    {1, 1, 0, Repeat::Single},       // 16
};

// The extended body has no second path: blocks 11 to 16 write nothing, and block 17 is the
// LUT control page 0A00.
constexpr BlockLayout kExtendedBlocks[] = {
    kStandardBlocks[0],      kStandardBlocks[1],      kStandardBlocks[2],
    kStandardBlocks[3],      kStandardBlocks[4],      kStandardBlocks[5],
    kStandardBlocks[6],      kStandardBlocks[7],      kStandardBlocks[8],
    kStandardBlocks[9],      kStandardBlocks[10],     {0, 0, 0, Repeat::None},
    {0, 0, 0, Repeat::None}, {0, 0, 0, Repeat::None}, {0, 0, 0, Repeat::None},
    {0, 0, 0, Repeat::None}, {0, 0, 0, Repeat::None}, {0, 3, 3, Repeat::FixedLut},  // 17
};

template <std::size_t N>
const BlockLayout* findBlock(const BlockLayout (&table)[N], std::int32_t blockNumber) {
    if (blockNumber < 0 || static_cast<std::size_t>(blockNumber) >= N) {
        return nullptr;
    }
    const BlockLayout* layout = &table[blockNumber];
    return layout->repeat == Repeat::None ? nullptr : layout;
}

// The first 1D LUT (block 8) repeats by its header, the copy in register block 34: once
// when it is the fixed table (entry 4 of the header is 1), else four times for one channel and
// ten times for three (columns, entry 1); any other header gives no entries.
std::int32_t lutHeaderRepetitions(const OutputContext& context, const ZelSharedIniBuf& iniBuf) {
    const std::vector<std::int32_t>& header = iniBuf.header(34);
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
constexpr Registers groups(std::uint8_t a, std::uint8_t b) {
    return {Source::GroupList, {a, b, b}};
}
constexpr Registers groups(std::uint8_t a, std::uint8_t b, std::uint8_t c) {
    return {Source::GroupList, {a, b, c}};
}
constexpr Registers cubeOpen(std::uint8_t a, std::uint8_t b, std::uint8_t c) {
    return {Source::CubeOpen, {a, b, c}};
}
constexpr Registers cubeClose(std::uint8_t a, std::uint8_t b, std::uint8_t c) {
    return {Source::CubeClose, {a, b, c}};
}

constexpr bool kAddresses = false;
constexpr bool kValues = true;

constexpr SelectionRow kStandardSelection[] = {
    {0, 0, Match::Exact, 0, {0, 20}, kAddresses, 0, block(0), block(0)},
    {5, 0, Match::Exact, 0, {3, 3}, kAddresses, 0, block(1), block(1)},
    {2, 0, Match::Exact, 0, {4, 24}, kAddresses, 0, blocks(2, 6), blocks(60, 61)},
    {2, 1, Match::Exact, 0, {11, 31}, kAddresses, 0, blocks(3, 7), blocks(62, 63)},
    {2, 2, Match::Exact, 0, {7, 7}, kAddresses, 0, blocks(4, 8), blocks(4, 8)},
    {2, 4, Match::Exact, 0, {8, 8}, kAddresses, 0, blocks(5, 9), blocks(5, 9)},
    {1, 0, Match::Exact, 0, {12, 32}, kAddresses, 0, blocks(57, 58), blocks(74, 75)},
    {3, 0, Match::Exact, 0, {5, 25}, kAddresses, 0, blocks(14, 18), block(64)},
    {3, 0, Match::ThirdPlus1, 0, {5, 25}, kAddresses, 0, block(16), group(66)},
    {3, 0, Match::ThirdPlus2, 0, {6, 26}, kValues, 0, block(15), group(65)},
    {3, 0, Match::ThirdPlus3, 0, {5, 25}, kAddresses, 0, block(17), group(67)},
    {3, 1, Match::Exact, 0, {1, 21}, kAddresses, 0, block(26), block(26)},
    {3, 1, Match::Exact, 1, {1, 21}, kAddresses, 0, block(28), block(28)},
    {3, 1, Match::Exact, 2, {2, 22}, kValues, 0, block(27), block(27)},
    {3, 1, Match::Exact, 3, {1, 21}, kAddresses, 0, block(29), block(29)},
    {3, 2, Match::Exact, 0, {9, 9}, kAddresses, 0, block(30), block(30)},
    {3, 2, Match::Exact, 1, {9, 9}, kAddresses, 0, group(32), group(32)},
    {3, 2, Match::Exact, 2, {10, 10}, kValues, 0, group(31), group(31)},
    {3, 2, Match::Exact, 3, {9, 9}, kAddresses, 0, group(33), group(33)},
    {4, 0, Match::Exact, 0, {13, 13}, kAddresses, 0, blocks(42, 47), block(42)},
    {4, 0, Match::Exact, 1, {13, 13}, kAddresses, 0, cubeOpen(43, 48, 48), cubeOpen(43, 48, 48)},
    {4, 0, Match::Exact, 50, {13, 13}, kAddresses, 0, cubeClose(46, 51, 51), cubeClose(46, 51, 51)},
    {4, 0, Match::CubeSelect, 0, {13, 13}, kAddresses, 0, groups(44, 49), groups(44, 49)},
    {4, 0, Match::CubeData, 0, {14, 14}, kValues, 2000, groups(45, 50), groups(45, 50)},
};

// The extended writer has first-path entries only; its third pass reads the third set of
// blocks. The 1D LUT tail of every pass is block 17.
constexpr SelectionRow kExtendedSelection[] = {
    {0, 0, Match::Exact, 0, {0, 0}, kAddresses, 0, block(0), block(0)},
    {5, 0, Match::Exact, 0, {3, 3}, kAddresses, 0, block(1), block(1)},
    {2, 0, Match::Exact, 0, {4, 4}, kAddresses, 0, blocks(2, 6, 10), blocks(2, 6, 10)},
    {2, 1, Match::Exact, 0, {11, 11}, kAddresses, 0, blocks(3, 7, 11), blocks(3, 7, 11)},
    {2, 2, Match::Exact, 0, {7, 7}, kAddresses, 0, blocks(4, 8, 12), blocks(4, 8, 12)},
    {2, 4, Match::Exact, 0, {8, 8}, kAddresses, 0, blocks(5, 9, 13), blocks(5, 9, 13)},
    {1, 0, Match::Exact, 0, {12, 12}, kAddresses, 0, blocks(57, 58, 59), blocks(57, 58, 59)},
    {3, 0, Match::Exact, 0, {5, 5}, kAddresses, 0, blocks(14, 18, 22), blocks(14, 18, 22)},
    {3, 0, Match::ThirdPlus1, 0, {5, 5}, kAddresses, 0, blocks(16, 20, 24), blocks(16, 20, 24)},
    {3, 0, Match::ThirdPlus2, 0, {6, 6}, kValues, 0, blocks(15, 19, 23), blocks(15, 19, 23)},
    {3, 0, Match::ThirdPlus3, 0, {5, 5}, kAddresses, 0, block(17), block(17)},
    {3, 1, Match::Exact, 0, {1, 1}, kAddresses, 0, block(26), block(26)},
    {3, 1, Match::Exact, 1, {1, 1}, kAddresses, 0, block(28), block(28)},
    {3, 1, Match::Exact, 2, {2, 2}, kValues, 0, block(27), block(27)},
    {3, 1, Match::Exact, 3, {1, 1}, kAddresses, 0, block(29), block(29)},
    {3, 2, Match::Exact, 0, {9, 9}, kAddresses, 0, block(30), block(30)},
    {3, 2, Match::Exact, 1, {9, 9}, kAddresses, 0, group(32), group(32)},
    {3, 2, Match::Exact, 2, {10, 10}, kValues, 0, group(31), group(31)},
    {3, 2, Match::Exact, 3, {9, 9}, kAddresses, 0, group(33), group(33)},
    {3, 3, Match::Exact, 0, {15, 15}, kAddresses, 0, blocks(35, 36, 37), blocks(35, 36, 37)},
    {4, 0, Match::Exact, 0, {13, 13}, kAddresses, 0, blocks(42, 47, 52), blocks(42, 47, 52)},
    {4, 0, Match::Exact, 1, {13, 13}, kAddresses, 0, cubeOpen(43, 48, 53), cubeOpen(43, 48, 53)},
    {4, 0, Match::Exact, 50, {13, 13}, kAddresses, 0, cubeClose(46, 51, 56), cubeClose(46, 51, 56)},
    {4, 0, Match::CubeSelect, 0, {13, 13}, kAddresses, 0, groups(44, 49, 54), groups(44, 49, 54)},
    {4, 0, Match::CubeData, 0, {14, 14}, kValues, 9826, groups(45, 50, 55), groups(45, 50, 55)},
};

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
