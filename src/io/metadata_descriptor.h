#ifndef ZEL_IO_METADATA_DESCRIPTOR_H
#define ZEL_IO_METADATA_DESCRIPTOR_H

// What a job's metadata blocks need beyond the catalogue: the camera model's metadata
// mode, block count and name lengths, and the LUT names and description built from the
// input's names.

#include <array>
#include <cstddef>
#include <cstdint>

#include "zel/records.h"

namespace zel::io {

struct MetadataDescriptor {
    int mode = 0;                       // 0 first generation, 2 CAMB-002, 3 CAMA-001
    int blockCount = 6;                 // 6, or 9 with the ACEScct class
    std::size_t nameLength = 32;        // bytes of the first LUT name and the description
    std::size_t secondNameLength = 28;  // bytes of the second name taken after "LUT:"
};

// The extended job's descriptor, by camera model (compared over the whole field).
MetadataDescriptor metadataDescriptorFor(const char (&modelName)[34]);

// A metadata text, NUL-padded to the widest slot (64 bytes). Texts are built from fixed
// byte counts of the host's fields, so they may hold NUL bytes before their end.
using MetadataText = std::array<std::uint8_t, 64>;

struct MetadataTexts {
    MetadataText firstLutName{};   // "LUT:" and the look header note
    MetadataText secondLutName{};  // "LUT:" and the second metadata name
    MetadataText description{};    // by source encoding and look-file name
};

// Standard job: 32-byte names ("LUT:" and 28 bytes of lookHeaderNote or metadataName) and
// the description "ZEL:" and 28 bytes of lookFileName.
MetadataTexts standardMetadataTexts(const ZelGenInput& input);

// Extended job: "LUT:" and nameLength - 4 bytes of lookHeaderNote; "LUT:" and
// secondNameLength bytes of metadataNameLong; the source code text followed by
// lookFileName, nameLength bytes in all (no description for an unknown source encoding).
MetadataTexts extendedMetadataTexts(const ZelGenInput& input, const MetadataDescriptor& descriptor);

}  // namespace zel::io

#endif  // ZEL_IO_METADATA_DESCRIPTOR_H
