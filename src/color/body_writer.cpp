#include "color/body_writer.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "io/byte_order.h"
#include "zel/enums.h"

namespace zel::body {

namespace {

// --- Block tables: what each processing block number becomes ---------------------------

enum class Repeat : std::uint8_t { None, Single, Lut, Lut3, FixedLut, Cube, ByLutHeader };

struct BlockLayout {
    std::uint8_t flag;  // 1 marks the blocks of the long chain's second path
    std::uint8_t category;
    std::uint8_t subtype;
    Repeat repeat;
};

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

const BlockLayout* blockLayout(BodyKind kind, std::int32_t blockNumber) {
    return kind == BodyKind::Standard ? findBlock(kStandardBlocks, blockNumber)
                                      : findBlock(kExtendedBlocks, blockNumber);
}

// The first 1D LUT (block 8) repeats by its header, the copy in register block 34: once
// when it is the fixed table (flagA, entry 4, is 1), else four times for one channel and
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

// --- Selection tables: which registers an entry's record carries -----------------------

// Which repetitions a row serves; q is the channel or bank list the repetition names.
enum class Match : std::uint8_t {
    Exact,       // r == repetition, q = 0
    ThirdPlus1,  // r = 3q + 1: a 1D LUT channel's head
    ThirdPlus2,  // r = 3q + 2: its data
    ThirdPlus3,  // r = 3q + 3: its tail
    CubeSelect,  // r = 2 + 2q, q below 24: a cube list's select register
    CubeData,    // r = 3 + 2q, q below 24: a cube list's data
};

enum class Source : std::uint8_t {
    Block,      // a whole register block
    GroupList,  // list q of a register list group
    CubeOpen,   // ("0402", "00"), ("0403", "01"), the cube's begin entry
    CubeClose,  // the cube's end entry, ("0402", "07"), ("0403", "00")
};

// The register data of a row: its block number for pass 0, pass 1 and any later pass.
struct Registers {
    Source source;
    std::array<std::uint8_t, 3> byPass;
};

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

struct SelectionRow {
    std::uint8_t category;
    std::uint8_t subtype;
    Match match;
    std::uint8_t repetition;
    std::array<std::uint8_t, 2> type;  // record type code for flag 0 and flag 1
    bool valuesOnly;
    std::uint16_t maxRegisters;  // 0: the whole list
    Registers flag0;
    Registers flag1;
};

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

// The extended writer has flag-0 entries only; its third pass reads the third set of
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

// The registers of one record: a view into a register block, or three composed
// registers for a cube's opening and closing records.
struct RecordData {
    const RegisterEntry* registers = nullptr;
    std::size_t count = 0;
    std::array<RegisterEntry, 3> composed;
};

void gatherRegisters(const SelectionRow& row, const Registers& source, std::int32_t pass,
                     std::size_t q, const ZelSharedIniBuf& iniBuf, RecordData& out) {
    const int number = source.byPass[static_cast<std::size_t>(std::min(pass, 2))];
    const RegisterList* list = nullptr;
    switch (source.source) {
        case Source::Block:
            list = &iniBuf.list(number);
            break;
        case Source::GroupList: {
            const RegisterGroup& lists = iniBuf.group(number);
            if (q < lists.size()) {
                list = &lists[q];
            }
            break;
        }
        case Source::CubeOpen:
        case Source::CubeClose: {
            // A cube the camera writers never began (its begin or end entry unwritten)
            // gets no opening or closing record.
            const RegisterList& single = iniBuf.list(number);
            if (registerCount(single) == 0) {
                return;
            }
            if (source.source == Source::CubeOpen) {
                out.composed = {RegisterEntry("0402", "00"), RegisterEntry("0403", "01"),
                                single.front()};
            } else {
                out.composed = {single.front(), RegisterEntry("0402", "07"),
                                RegisterEntry("0403", "00")};
            }
            out.registers = out.composed.data();
            out.count = out.composed.size();
            return;
        }
    }
    if (list == nullptr) {
        return;
    }
    out.registers = list->data();
    out.count = registerCount(*list);
    if (row.maxRegisters != 0) {
        out.count = std::min<std::size_t>(out.count, row.maxRegisters);
    }
}

// --- Entries ----------------------------------------------------------------------------

struct EntryFields {
    std::uint8_t flag;
    std::int32_t pass;
    std::int32_t entryTag;
    std::uint8_t type;
    bool valuesOnly;
    std::uint8_t category;
    std::uint8_t subtype;
    std::int32_t mode;
    OutputContext::Slot slot;
};

void writeEntry(std::uint8_t* entry, const EntryFields& fields) {
    std::memset(entry, 0, kEntrySize);
    io::putU8(entry + 0, fields.flag);
    io::putU8(entry + 2, 1);
    io::putU8(entry + 3, static_cast<std::uint32_t>(fields.pass));
    io::putU8(entry + 4, static_cast<std::uint32_t>(fields.entryTag));
    io::putU8(entry + 8, fields.type);
    io::putU8(entry + 9, fields.valuesOnly ? 1 : 0);
    io::putU8(entry + 10, fields.category);
    io::putU8(entry + 11, fields.subtype);
    io::putU8(entry + 16, 1);
    io::putU8(entry + 18, static_cast<std::uint32_t>(fields.mode));
    io::putU32le(entry + 20, static_cast<std::uint32_t>(fields.slot.count));
    io::putU64le(entry + 24,
                 static_cast<std::uint64_t>(static_cast<std::uint32_t>(fields.slot.offset)));
}

constexpr std::size_t kCategories = 20;
constexpr std::size_t kSubtypes = 5;
constexpr std::size_t kRepetitionSlots = 60;

[[noreturn]] void refuse() {
    throw ZelEnum::ZEL_EXCEPTION_OUTPUT;
}

void putMarker(std::uint8_t*& at, char first, char second) {
    *at++ = static_cast<std::uint8_t>(first);
    *at++ = static_cast<std::uint8_t>(second);
}

bool reuseFlag(const PassTable& passTable, std::int32_t pass, std::int32_t blockNumber) {
    if (pass < 0 || static_cast<std::size_t>(pass) >= passTable.size() || blockNumber < 0) {
        return false;
    }
    const auto& blocks = passTable[static_cast<std::size_t>(pass)];
    const auto index = static_cast<std::size_t>(blockNumber);
    return index < blocks.size() && !blocks[index].empty() && blocks[index][0] != 0;
}

// Runs the passes over the block list; returns the final data end.
std::int32_t writePasses(OutputContext& context, const BodyTarget& target, std::int32_t passes,
                         const std::vector<std::int32_t>& blockList, const PassTable& passTable) {
    for (std::int32_t pass = 0; pass < passes; ++pass) {
        context.passEntryIndex = 0;
        for (const std::int32_t blockNumber : blockList) {
            writeBlockEntries(context, target, pass, blockNumber,
                              reuseFlag(passTable, pass, blockNumber));
        }
    }
    return context.dataEnd;
}

}  // namespace

std::size_t registerCount(const RegisterList& list) {
    return list.empty() || list.front().addressEmpty() ? 0 : list.size();
}

std::int32_t writeRegisterRecord(const RegisterEntry* registers, std::size_t count,
                                 const DataArea& data, std::int32_t dataEnd, bool valuesOnly) {
    if (count == 0) {
        return 0;
    }
    if (dataEnd < data.start) {
        refuse();
    }
    const std::size_t length = valuesOnly ? 2 + count + 2 : 2 + 2 * count + 2 + 2 + count + 2;
    const std::size_t padded = (length + 15) / 16 * 16;
    const auto offset = static_cast<std::size_t>(dataEnd - data.start);
    if (offset > data.capacity || padded > data.capacity - offset) {
        refuse();
    }
    std::uint8_t* at = data.bytes + offset;
    std::uint8_t* const end = at + padded;
    if (valuesOnly) {
        putMarker(at, 'S', 'R');
        for (std::size_t i = 0; i < count; ++i) {
            *at++ = static_cast<std::uint8_t>(registers[i].valueNumber() & 0xFFu);
        }
        putMarker(at, 'E', 'R');
    } else {
        putMarker(at, 'S', 'A');
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint32_t address = registers[i].addressNumber();
            *at++ = static_cast<std::uint8_t>(address % 256);
            *at++ = static_cast<std::uint8_t>((address / 256) & 0xFFu);
        }
        putMarker(at, 'E', 'A');
        putMarker(at, 'S', 'D');
        for (std::size_t i = 0; i < count; ++i) {
            *at++ = static_cast<std::uint8_t>(registers[i].valueNumber() & 0xFFu);
        }
        putMarker(at, 'E', 'D');
    }
    std::fill(at, end, std::uint8_t{0});
    return static_cast<std::int32_t>(padded);
}

void writeBlockEntries(OutputContext& context, const BodyTarget& target, std::int32_t pass,
                       std::int32_t blockNumber, bool reuse) {
    const BlockLayout* layout = blockLayout(target.kind, blockNumber);
    const std::int32_t count = layout != nullptr ? repetitions(context, *layout, target.iniBuf) : 0;
    const bool writes = target.kind == BodyKind::Standard ? context.mode == 0 || context.mode == 2
                                                          : context.mode == 2;
    for (std::int32_t r = 0; r < count; ++r) {
        if (writes) {
            context.dataEnd += writeRecordEntry(context, target, blockNumber, r, reuse, pass);
        }
        ++context.entryIndex;
        ++context.passEntryIndex;
    }
}

std::int32_t writeRecordEntry(OutputContext& context, const BodyTarget& target,
                              std::int32_t blockNumber, std::int32_t repetition, bool reuse,
                              std::int32_t pass) {
    const BlockLayout* layout = blockLayout(target.kind, blockNumber);
    if (layout == nullptr) {
        return 0;
    }
    const std::uint8_t category = layout->category;
    const std::uint8_t subtype = layout->subtype;
    // A 1D LUT of the fixed layouts has four parts and a cube 51; more repetitions than
    // that mean a broken register image or context.
    if (category == 3 && (subtype == 1 || subtype == 2) && repetition > 3) {
        refuse();
    }
    if (category == 4 && repetition > 50) {
        refuse();
    }
    if (target.kind == BodyKind::Standard && category == 3 && subtype > 2) {
        refuse();
    }
    // The entry and its remembered slots must lie inside their tables.
    if (repetition < 0 || static_cast<std::size_t>(repetition) >= kRepetitionSlots ||
        category >= kCategories || subtype >= kSubtypes || pass < 0 || context.entryIndex < 0 ||
        static_cast<std::size_t>(context.entryIndex) >= target.entries.slots ||
        context.passEntryIndex < 0 ||
        static_cast<std::size_t>(context.passEntryIndex) >= context.entrySlots.size() ||
        context.blockSlots.size() < kCategories * kSubtypes * kRepetitionSlots) {
        refuse();
    }

    std::size_t q = 0;
    const SelectionRow* row = target.kind == BodyKind::Standard
                                  ? findRow(kStandardSelection, category, subtype, repetition, q)
                                  : findRow(kExtendedSelection, category, subtype, repetition, q);

    const std::int32_t oldEnd = context.dataEnd;
    std::int32_t added = 0;
    std::int32_t newCount = 0;
    if (row != nullptr && !reuse) {
        RecordData record;
        gatherRegisters(*row, layout->flag == 0 ? row->flag0 : row->flag1, pass, q, target.iniBuf,
                        record);
        added = writeRegisterRecord(record.registers, record.count, target.data, oldEnd,
                                    row->valuesOnly);
        newCount = static_cast<std::int32_t>(record.count);
    }

    OutputContext::Slot& passSlot =
        context.entrySlots[static_cast<std::size_t>(context.passEntryIndex)];
    OutputContext::Slot& blockSlot =
        context.blockSlots[(category * kSubtypes + subtype) * kRepetitionSlots +
                           static_cast<std::size_t>(repetition)];
    const OutputContext::Slot fresh{newCount, oldEnd};
    OutputContext::Slot slot = fresh;
    if (pass > 0) {
        // A later pass either points at the pass-0 entry of the same position or at its
        // own new record.
        slot = reuse ? passSlot : fresh;
    } else if (layout->flag == 0) {
        passSlot = fresh;
        blockSlot = fresh;
    } else {
        // A second-path block that reuses takes the first path's record of the same
        // category, subtype and repetition.
        slot = reuse ? blockSlot : fresh;
        passSlot = slot;
    }

    const bool valuesOnly = row != nullptr && row->valuesOnly;
    const std::uint8_t type = row != nullptr ? row->type[layout->flag == 0 ? 0 : 1] : 0;
    writeEntry(target.entries.bytes + static_cast<std::size_t>(context.entryIndex) * kEntrySize,
               {layout->flag, pass, target.entryTag, type, valuesOnly, category, subtype,
                context.mode, slot});
    return added;
}

}  // namespace zel::body

using zel::body::BodyKind;
using zel::body::BodyTarget;
using zel::body::kEntrySize;

std::uint32_t writeOutputStandard(OutputContext& context, std::int32_t entryTag,
                                  const std::vector<std::int32_t>& blockList,
                                  const PassTable& passTable, const ZelSharedIniBuf& iniBuf,
                                  ZelBinary& body) {
    // A context of more entries than the record has slots (a second-generation model) would
    // run past the record; that job is served by the extended body.
    if (context.entryCount < 0 || context.entryCount > ZelBinary::kEntryCount) {
        throw ZelEnum::ZEL_EXCEPTION_OUTPUT;
    }
    std::memset(body.entryTable, 0, static_cast<std::size_t>(context.entryCount) * kEntrySize);
    context.entryIndex = 0;
    context.dataEnd = context.entryCount * static_cast<std::int32_t>(kEntrySize);

    constexpr auto kTableLength = static_cast<std::int32_t>(ZelBinary::kEntryCount * kEntrySize);
    const BodyTarget target{BodyKind::Standard,
                            entryTag,
                            iniBuf,
                            {&body.entryTable[0][0], ZelBinary::kEntryCount},
                            {body.data, ZelBinary::kDataSize, kTableLength}};
    const std::int32_t dataEnd = zel::body::writePasses(context, target, 2, blockList, passTable);

    zel::io::putU32le(body.headRest + 0, 64);                                   // chunk offset 8
    zel::io::putU32le(body.headRest + 8, static_cast<std::uint32_t>(dataEnd));  // offset 16
    return static_cast<std::uint32_t>(dataEnd) + 64;
}

std::uint32_t writeOutputExtended(OutputContext& context, std::int32_t entryTag,
                                  const std::vector<std::int32_t>& blockList,
                                  const PassTable& passTable, const ZelSharedIniBuf& iniBuf,
                                  ExtendedBody& body) {
    // The extended body always has 512 entry slots, whatever the context's entry count,
    // so its data area starts at chunk offset 16448 in every mode.
    std::fill(body.entryTable.begin(), body.entryTable.end(), std::uint8_t{0});
    const auto tableLength = static_cast<std::int32_t>(body.entryTable.size());
    context.entryIndex = 0;
    context.dataEnd = tableLength;

    const BodyTarget target{
        BodyKind::Extended,
        entryTag,
        iniBuf,
        {body.entryTable.data(), body.entryTable.size() / kEntrySize},
        {body.data.data(), std::min(body.data.size(), zel::body::kExtendedDataRoom), tableLength}};
    const std::int32_t dataEnd =
        zel::body::writePasses(context, target, context.passCount, blockList, passTable);

    zel::io::putU32le(body.head + 8, 64);
    zel::io::putU32le(body.head + 16, static_cast<std::uint32_t>(dataEnd));
    return static_cast<std::uint32_t>(dataEnd - tableLength);
}
