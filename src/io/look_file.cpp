#include "io/look_file.h"

#include <cstring>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include "io/cube_header.h"
#include "io/file_header.h"
#include "io/header_fields.h"
#include "io/header_part_layout.h"
#include "io/look_header.h"
#include "io/metadata_blocks.h"
#include "io/metadata_descriptor.h"
#include "io/metadata_header_list.h"

namespace {

using zel::io::ByteSection;
using zel::io::HeaderPartLayout;

// The standard image's sections lie back to back, as in the file.
static_assert(sizeof(Zel::fileHeader) == zel::io::kFileHeaderLength, "file header");
static_assert(sizeof(Zel::lookHeader) == zel::io::kLookHeaderLength, "look header");
static_assert(sizeof(ZelMetadataHeaderList) == 64, "standard metadata header list");
static_assert(std::is_standard_layout_v<ZelMetadataHeaderList>, "list written as bytes");
static_assert(sizeof(Zel::metadataData) ==
                  zel::io::kStandardBlockCount * zel::io::kStandardBlockLength,
              "standard metadata blocks");

// File header, look header, metadata header list and blocks, into a cleared header part.
void writeHeaderPart(const ByteSection& part, const HeaderPartLayout& layout,
                     const ZelGenInput& input) {
    writeFileHeader(part, layout, input);
    writeLookHeader(part, input, layout.fullRangeName);
    writeMetadataHeaderList(part.sub(zel::io::kMetadataListOffset, layout.listLength), layout);
}

ByteSection blocksOf(const ByteSection& part, const HeaderPartLayout& layout) {
    return part.sub(layout.blocksOffset(), layout.blockCount * layout.blockLength);
}

// One diagnostic line per section: its name immediately followed by its length.
void printSectionLength(const zel::Console& console, const char* section, std::uint32_t length) {
    console.line(zel::Console::kOut, std::string(section) + std::to_string(length));
}

}  // namespace

void writeStandardLookHeaders(const ZelGenInput& input, ZelGenOutput& output) {
    const HeaderPartLayout layout = zel::io::standardHeaderPartLayout();
    std::vector<std::uint8_t> part(layout.length(), 0);
    const ByteSection section{part.data(), part.size()};
    writeHeaderPart(section, layout, input);
    zel::io::writeStandardMetadataBlocks(blocksOf(section, layout), input);

    Zel& zel = output.zel;
    const std::uint8_t* at = part.data();
    std::memcpy(zel.fileHeader, at, sizeof zel.fileHeader);
    at += sizeof zel.fileHeader;
    std::memcpy(zel.lookHeader, at, sizeof zel.lookHeader);
    at += sizeof zel.lookHeader;
    // The list record's members are the list's bytes in file order.
    std::memcpy(reinterpret_cast<std::uint8_t*>(&zel.metadataHeaderList), at,
                sizeof zel.metadataHeaderList);
    at += sizeof zel.metadataHeaderList;
    std::memcpy(zel.metadataData, at, sizeof zel.metadataData);
}

void writeStandardTimeStamp(Zel& zel, const zel::platform::LocalTime& time) {
    zel::io::writeTimeStamp(ByteSection{zel.fileHeader, sizeof zel.fileHeader}, time);
}

void writeExtendedLookHeaders(const ZelGenInput& input, ZelGenOutputExtended& output,
                              const zel::platform::LocalTime& time, const zel::Console& console) {
    const zel::io::MetadataDescriptor descriptor = zel::io::metadataDescriptorFor(input.modelName);
    const HeaderPartLayout layout = zel::io::extendedHeaderPartLayout(descriptor);
    const std::uint32_t length = layout.length();
    if (length > sizeof output.headerBytes) {
        throw std::out_of_range("look file header part larger than its record");
    }

    // Cleared whole, so that no byte of an earlier, longer header part stays behind.
    std::memset(output.headerBytes, 0, sizeof output.headerBytes);
    const ByteSection part{output.headerBytes, length};
    writeHeaderPart(part, layout, input);
    zel::io::writeTimeStamp(part.sub(0, zel::io::kFileHeaderLength), time);
    zel::io::writeExtendedMetadataBlocks(blocksOf(part, layout), input, descriptor);
    output.headerSize = length;

    if (descriptor.mode == 0 || descriptor.mode == 3) {
        printSectionLength(console, "zelFileHeader", zel::io::kFileHeaderLength);
        printSectionLength(console, "zelLookHeader", zel::io::kLookHeaderLength);
        printSectionLength(console, "zelMetadataHeaderList", layout.listLength);
        // Mode 0's list names nine blocks (only six follow it); its line reports the span
        // those nine entries name.
        const std::uint32_t namedBlocks = descriptor.mode == 0 ? 9 : layout.blockCount;
        printSectionLength(console, "zelMetadataData", namedBlocks * layout.blockLength);
    }

    // The .cube title carries the look name exactly as the look header does.
    std::uint8_t lookName[zel::io::kLookNameLength]{};
    std::memcpy(lookName, output.headerBytes + zel::io::kLookNameOffset, sizeof lookName);
    zel::io::writeCubeHeader(output.cubeHeader, input.lookFileName, input.sourceEncoding, lookName,
                             input.gridSize);
}
