#ifndef ZEL_IO_LOOK_FILE_H
#define ZEL_IO_LOOK_FILE_H

// The header part of the binary look file (file header, look header, metadata header
// list and metadata blocks) and the .cube header text returned with it.

#include "platform/console.h"
#include "platform/platform.h"
#include "zel/records.h"

// Standard job, first stage: file header without time stamp, look header, metadata
// header list and the six metadata blocks. (The job writes the .cube header text next.)
void writeStandardLookHeaders(const ZelGenInput& input, ZelGenOutput& output);

// Standard job, last step: the creation time stamp of the file header.
void writeStandardTimeStamp(Zel& zel, const zel::platform::LocalTime& time);

// Extended job, last stage: the creation time and the whole header part into headerBytes
// and headerSize, then the .cube header text with the look name of the look header, in
// every metadata mode. Modes 0 and 3 print one line per section (name and length) to
// the console's output stream.
void writeExtendedLookHeaders(const ZelGenInput& input, ZelGenOutputExtended& output,
                              const zel::platform::LocalTime& time,
                              const zel::Console& console = zel::standardConsole());

#endif  // ZEL_IO_LOOK_FILE_H
