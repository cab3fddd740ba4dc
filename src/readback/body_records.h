#ifndef ZEL_READBACK_BODY_RECORDS_H
#define ZEL_READBACK_BODY_RECORDS_H

// Reading a body chunk back: the written entries of its entry table and the register
// records they point at, as the output conversion wrote them. Every read is bounds-checked;
// a record that does not lie inside the body or lacks its markers is reported as unsound
// rather than read. Header-only, so that zelgen's inspect and the Python module use it
// without linking the library's internals.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "camera/register_entry.h"
#include "io/byte_order.h"

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

namespace detail {

// True when the two bytes at `at` are the marker `text`.
inline bool marker(const std::uint8_t* at, const char* text) {
    return std::memcmp(at, text, 2) == 0;
}

}  // namespace detail

// The written entries of the `slots`-entry table at `tableAt`, in slot order; entries past
// the end of the `size` bytes are not read.
inline std::vector<BodyEntry> readBodyEntries(const std::uint8_t* bytes, std::size_t size,
                                              std::size_t tableAt, std::size_t slots) {
    std::vector<BodyEntry> entries;
    for (std::size_t slot = 0; slot < slots; ++slot) {
        const std::size_t at = tableAt + slot * kBodyEntryLength;
        if (at > size || kBodyEntryLength > size - at) {
            break;
        }
        const std::uint8_t* e = bytes + at;
        bool written = false;
        for (std::size_t i = 0; i < kBodyEntryLength && !written; ++i) {
            written = e[i] != 0;
        }
        if (!written) {
            continue;
        }
        BodyEntry entry;
        entry.slot = static_cast<std::uint32_t>(slot);
        entry.flag = e[0];
        entry.pass = e[3];
        entry.entryTag = e[4];
        entry.typeCode = e[8];
        entry.valuesOnly = e[9] != 0;
        entry.category = e[10];
        entry.subtype = e[11];
        entry.mode = e[18];
        entry.registerCount = io::getU32le(e + 20);
        entry.offset = io::getU64le(e + 24);
        entries.push_back(entry);
    }
    return entries;
}

// The padded length of a record of `count` registers.
inline std::uint64_t bodyRecordLength(std::uint32_t count, bool valuesOnly) {
    const std::uint64_t raw = valuesOnly ? 4 + std::uint64_t{count} : 8 + 3 * std::uint64_t{count};
    return (raw + 15) / 16 * 16;
}

// True when a record of `count` registers lies between `recordAt` and `end` and carries its
// markers ("SA" .. "EA", "SD" .. "ED" with addresses; "SR" .. "ER" values only); its
// registers then go to `out` when it is given (addresses empty for a record of values only).
inline bool readBodyRecord(const std::uint8_t* bytes, std::size_t end, std::uint64_t recordAt,
                           std::uint32_t count, bool valuesOnly, RegisterList* out) {
    const std::uint64_t length =
        valuesOnly ? 4 + std::uint64_t{count} : 8 + 3 * std::uint64_t{count};
    if (recordAt > end || length > end - recordAt) {
        return false;
    }
    const std::uint8_t* at = bytes + recordAt;
    if (valuesOnly) {
        if (!detail::marker(at, "SR") || !detail::marker(at + 2 + count, "ER")) {
            return false;
        }
        if (out != nullptr) {
            out->assign(count, RegisterEntry());
            for (std::size_t i = 0; i < count; ++i) {
                (*out)[i].setValueNumber(at[2 + i]);
            }
        }
        return true;
    }
    const std::uint8_t* values = at + 4 + 2 * std::size_t{count};
    if (!detail::marker(at, "SA") || !detail::marker(values - 2, "EA") ||
        !detail::marker(values, "SD") || !detail::marker(values + 2 + count, "ED")) {
        return false;
    }
    if (out != nullptr) {
        out->assign(count, RegisterEntry());
        for (std::size_t i = 0; i < count; ++i) {
            (*out)[i].setAddressNumber(io::getU16le(at + 2 + 2 * i));
            (*out)[i].setValueNumber(values[2 + i]);
        }
    }
    return true;
}

}  // namespace zel

#endif  // ZEL_READBACK_BODY_RECORDS_H
