#include "io/look_file.h"

// The look-file headers are added with the look-file writer.
void writeStandardLookHeaders(const ZelGenInput&, ZelGenOutput&) {}
void writeStandardTimeStamp(Zel&, const zel::platform::LocalTime&) {}
void writeExtendedLookHeaders(const ZelGenInput&, ZelGenOutputExtended&,
                              const zel::platform::LocalTime&) {}
