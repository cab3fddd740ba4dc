#ifndef ZEL_IO_METADATA_BLOCKS_H
#define ZEL_IO_METADATA_BLOCKS_H

// The metadata blocks of a look file: three per class (Q-Enc3, Q-Enc3 film, ACEScct), each
// telling a loader which source and output encodings the look serves in that class.
// Block k belongs to class k / 3 and has index k % 3.

#include <cstddef>

#include "io/header_fields.h"
#include "io/metadata_descriptor.h"
#include "zel/records.h"

namespace zel::io {

constexpr std::size_t kStandardBlockLength = 256;
constexpr std::size_t kExtendedBlockLength = 1440;
constexpr int kStandardBlockCount = 6;

// The six 256-byte blocks of the standard look file into `blocks` (cleared beforehand).
void writeStandardMetadataBlocks(const ByteSection& blocks, const ZelGenInput& input);

// The descriptor's count of 1440-byte blocks into `blocks` (cleared beforehand), with the
// CAMA-001 camera's own fields in metadata mode 3.
void writeExtendedMetadataBlocks(const ByteSection& blocks, const ZelGenInput& input,
                                 const MetadataDescriptor& descriptor);

}  // namespace zel::io

#endif  // ZEL_IO_METADATA_BLOCKS_H
