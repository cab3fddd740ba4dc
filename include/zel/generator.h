#ifndef ZEL_GENERATOR_H
#define ZEL_GENERATOR_H

#include <cstddef>
#include <memory>

#include "zel/enums.h"
#include "zel/export.h"
#include "zel/records.h"

namespace zel::detail {
struct GeneratorState;
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
    // Receives the library's console lines: stream 1 is the output stream, 2 the error
    // stream; `text` is one whole line with its newline, `length` bytes, not NUL-terminated.
    using ConsoleSink = void (*)(void* user, int stream, const char* text, std::size_t length);

    ZEL_API ZelGenerator();
    // Cancels and waits for a running asynchronous job.
    ZEL_API ~ZelGenerator();
    ZelGenerator(const ZelGenerator&) = delete;
    ZelGenerator& operator=(const ZelGenerator&) = delete;

    // Status 1, no callback, flags cleared. An outstanding worker is joined first; the
    // outcome of the job it ran stays readable through zel_get_last_job_status and
    // zel_get_last_error.
    ZEL_API void zel_initialize();
    // Stores the progress callback (null removes it). The callback runs on the job's
    // thread while the generator's lock is held: it must return promptly and may only
    // call zel_get_status, zel_get_last_job_status and zel_get_last_error on this
    // generator. A job that ends by an error or a cancel makes one last call with status
    // 3 or 4 and the last progress it reported (0 when none); a finished job's last call
    // is (99, 5).
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

    // The end status of the last job that ended (3, 4 or 5), or 0 when none has. Unlike
    // zel_get_status, zel_initialize does not reset it.
    ZEL_API ZelEnum::ZEL_STATUS zel_get_last_job_status();
    // The last job's failure: returns its code (a ZelEnum::ZelException or ZelJobError
    // value), or -1 (ZEL_ERROR_NONE) when the last job did not fail or none has ended. When
    // `message` is not null and `capacity` is not 0, copies the sentence that says what
    // went wrong ("" for none), cut to capacity - 1 bytes and NUL-terminated.
    ZEL_API int zel_get_last_error(char* message, std::size_t capacity);
    // Sends the library's console lines of this generator's jobs to `sink` (with `user`);
    // a null sink silences them. Applies from the next job on; the sink is called on the
    // job's thread, one whole line a call, and `user` must outlive the jobs that use it.
    ZEL_API void zel_set_console(ConsoleSink sink, void* user);
    // Sends the console lines to the standard output and error streams again (the
    // default).
    ZEL_API void zel_use_standard_console();
    // Stamps the look files of the jobs started after this call with `created`, a local
    // date and time "YYYY-MM-DD HH:MM:SS", so that the same job makes the same bytes; null
    // or "" returns to the default, the local time when each job runs. Returns false, and
    // keeps the previous setting, for a text that names no such time.
    ZEL_API bool zel_set_time_stamp(const char* created);

  private:
    friend struct zel::detail::GeneratorAccess;

    std::unique_ptr<zel::detail::GeneratorState> state;
};

#endif  // ZEL_GENERATOR_H
