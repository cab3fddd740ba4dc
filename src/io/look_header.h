#ifndef ZEL_IO_LOOK_HEADER_H
#define ZEL_IO_LOOK_HEADER_H

// The 896-byte look header at file offset 256: the output the look is for, its name and
// texts, and the source encoding and grid size of the look.

#include "io/header_fields.h"
#include "zel/records.h"

namespace zel::io {

// Writes the look header into `headerPart` (file offsets 256 to 1151), naming a full
// output range `fullRangeName` ("FULL" in the standard file, "Full" in the extended one).
void writeLookHeader(const ByteSection& headerPart, const ZelGenInput& input,
                     const char* fullRangeName);

// The output curve the look header's curve character names (0 Rec.709, 1 PQ, 2 HLG), the
// inverse of what writeLookHeader writes; -1 for any other character.
int outputCurveOf(std::uint8_t curveCharacter);

}  // namespace zel::io

#endif  // ZEL_IO_LOOK_HEADER_H
