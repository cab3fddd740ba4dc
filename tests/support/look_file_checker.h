#ifndef ZEL_TESTS_SUPPORT_LOOK_FILE_CHECKER_H
#define ZEL_TESTS_SUPPORT_LOOK_FILE_CHECKER_H

// Reads a look file as a camera's loader would and lists every inconsistency: magics,
// section lengths and offsets, the metadata list, the body chunk's entry table and the
// data records the entries point at.

#include <cstdint>
#include <string>
#include <vector>

namespace zeltest {

struct LookFileSummary {
    std::vector<std::string> problems;
    std::uint32_t headerPartLength = 0;
    std::uint32_t entrySlots = 0;
    std::uint32_t dataLength = 0;
    int entriesWritten = 0;
    int recordsChecked = 0;
};

inline std::uint32_t readU16(const std::vector<std::uint8_t>& f, std::size_t at) {
    return at + 2 <= f.size() ? static_cast<std::uint32_t>(f[at] | (f[at + 1] << 8)) : 0xFFFFFFFFu;
}

inline std::uint32_t readU32(const std::vector<std::uint8_t>& f, std::size_t at) {
    if (at + 4 > f.size()) {
        return 0xFFFFFFFFu;
    }
    return static_cast<std::uint32_t>(f[at]) | (static_cast<std::uint32_t>(f[at + 1]) << 8) |
           (static_cast<std::uint32_t>(f[at + 2]) << 16) |
           (static_cast<std::uint32_t>(f[at + 3]) << 24);
}

inline bool hasText(const std::vector<std::uint8_t>& f, std::size_t at, const char* text) {
    for (std::size_t i = 0; text[i] != '\0'; ++i) {
        if (at + i >= f.size() || f[at + i] != static_cast<std::uint8_t>(text[i])) {
            return false;
        }
    }
    return true;
}

// `extended` selects the extended layout (128-byte list, 1440-byte blocks, 512 slots).
inline LookFileSummary checkLookFile(const std::vector<std::uint8_t>& f, bool extended) {
    LookFileSummary s;
    auto problem = [&](const std::string& what) { s.problems.push_back(what); };

    if (!hasText(f, 0, "QKDF"))
        problem("file header magic");
    if (readU32(f, 4) != 256)
        problem("file header length");
    if (readU32(f, 12) != 256)
        problem("look header offset");
    s.headerPartLength = readU32(f, 16);
    if (!hasText(f, 256, "LOOK"))
        problem("look header magic");
    if (readU32(f, 260) != 896 || readU32(f, 272) != 896)
        problem("look header length");

    const std::uint32_t listLength = extended ? 128 : 64;
    const std::uint32_t blockLength = extended ? 1440 : 256;
    if (!hasText(f, 1152, "MDHL"))
        problem("metadata list magic");
    if (readU32(f, 1156) != listLength)
        problem("metadata list length");
    if (readU16(f, 1160) != blockLength)
        problem("metadata block length");
    const std::uint32_t blockCount = readU16(f, 1162);
    if (extended ? (blockCount != 6 && blockCount != 9) : blockCount != 6) {
        problem("metadata block count");
    }
    if (s.headerPartLength != 1152 + listLength + blockCount * blockLength) {
        problem("header part length " + std::to_string(s.headerPartLength));
    }
    for (std::uint32_t k = 0; k < blockCount && k < 9; ++k) {
        if (readU32(f, 1152 + 12 + 8 * k + 4) != listLength + k * blockLength) {
            problem("metadata entry offset " + std::to_string(k));
        }
    }

    const std::size_t chunk = s.headerPartLength;
    if (chunk >= f.size() || !hasText(f, chunk, "CHIP")) {
        problem("body chunk magic");
        return s;
    }
    if (readU32(f, chunk + 4) != 64 || readU32(f, chunk + 8) != 64)
        problem("chunk head");
    s.entrySlots = extended ? 512 : 256;
    const std::uint32_t afterHead = readU32(f, chunk + 16);
    if (afterHead < 32 * s.entrySlots) {
        problem("chunk length below the entry table");
        return s;
    }
    s.dataLength = afterHead - 32 * s.entrySlots;
    if (chunk + 64 + afterHead != f.size()) {
        problem("file length " + std::to_string(f.size()) + " vs chunk " +
                std::to_string(chunk + 64 + afterHead));
    }

    const std::size_t table = chunk + 64;
    for (std::uint32_t e = 0; e < s.entrySlots; ++e) {
        const std::size_t entry = table + 32 * e;
        if (f[entry + 2] == 0) {
            continue;  // never written
        }
        ++s.entriesWritten;
        const std::uint32_t count = readU32(f, entry + 20);
        const std::uint32_t offset = readU32(f, entry + 24);
        if (readU32(f, entry + 28) != 0)
            problem("entry offset above 32 bits");
        if (offset < 32 * s.entrySlots || offset > afterHead) {
            problem("entry " + std::to_string(e) + " offset outside the data");
            continue;
        }
        if (count == 0) {
            continue;
        }
        const bool valuesOnly = f[entry + 9] == 1;
        const std::size_t record = table + offset;
        const std::size_t length = valuesOnly ? 4 + count : 8 + 3 * count;
        if (offset + length > afterHead) {
            problem("entry " + std::to_string(e) + " record runs past the data");
            continue;
        }
        ++s.recordsChecked;
        if (valuesOnly) {
            if (!hasText(f, record, "SR") || !hasText(f, record + 2 + count, "ER")) {
                problem("values-only record markers at entry " + std::to_string(e));
            }
        } else if (!hasText(f, record, "SA") || !hasText(f, record + 2 + 2 * count, "EA") ||
                   !hasText(f, record + 4 + 2 * count, "SD") ||
                   !hasText(f, record + 6 + 3 * count, "ED")) {
            problem("address record markers at entry " + std::to_string(e));
        }
    }
    return s;
}

}  // namespace zeltest

#endif  // ZEL_TESTS_SUPPORT_LOOK_FILE_CHECKER_H
