#ifndef ZEL_IO_HEADER_PART_LAYOUT_H
#define ZEL_IO_HEADER_PART_LAYOUT_H

// Where the sections of a look file's header part lie: file header, look header, metadata
// header list and metadata blocks, one after the other. The body chunk follows at the
// header part's length.

#include <array>
#include <cstdint>

#include "io/look_file_layout.h"
#include "io/metadata_descriptor.h"

namespace zel::io {

constexpr std::uint32_t kFileHeaderLength = file_header::kLength;
constexpr std::uint32_t kLookHeaderOffset = kFileHeaderLength;
constexpr std::uint32_t kLookHeaderLength = look_header::kLength;
constexpr std::uint32_t kMetadataListOffset = kLookHeaderOffset + kLookHeaderLength;
// File offset and width of the look name.
constexpr std::uint32_t kLookNameOffset = kLookHeaderOffset + look_header::kLookName.offset;
constexpr std::uint32_t kLookNameLength = look_header::kLookName.width;

struct HeaderPartLayout {
    std::array<std::uint8_t, 4> formatBytes{};
    std::uint32_t listLength = 0;  // also the offset of block 0 from the list start
    std::uint32_t blockLength = 0;
    std::uint32_t blockCount = 0;         // blocks that follow the list
    int listEntryCount = 0;               // entries the list names
    const char* fullRangeName = nullptr;  // how the look header names a full range

    std::uint32_t blocksOffset() const { return kMetadataListOffset + listLength; }
    std::uint32_t length() const { return blocksOffset() + blockCount * blockLength; }
};

// The standard look file: 64-byte list naming six 256-byte blocks; 2752 bytes in all.
inline HeaderPartLayout standardHeaderPartLayout() {
    return HeaderPartLayout{{1, 16, 1, 1}, 64, 256, 6, 6, "FULL"};
}

// The extended look file: 128-byte list and 1440-byte blocks. The list of modes 0 and 2
// always names nine blocks; its count says how many follow.
inline HeaderPartLayout extendedHeaderPartLayout(const MetadataDescriptor& descriptor) {
    HeaderPartLayout layout{{0, 16, 0, 0}, 128, 1440, 0, 9, "Full"};
    layout.blockCount = static_cast<std::uint32_t>(descriptor.blockCount);
    if (descriptor.mode != 0) {
        const auto mode = static_cast<std::uint8_t>(descriptor.mode);
        layout.formatBytes = {1, 16, 2, mode};
    }
    if (descriptor.mode == 3) {
        layout.listEntryCount = 6;
    }
    return layout;
}

}  // namespace zel::io

#endif  // ZEL_IO_HEADER_PART_LAYOUT_H
