#ifndef ZELGEN_PROGRESS_H
#define ZELGEN_PROGRESS_H

// Progress of long work on standard error, drawn only when standard error is a terminal.

#include <string>

#include "zel/enums.h"

namespace zelgen {

// The job's progress callback: a plain function with no user data, so it hands the value
// to the main thread through one lock-free atomic and returns at once.
void relayJobProgress(int percent, ZelEnum::ZEL_STATUS status);
// The percentage the running job last reported (0 before its first report).
int relayedJobProgress();
void resetRelayedJobProgress();

// A one-line bar, redrawn in place; cleared again by finish() or the destructor.
class ProgressBar {
  public:
    ProgressBar(bool wanted, std::string label);
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    // Shows `done` of `total` (a percentage when total is 100).
    void show(int done, int total);
    void finish();

  private:
    bool active_;
    std::string label_;
    int lastDone_ = -1;
};

}  // namespace zelgen

#endif  // ZELGEN_PROGRESS_H
