#ifndef ZEL_IO_BODY_RECORDS_H
#define ZEL_IO_BODY_RECORDS_H

// Reading a body chunk back: the written entries of its entry table and the register
// records they point at, as the output conversion wrote them. Every read is bounds-checked;
// a record that does not lie inside the body or lacks its markers is reported as unsound
// rather than read.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "camera/register_entry.h"

namespace zel {

constexpr std::size_t kBodyEntryLength = 32;

// One written (not all-zero) entry of the entry table.
struct BodyEntry {
    std::uint32_t slot = 0;
    std::uint8_t flag = 0;
    std::uint8_t pass = 0;
    std::uint8_t entryTag = 0;
    std::uint8_t typeCode = 0;
    bool valuesOnly = false;
    std::uint8_t category = 0;
    std::uint8_t subtype = 0;
    std::uint8_t mode = 0;
    std::uint32_t registerCount = 0;
    std::uint64_t offset = 0;  // from the start of the entry table
};

// The written entries of the `slots`-entry table at `tableAt`, in slot order. The table must
// lie inside the `size` bytes.
std::vector<BodyEntry> readBodyEntries(const std::uint8_t* bytes, std::size_t size,
                                       std::size_t tableAt, std::size_t slots);

// The padded length of a record of `count` registers.
std::uint64_t bodyRecordLength(std::uint32_t count, bool valuesOnly);

// True when a record of `count` registers lies between `recordAt` and `end` and carries its
// markers ("SA" .. "EA", "SD" .. "ED" with addresses; "SR" .. "ER" values only); its
// registers then go to `out` when it is given (addresses empty for a record of values only).
bool readBodyRecord(const std::uint8_t* bytes, std::size_t end, std::uint64_t recordAt,
                    std::uint32_t count, bool valuesOnly, RegisterList* out);

}  // namespace zel

#endif  // ZEL_IO_BODY_RECORDS_H
