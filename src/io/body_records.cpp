#include "io/body_records.h"

#include <cstring>

#include "io/byte_order.h"

namespace zel {

namespace {

bool marker(const std::uint8_t* at, const char* text) {
    return std::memcmp(at, text, 2) == 0;
}

}  // namespace

std::vector<BodyEntry> readBodyEntries(const std::uint8_t* bytes, std::size_t size,
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

std::uint64_t bodyRecordLength(std::uint32_t count, bool valuesOnly) {
    const std::uint64_t raw = valuesOnly ? 4 + std::uint64_t{count} : 8 + 3 * std::uint64_t{count};
    return (raw + 15) / 16 * 16;
}

bool readBodyRecord(const std::uint8_t* bytes, std::size_t end, std::uint64_t recordAt,
                    std::uint32_t count, bool valuesOnly, RegisterList* out) {
    const std::uint64_t length =
        valuesOnly ? 4 + std::uint64_t{count} : 8 + 3 * std::uint64_t{count};
    if (recordAt > end || length > end - recordAt) {
        return false;
    }
    const std::uint8_t* at = bytes + recordAt;
    if (valuesOnly) {
        if (!marker(at, "SR") || !marker(at + 2 + count, "ER")) {
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
    if (!marker(at, "SA") || !marker(values - 2, "EA") || !marker(values, "SD") ||
        !marker(values + 2 + count, "ED")) {
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
