#ifndef ZEL_GENERATOR_H
#define ZEL_GENERATOR_H

#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "zel/enums.h"
#include "zel/export.h"
#include "zel/records.h"

class ZelColorConverter;
struct ZelSharedParamBuf;
class ZelSharedIniBuf;

namespace zel::detail {
struct JobHooks;
struct GeneratorAccess;
}  // namespace zel::detail

// Runs look-generation jobs, one at a time, on the caller's thread (zel_exec) or on one
// worker thread the object owns (zel_exec_async). The host polls the status or follows a
// progress callback, and may cancel a running job; the job stops at its next stage end.
//
// Expected order: construct, zel_initialize, optionally zel_set_callback, then any number
// of jobs (an asynchronous one is followed by zel_finalize), and destruction.
class ZelGenerator {
  public:
    using Callback = void (*)(int, ZelEnum::ZEL_STATUS);

    ZEL_API ZelGenerator();
    // Cancels and waits for a running asynchronous job.
    ZEL_API ~ZelGenerator();
    ZelGenerator(const ZelGenerator&) = delete;
    ZelGenerator& operator=(const ZelGenerator&) = delete;

    // Status 1, no callback, flags cleared. An outstanding worker is joined first.
    ZEL_API void zel_initialize();
    // Stores the progress callback (null removes it). The callback runs on the job's
    // thread while the generator's lock is held: it must return promptly and may only
    // call zel_get_status on this generator.
    ZEL_API void zel_set_callback(Callback callback);
    ZEL_API ZelEnum::ZEL_STATUS zel_get_status();
    // Requests that the running job stop at its next stage end.
    ZEL_API void zel_cancel();

    // Runs a job on the calling thread, without callback; clears the callback.
    ZEL_API void zel_exec(ZelGenInput& input, ZelGenOutput& output);
    ZEL_API void zel_exec(ZelGenInput& input, ZelGenOutputExtended& output);
    // Starts a job on the worker thread and returns at once. The records must stay valid
    // and untouched until the job has ended. Waits for a previous job first.
    ZEL_API void zel_exec_async(ZelGenInput& input, ZelGenOutput& output);
    ZEL_API void zel_exec_async(ZelGenInput& input, ZelGenOutputExtended& output);
    // Waits for the worker thread, if any.
    ZEL_API void zel_finalize();

  private:
    friend struct zel::detail::GeneratorAccess;

    void zel_exec_common(ZelGenInput& input, ZelGenOutput& output);
    void zel_exec_commonExtended(ZelGenInput& input, ZelGenOutputExtended& output);
    void zelCatchProcess(ZelColorConverter*& lattice, std::vector<ZelColorConverter>*& blocks,
                         ZelSharedParamBuf*& paramBuf, ZelSharedIniBuf*& iniBuf);

    template <typename Output>
    void runJob(ZelGenInput& input, Output& output);
    template <typename Output>
    void startAsync(ZelGenInput& input, Output& output);
    void prepareSyncJob();
    void joinWorker();
    // Reports progress p; returns true when a cancel is pending (status is then 4).
    bool progressStep(int progress);
    void finishJob();

    std::thread* worker{};
    Callback callback{};
    std::uint8_t asyncFlag{};
    std::atomic<std::uint8_t> cancelFlag{0};
    std::mutex lock;
    std::atomic<ZelEnum::ZEL_STATUS> status{ZelEnum::ZEL_STATUS_NONE};
    std::int32_t lastProgress{};
    const zel::detail::JobHooks* hooks{};  // test seam: stage hooks and clock; null in use
};

#endif  // ZEL_GENERATOR_H
