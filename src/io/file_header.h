#ifndef ZEL_IO_FILE_HEADER_H
#define ZEL_IO_FILE_HEADER_H

// The 256-byte file header that opens every look file.

#include "io/header_fields.h"
#include "io/header_part_layout.h"
#include "platform/platform.h"
#include "zel/records.h"

namespace zel::io {

// Everything but the creation time stamp, into the first 256 bytes of `headerPart`.
void writeFileHeader(const ByteSection& headerPart, const HeaderPartLayout& layout,
                     const ZelGenInput& input);

// The 8-byte creation time stamp at offset 180 of the file header. Values outside their
// calendar range are clamped into it, so a stamp never spills into the next field.
void writeTimeStamp(const ByteSection& fileHeader, const zel::platform::LocalTime& time);

}  // namespace zel::io

#endif  // ZEL_IO_FILE_HEADER_H
