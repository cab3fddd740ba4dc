#ifndef ZEL_IO_BODY_BLOCK_TABLES_H
#define ZEL_IO_BODY_BLOCK_TABLES_H

// The tables behind the body writer: what each processing block number becomes in the
// entry table (its category, subtype and how often it repeats), and which registers of
// the register image each entry's record carries.

#include <array>
#include <cstddef>
#include <cstdint>

#include "camera/ini_buf.h"
#include "io/body_context.h"

namespace zel::body {

// The two body layouts: the standard job's 256-slot body and the extended job's 512-slot
// body. They differ in their block table and selection table.
enum class BodyKind : std::uint8_t { Standard, Extended };

enum class Repeat : std::uint8_t { None, Single, Lut, Lut3, FixedLut, Cube, ByLutHeader };

struct BlockLayout {
    std::uint8_t secondPath;  // 1 marks the blocks of the long chain's second path
    std::uint8_t category;
    std::uint8_t subtype;
    Repeat repeat;
};

// The layout of block `blockNumber`, or null when the body has no entries for it.
const BlockLayout* blockLayout(BodyKind kind, std::int32_t blockNumber);

// How many entries a block of this layout writes.
std::int32_t repetitions(const OutputContext& context, const BlockLayout& layout,
                         const ZelSharedIniBuf& iniBuf);

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

struct SelectionRow {
    std::uint8_t category;
    std::uint8_t subtype;
    Match match;
    std::uint8_t repetition;
    std::array<std::uint8_t, 2> type;  // record type code on the first and the second path
    bool valuesOnly;
    std::uint16_t maxRegisters;  // 0: the whole list
    Registers firstPath;
    Registers secondPath;
};

// The row serving repetition `r` of (category, subtype), or null; `q` receives the list
// index the repetition names.
const SelectionRow* findSelectionRow(BodyKind kind, std::uint8_t category, std::uint8_t subtype,
                                     std::int32_t r, std::size_t& q);

}  // namespace zel::body

#endif  // ZEL_IO_BODY_BLOCK_TABLES_H
