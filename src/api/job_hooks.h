#ifndef ZEL_API_JOB_HOOKS_H
#define ZEL_API_JOB_HOOKS_H

// Seams through which tests and embedding code make a job deterministic: a hook that
// runs at the end of each stage (to hold a stage, or to make it fail) and the clock the
// look file's time stamp is read from. A generator without hooks uses the machine's
// local time and runs its stages straight through.

#include <functional>

#include "api/generator_state.h"
#include "platform/platform.h"
#include "zel/generator.h"

namespace zel::detail {

struct JobHooks {
    // Called on the job's thread when stage `stage` (1 to 7) has done its work, right
    // before that stage's progress step. It may block, or throw to fail the job.
    std::function<void(int stage)> afterStage;
    // The clock of the look file's time stamp; empty means the machine's local time.
    platform::Clock clock;
};

struct GeneratorAccess {
    // The hooks must outlive every job the generator runs with them.
    static void setHooks(ZelGenerator& generator, const JobHooks* hooks) {
        generator.state->hooks = hooks;
    }
    // Whether a cancel is pending for the running job.
    static bool cancelRequested(ZelGenerator& generator) {
        return generator.state->cancelRequested.load();
    }
};

}  // namespace zel::detail

#endif  // ZEL_API_JOB_HOOKS_H
