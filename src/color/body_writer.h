#ifndef ZEL_COLOR_BODY_WRITER_H
#define ZEL_COLOR_BODY_WRITER_H

// The pieces of the body chunk writer: where its entries and records go, how one block
// becomes its entries, and how one register record is encoded. writeOutputStandard and
// writeOutputExtended (output_conversion.h) drive them.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "camera/ini_buf.h"
#include "camera/register_entry.h"
#include "color/output_conversion.h"
#include "settings/look_settings.h"

namespace zel::body {

// The two body layouts: the standard job's 256-slot body and the extended job's 512-slot
// body. They differ in their block table and selection table.
enum class BodyKind : std::uint8_t { Standard, Extended };

constexpr std::size_t kEntrySize = 32;
constexpr std::size_t kHeadSize = 64;
// What the extended job's output record can take of the data area.
constexpr std::size_t kExtendedDataRoom = 763776;

// The entry table: `slots` entries of 32 bytes.
struct EntryTable {
    std::uint8_t* bytes;
    std::size_t slots;
};

// The data area behind the entry table. Offsets are counted from the start of the entry
// table, so `bytes[0]` lies at offset `start` (the table's length) and a record may end
// no later than `start + capacity`.
struct DataArea {
    std::uint8_t* bytes;
    std::size_t capacity;
    std::int32_t start;
};

// Everything one writer run reads and writes besides the context.
struct BodyTarget {
    BodyKind kind;
    std::int32_t entryTag;
    const ZelSharedIniBuf& iniBuf;
    EntryTable entries;
    DataArea data;
};

// Register count of a register list: 0 when it is empty or its first address is empty
// (nothing wrote it), else its entry count.
std::size_t registerCount(const RegisterList& list);

// Writes one record of `count` registers at `dataEnd`: with addresses ("SA", address low
// and high byte per register, "EA", "SD", one value byte per register, "ED") or values
// only ("SR", one value byte per register, "ER"), zero-padded to a multiple of 16 bytes.
// Returns the padded length; a record of no registers writes nothing and returns 0.
// Throws ZelException 5, writing nothing, when `dataEnd` lies inside the entry table or
// the record would pass the end of the data area.
std::int32_t writeRegisterRecord(const RegisterEntry* registers, std::size_t count,
                                 const DataArea& data, std::int32_t dataEnd, bool valuesOnly);

// Writes the entries of one processing block for one pass, advancing the context's
// entry indices and data end.
void writeBlockEntries(OutputContext& context, const BodyTarget& target, std::int32_t pass,
                       std::int32_t blockNumber, bool reuse);

// Chooses the register data of one entry, writes its record (unless `reuse`) and the
// entry; returns the bytes added to the data.
std::int32_t writeRecordEntry(OutputContext& context, const BodyTarget& target,
                              std::int32_t blockNumber, std::int32_t repetition, bool reuse,
                              std::int32_t pass);

}  // namespace zel::body

#endif  // ZEL_COLOR_BODY_WRITER_H
