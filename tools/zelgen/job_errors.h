#ifndef ZELGEN_JOB_ERRORS_H
#define ZELGEN_JOB_ERRORS_H

// How a job ended, in plain words. The words of every status and error code come from the
// library's own table, the same a host reads; the tool adds what a user of zelgen can do
// about it, in terms of its options.

#include <string>

#include "zel/enums.h"

namespace zelgen {

// Words for a job status ("the job was cancelled").
std::string describeJobStatus(ZelEnum::ZEL_STATUS status);

// Words for the error code a failed job reports (ZelGenerator::zel_get_last_error), with
// advice where the tool has some; `longChain` says whether the job ran with the camera's
// longer processing chain, which a look that does not fit may point to.
std::string describeJobError(int code, bool longChain = false);

}  // namespace zelgen

#endif  // ZELGEN_JOB_ERRORS_H
