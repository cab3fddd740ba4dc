#ifndef ZEL_COLOR_OUTPUT_CONVERSION_H
#define ZEL_COLOR_OUTPUT_CONVERSION_H

// Serialises the camera register image into the look file's body chunk: an entry table
// of 32-byte entries and, behind it, the data records with register addresses and values.

#include <cstdint>
#include <vector>

#include "camera/ini_buf.h"
#include "settings/look_settings.h"
#include "zel/records.h"

struct OutputContext {
    struct Slot {
        std::int32_t count = 0;
        std::int32_t offset = 0;
    };

    std::int32_t entryCount = 0;
    std::int32_t mode = 0;
    std::int32_t passCount = 0;
    std::int32_t entryIndex = 0;
    std::int32_t passEntryIndex = 0;
    std::int32_t dataEnd = 0;
    std::int32_t repeatSingle = 0;
    std::int32_t repeatLut = 0;
    std::int32_t repeatLut3 = 0;
    std::int32_t repeatFixedLut = 0;
    std::int32_t repeatCube = 0;
    std::vector<Slot> entrySlots;  // entryCount slots
    std::vector<Slot> blockSlots;  // 20 x 5 x 60 slots: (category, subtype, repetition)
};

// The extended job's local body: the chunk head, 512 entries and an 800000-byte data area.
struct ExtendedBody {
    static constexpr std::size_t kEntryCount = 512;
    static constexpr std::size_t kDataSize = 800000;

    ExtendedBody();

    std::uint8_t head[64]{};
    std::vector<std::uint8_t> entryTable;  // kEntryCount x 32 bytes
    std::vector<std::uint8_t> data;        // kDataSize bytes
};

void setupOutputContext(OutputContext& context, std::int32_t mode);

// Writes the standard body into `body`; returns its length in bytes (head, entries, data).
std::uint32_t writeOutputStandard(OutputContext& context, std::int32_t entryTag,
                                  const std::vector<std::int32_t>& blockList,
                                  const PassTable& passTable, const ZelSharedIniBuf& iniBuf,
                                  ZelBinary& body);

// Writes the extended body into `body`; returns the number of data bytes.
std::uint32_t writeOutputExtended(OutputContext& context, std::int32_t entryTag,
                                  const std::vector<std::int32_t>& blockList,
                                  const PassTable& passTable, const ZelSharedIniBuf& iniBuf,
                                  ExtendedBody& body);

#endif  // ZEL_COLOR_OUTPUT_CONVERSION_H
