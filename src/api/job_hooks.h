#ifndef ZEL_API_JOB_HOOKS_H
#define ZEL_API_JOB_HOOKS_H

// Seams through which tests and embedding code make a job deterministic or follow it: a
// hook that runs at the end of each stage (to hold a stage, or to make it fail), one that
// sees every progress report, and the clock the look file's time stamp is read from. A
// generator without hooks uses the machine's local time and runs its stages straight
// through. The C interface follows its jobs through these hooks, because the exported
// callback carries no pointer back to the host's own state.

#include <functional>

#include "api/generator_state.h"
#include "platform/platform.h"
#include "zel/generator.h"

namespace zel::detail {

struct JobHooks {
    // Called on the job's thread when stage `stage` (1 to 7) has done its work, right
    // before that stage's progress step. It may block, or throw to fail the job.
    std::function<void(int stage)> afterStage;
    // Called at every progress report with the values the progress callback gets, on the
    // job's thread and under the generator's lock, like the callback; also in a job on the
    // caller's thread, which runs without callback.
    std::function<void(int progress, ZelEnum::ZEL_STATUS status)> onProgress;
    // Called on the worker thread of an asynchronous job (zel_exec_async) once the job has
    // ended and made its last progress report, outside every lock of the generator: the
    // job's records are the host's again. It must not throw.
    std::function<void()> afterAsyncJob;
    // The clock of the look file's time stamp; empty means the machine's local time.
    platform::Clock clock;
};

struct GeneratorAccess {
    // The hooks must outlive every job the generator runs with them.
    static void setHooks(ZelGenerator& generator, const JobHooks* hooks) {
        generator.state->hooks = hooks;
    }
    // Requests that the running job stop at its next stage end. Unlike zel_cancel it takes
    // no lock, so it may be called from inside a progress report.
    static void requestCancel(ZelGenerator& generator) {
        generator.state->cancelRequested.store(true);
    }
    // Whether the generator's jobs fill the re-indexed look; set before a job starts.
    static void setReindexedLookWanted(ZelGenerator& generator, bool wanted) {
        generator.state->reindexedLookWanted.store(wanted);
    }
    // Whether a cancel is pending for the running job.
    static bool cancelRequested(ZelGenerator& generator) {
        return generator.state->cancelRequested.load();
    }
};

}  // namespace zel::detail

#endif  // ZEL_API_JOB_HOOKS_H
