#ifndef ZEL_COLOR_CONVERSION_STAGE_H
#define ZEL_COLOR_CONVERSION_STAGE_H

// Colour-space conversion: the re-indexed float copy of the look for the host, and the
// list of the camera's processing blocks resampled from the look.

#include <cstdint>
#include <vector>

#include "color/color_converter.h"
#include "platform/job_cancel.h"
#include "settings/look_settings.h"
#include "zel/records.h"

struct ConversionSizes {
    std::int32_t cubeSize = 0;
    std::int32_t inputFirst = 0;
    std::int32_t inputLast = 0;
    std::int32_t table1dRows = 0;
    std::int32_t curveSamples = 0;
    std::int32_t matrixRows = 0;
    std::int32_t table1dColumns = 0;
    std::int32_t cubeColumns = 0;
    std::int32_t matrixColumns = 0;
    std::int32_t referenceCount = 0;
    std::int32_t generationMode = 0;
};

// The three selector bytes of the job input, packed.
struct ConversionEncodings {
    std::uint8_t sourceEncoding = 0;
    std::uint8_t outputCurve = 0;
    std::uint8_t outputRange = 0;
};

// Rejects a look the conversion cannot use, before any of it is converted (the standard job
// has already written its headers into the output record by then): the lattice error
// for a grid size below 2, a null node table, a null float buffer the encoding needs,
// or a non-finite channel value.
void validateLookInput(const ZelGenInput& input, const float* floatLut, const float* floatLutFilm);
// The same checks without the float buffers, for a job that does not fill them.
void validateLookNodes(const ZelGenInput& input);

void setConversionSizes(ConversionSizes& sizes, std::int32_t generationMode);

// For source encodings 0 and 1: writes the look re-indexed for the other Q-Prims gamut
// into floatLut (0) or floatLutFilm (1). Any other encoding writes nothing. `cancel` is
// asked before each plane of nodes.
void reindexSourceLattice(const ZelLookSettings& settings, std::uint8_t sourceEncoding,
                          const ZelColorConverter& hostLattice, ZelGenOutput& output,
                          const zel::CancelCheck& cancel = zel::CancelCheck());
void reindexSourceLattice(const ZelLookSettings& settings, std::uint8_t sourceEncoding,
                          const ZelColorConverter& hostLattice, ZelGenOutputExtended& output,
                          const zel::CancelCheck& cancel = zel::CancelCheck());

// Appends the eleven blocks of the standard job; with fullDomain the cubes span the full
// code range.
void buildBlockListStandard(ConversionSizes& sizes, const ConversionEncodings& encodings,
                            const ZelColorConverter& hostLattice,
                            std::vector<ZelColorConverter>& blocks, bool fullDomain);

// Appends the eight blocks of the extended job.
void buildBlockListExtended(const ConversionSizes& sizes, const ConversionEncodings& encodings,
                            const ZelColorConverter& hostLattice,
                            std::vector<ZelColorConverter>& blocks);

#endif  // ZEL_COLOR_CONVERSION_STAGE_H
