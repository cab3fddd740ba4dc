#ifndef ZEL_IO_BODY_CHUNK_WRITER_H
#define ZEL_IO_BODY_CHUNK_WRITER_H

// Serialises the camera register image into the look file's body chunk: the chunk head,
// an entry table of 32-byte entries and, behind it, the data records with register
// addresses and values.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "camera/ini_buf.h"
#include "io/body_context.h"
#include "io/chunk_head.h"
#include "settings/look_settings.h"
#include "zel/records.h"

// The extended job's local body: the chunk head, 512 entries and an 800000-byte data area.
struct ExtendedBody {
    static constexpr std::size_t kEntryCount = 512;
    static constexpr std::size_t kDataSize = 800000;

    ExtendedBody();

    std::uint8_t head[zel::io::kChunkHeadSize]{};
    std::vector<std::uint8_t> entryTable;  // kEntryCount x ZelBinary::kEntrySize bytes
    std::vector<std::uint8_t> data;        // kDataSize bytes
};

// Writes the standard body into `body`; returns its length in bytes (head, entries, data).
std::uint32_t writeOutputStandard(OutputContext& context, std::int32_t entryTag,
                                  const std::vector<std::int32_t>& blockList,
                                  const PassTable& passTable, const ZelSharedIniBuf& iniBuf,
                                  ZelBinary& body);

// Writes the extended body into `body`; returns the number of data bytes. The data never
// grows past what the extended output record can take.
std::uint32_t writeOutputExtended(OutputContext& context, std::int32_t entryTag,
                                  const std::vector<std::int32_t>& blockList,
                                  const PassTable& passTable, const ZelSharedIniBuf& iniBuf,
                                  ExtendedBody& body);

#endif  // ZEL_IO_BODY_CHUNK_WRITER_H
