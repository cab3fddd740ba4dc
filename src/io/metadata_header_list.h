#ifndef ZEL_IO_METADATA_HEADER_LIST_H
#define ZEL_IO_METADATA_HEADER_LIST_H

// The metadata header list ("MDHL") that follows the look header: block length, block
// count and one entry per block with its class tag, index and offset from the list start.

#include "io/header_fields.h"
#include "io/header_part_layout.h"

namespace zel::io {

// Writes the list into `list` (the layout's list length, cleared beforehand).
void writeMetadataHeaderList(const ByteSection& list, const HeaderPartLayout& layout);

}  // namespace zel::io

#endif  // ZEL_IO_METADATA_HEADER_LIST_H
