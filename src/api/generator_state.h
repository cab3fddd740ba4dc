#ifndef ZEL_API_GENERATOR_STATE_H
#define ZEL_API_GENERATOR_STATE_H

// What a ZelGenerator holds behind its public face: the worker thread, the host's
// callback and console, the status words and the last job's outcome.

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "platform/console.h"
#include "platform/platform.h"
#include "zel/generator.h"

namespace zel::detail {

struct JobHooks;

struct GeneratorState {
    // Waits for the worker thread, if one was started. Throws std::system_error when
    // called from the worker itself.
    void joinWorker();

    // What a job takes from its generator when it starts: the console it writes to and the
    // time stamp the host set (none: the local time).
    struct JobStart {
        Console console;
        std::optional<platform::LocalTime> timeStamp;
    };
    // Called by a job when it starts: clears the last error and the progress.
    JobStart beginJob();
    // Reports progress p; returns true when a cancel is pending (status is then 4).
    bool progressStep(int progress);
    // The job finished all stages: status 5 and the final call (99, 5).
    void finishJob();
    // The job stopped on a cancel request: the final call with status 4.
    void endCancelled();
    // The job ended by an error: keeps its code and sentence, sets status 3, writes
    // `consoleLine` to the console's error stream and makes the final call with status 3
    // (unless the job's final call was already made).
    void endFailed(int code, const std::string& sentence, const std::string& consoleLine,
                   const Console& console);

    std::thread worker;
    ZelGenerator::Callback callback{};
    Console console;  // guarded by `lock`
    std::atomic<bool> cancelRequested{false};
    std::mutex lock;
    std::atomic<ZelEnum::ZEL_STATUS> status{ZelEnum::ZEL_STATUS_NONE};
    std::atomic<ZelEnum::ZEL_STATUS> lastJobStatus{ZelEnum::ZEL_STATUS_NONE};
    std::int32_t lastProgress{};  // guarded by `lock`
    bool finalCallMade{};         // guarded by `lock`
    const JobHooks* hooks{};      // test seam: stage hooks and clock; null in use
    // Whether the jobs fill the output record's re-indexed look. A host of the library's
    // own that will not read it (zelgen without --cube-out) turns this off, and its jobs
    // neither need the float buffer nor spend the time and memory of filling it.
    std::atomic<bool> reindexedLookWanted{true};
    // The host's time stamp for the look files; none means the local time of each job.
    std::optional<platform::LocalTime> timeStamp;  // guarded by `lock`

    // The last job's failure; its own lock, so that a callback may read it.
    std::mutex errorLock;
    int lastErrorCode = ZelEnum::ZEL_ERROR_NONE;
    std::string lastErrorText;

  private:
    // Makes the job's final call with `end`, once; a callback that throws here is ignored,
    // the job has already ended.
    void finalCall(ZelEnum::ZEL_STATUS end);
};

}  // namespace zel::detail

#endif  // ZEL_API_GENERATOR_STATE_H
