#ifndef ZELGEN_JOB_ERRORS_H
#define ZELGEN_JOB_ERRORS_H

// The one place that turns how a job ended into plain words: every job status and every
// error value a job can end with. A job that fails writes one line on standard error: the
// error value as a decimal number, or the text of a standard exception; the tool keeps that
// line from the user and shows these words instead, which stand on their own.

#include <string>
#include <string_view>

#include "zel/enums.h"

namespace zelgen {

// Words for a job status, as a sentence part ("the job was cancelled").
std::string describeJobStatus(ZelEnum::ZEL_STATUS status);

// Words for an error value a job stage throws; `longChain` says whether the job ran with
// the camera's longer processing chain, which a look file that does not fit may point to.
std::string describeJobException(int value, bool longChain = false);

// Words for the line a failed job wrote ("" when it wrote none).
std::string describeJobError(std::string_view libraryLine, bool longChain = false);

}  // namespace zelgen

#endif  // ZELGEN_JOB_ERRORS_H
