#ifndef ZEL_API_PIPELINE_H
#define ZEL_API_PIPELINE_H

// The two job drivers: the standard job (ZelGenOutput) and the extended job
// (ZelGenOutputExtended), run on the calling thread.

#include "api/generator_state.h"
#include "zel/records.h"

namespace zel::detail {

void runStandardJob(GeneratorState& state, ZelGenInput& input, ZelGenOutput& output);
void runExtendedJob(GeneratorState& state, ZelGenInput& input, ZelGenOutputExtended& output);

}  // namespace zel::detail

#endif  // ZEL_API_PIPELINE_H
