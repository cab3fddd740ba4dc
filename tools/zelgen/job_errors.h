#ifndef ZELGEN_JOB_ERRORS_H
#define ZELGEN_JOB_ERRORS_H

// The one place that turns a failed job's error into plain words. A job that fails writes
// one line on standard error: the error value as a decimal number, or the text of a
// standard exception.

#include <string>
#include <string_view>

namespace zelgen {

// Plain words for the line a failed job wrote ("" when it wrote none).
std::string describeJobError(std::string_view libraryLine);

}  // namespace zelgen

#endif  // ZELGEN_JOB_ERRORS_H
