#ifndef ZEL_IO_BODY_ENTRY_WRITER_H
#define ZEL_IO_BODY_ENTRY_WRITER_H

// The body's entry table: how one processing block becomes its 32-byte entries and the
// register records they point at. The chunk writers (body_chunk_writer.h) drive it.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "camera/ini_buf.h"
#include "io/body_block_tables.h"
#include "io/body_context.h"
#include "io/register_record_writer.h"
#include "settings/look_settings.h"

namespace zel::body {

// The entry table: `slots` entries of ZelBinary::kEntrySize bytes.
struct EntryTable {
    std::uint8_t* bytes;
    std::size_t slots;
};

// Everything one writer run reads and writes besides the context.
struct BodyTarget {
    BodyKind kind;
    std::int32_t entryTag;
    const ZelSharedIniBuf& iniBuf;
    EntryTable entries;
    DataArea data;
};

// Runs `passes` passes over the block list; returns the final data end.
std::int32_t writePasses(OutputContext& context, const BodyTarget& target, std::int32_t passes,
                         const std::vector<std::int32_t>& blockList, const PassTable& passTable);

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

#endif  // ZEL_IO_BODY_ENTRY_WRITER_H
