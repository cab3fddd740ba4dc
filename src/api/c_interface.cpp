// The C interface (zel/zel_c.h): a generator handle around ZelGenerator, looks described
// by one plain structure, results and .cube rows owned by the library until the host
// frees them. Every entry point catches everything: no exception leaves the library.

#include "zel/zel_c.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "api/c_failure.h"
#include "api/c_look_job.h"
#include "api/c_look_plan.h"
#include "api/c_look_rows.h"
#include "api/job_hooks.h"
#include "zel/generator.h"
#include "zel/records.h"

// The structure's layout is the interface: natural alignment, no padding, pointers last.
constexpr std::size_t kPointer = sizeof(void*);
static_assert(offsetof(zel_look_input, lut) == 8, "zel_look_input layout");
static_assert(offsetof(zel_look_input, options) == 8 + kPointer + 20, "zel_look_input layout");
static_assert(offsetof(zel_look_input, camera) == 8 + kPointer + 24, "zel_look_input layout");
static_assert(sizeof(zel_look_input) == 8 + kPointer + 24 + 8 * kPointer, "zel_look_input layout");
// Hosts compiled before `created` was added pass this smaller size; they get the local time.
static_assert(std::is_standard_layout_v<zel_look_input>, "zel_look_input is a C structure");

namespace {

using Status = ZelEnum::ZEL_STATUS;
using zel::copyMessage;
using zel::fail;
using zel::Failure;
using zel::failureOf;

using zel::LookPlan;
using zel::planLook;
using zel::PlannedJob;

// The failure of the generator's last job in words.
std::string lastErrorOf(ZelGenerator& generator) {
    char sentence[512]{};
    if (generator.zel_get_last_error(sentence, sizeof sentence) < 0 || sentence[0] == '\0') {
        return "the look file could not be made";
    }
    return sentence;
}

struct CodeWords {
    std::int32_t code;
    const char* words;
};

constexpr CodeWords kCodeWords[] = {
    {ZEL_OK, "no error"},
    {ZEL_ERROR_ARGUMENT, "an argument is missing or not valid"},
    {ZEL_ERROR_BUSY, "the generator already has a job"},
    {ZEL_ERROR_NO_JOB, "the generator has no asynchronous job to wait for"},
    {ZEL_ERROR_TIMEOUT, "the job is still running"},
    {ZEL_ERROR_CANCELLED, "the job was cancelled"},
    {ZEL_ERROR_JOB_FAILED, "the look file could not be made"},
    {ZEL_ERROR_FILE, "the file cannot be opened"},
    {ZEL_ERROR_CUBE, "the .cube file cannot be read as a 3D LUT"},
    {ZEL_ERROR_BUFFER_TOO_SMALL, "the buffer is too small"},
    {ZEL_ERROR_NO_MEMORY, "there was not enough memory"},
    {ZEL_ERROR_THREAD, "the job's thread could not be started"},
    {ZEL_ERROR_INTERNAL, "an unexpected fault inside the library"},
    {ZEL_ERROR_NOT_LOOK_FILE, "the bytes are not a look file that can be read"},
};

}  // namespace

// ---- Results and the generator handle.

namespace {

struct Outcome {
    Failure failure;
    std::unique_ptr<zel_result> result;
};

}  // namespace

struct zel_generator {
    zel_generator() {
        hooks.afterStage = [this](int) {
            // A cancel that came in while the job was being started is passed on here.
            if (cancelRequested.load()) {
                zel::detail::GeneratorAccess::requestCancel(generator);
            }
        };
        hooks.onProgress = [this](int progress, Status status) {
            reportProgress(progress, status);
        };
        hooks.afterAsyncJob = [this] { endAsync(); };
        zel::detail::GeneratorAccess::setHooks(generator, &hooks);
        // A C host learns how a job ended from the return codes and their sentences, so
        // the library's console lines (progress notes, the error line) stay silent.
        generator.zel_set_console(nullptr, nullptr);
    }

    // A job still running is cancelled and waited for: an asynchronous one here, a
    // synchronous one until its call on another thread has returned. The generator's
    // worker is joined before the hooks it calls go.
    ~zel_generator() {
        std::unique_lock<std::mutex> guard(mutex);
        if (running || asyncPending) {
            cancel();
        }
        ended.wait(guard, [this] { return !running && !starting; });
        guard.unlock();
        generator.zel_finalize();
    }

    zel_generator(const zel_generator&) = delete;
    zel_generator& operator=(const zel_generator&) = delete;

    void cancel() {
        cancelRequested.store(true);
        zel::detail::GeneratorAccess::requestCancel(generator);
    }

    // Runs on the job's thread under the generator's lock.
    void reportProgress(int progress, Status status) {
        if (activeProgress == nullptr) {
            return;
        }
        try {
            activeProgress(activeUser, progress, static_cast<std::int32_t>(status));
        } catch (...) {
            progressThrew.store(true);
            cancel();
        }
    }

    // Claims the generator for a new job; false when it has one.
    bool claim(bool async) {
        if (running || asyncPending) {
            return false;
        }
        running = true;
        asyncPending = async;
        asyncEnded = false;
        starting = async;
        cancelRequested.store(false);
        progressThrew.store(false);
        activeProgress = progress;
        activeUser = progressUser;
        return true;
    }

    // Readies the generator for the job; a time stamp the planner let pass cannot fail.
    Failure prepare(PlannedJob& job) {
        if (!job.job().prepare(generator)) {
            return fail(ZEL_ERROR_ARGUMENT, "created is not a date and time");
        }
        return {};
    }

    // How the job went, once it has ended.
    Outcome outcomeOf(const PlannedJob& job) {
        Outcome outcome;
        const Status status = generator.zel_get_status();
        if (progressThrew.load()) {
            outcome.failure =
                fail(ZEL_ERROR_CANCELLED, "the progress callback threw; the job was cancelled");
        } else if (status == ZelEnum::ZEL_STATUS_CANCELED) {
            outcome.failure = fail(ZEL_ERROR_CANCELLED, "the job was cancelled");
        } else {
            auto result = std::make_unique<zel_result>();
            if (status == ZelEnum::ZEL_STATUS_DONE && job.takeResult(*result)) {
                outcome.result = std::move(result);
            } else {
                outcome.failure = fail(ZEL_ERROR_JOB_FAILED, lastErrorOf(generator));
            }
        }
        return outcome;
    }

    // Plans and runs a look on the calling thread.
    Outcome runHere(const zel_look_input* input) {
        try {
            LookPlan plan;
            Failure planned = planLook(input, plan);
            if (planned.code != ZEL_OK) {
                return Outcome{std::move(planned), nullptr};
            }
            PlannedJob job(std::move(plan));
            Failure prepared = prepare(job);
            if (prepared.code != ZEL_OK) {
                return Outcome{std::move(prepared), nullptr};
            }
            job.job().run(generator);
            return outcomeOf(job);
        } catch (...) {
            return Outcome{failureOf(std::current_exception()), nullptr};
        }
    }

    // Starts the asynchronous job on the generator's worker thread; claimed already.
    Failure startAsync(PlannedJob& job) {
        try {
            Failure prepared = prepare(job);
            if (prepared.code == ZEL_OK) {
                job.job().start(generator);
            }
            return prepared;
        } catch (...) {
            return failureOf(std::current_exception());
        }
    }

    // Runs on the worker thread when the asynchronous job has ended: its outcome is kept
    // for zel_generator_wait and the job's records go (once the call that started it has
    // returned).
    void endAsync() {
        Outcome outcome;
        try {
            outcome = outcomeOf(*asyncJob);
        } catch (...) {
            outcome = Outcome{failureOf(std::current_exception()), nullptr};
        }
        std::lock_guard<std::mutex> ending(mutex);
        asyncOutcome = std::move(outcome);
        if (!starting) {
            asyncJob.reset();  // else the call that started it lets it go
        }
        running = false;
        asyncEnded = true;
        ended.notify_all();
    }

    // The answer of a job function: the code, with its reason kept for
    // zel_generator_message and the result handed over on success.
    std::int32_t answer(Outcome outcome, zel_result** result) {
        message = outcome.failure.message;
        if (outcome.failure.code == ZEL_OK && result != nullptr) {
            *result = outcome.result.release();
        }
        return outcome.failure.code;
    }

    ZelGenerator generator;
    zel::detail::JobHooks hooks;
    std::atomic<bool> cancelRequested{false};
    std::atomic<bool> progressThrew{false};

    std::mutex mutex;  // guards everything below
    std::condition_variable ended;
    bool running = false;       // a job is running
    bool asyncPending = false;  // an asynchronous job has started and is not yet collected
    bool asyncEnded = false;    // ... and has ended
    bool starting = false;      // ... and the call that starts it has not yet returned
    Outcome asyncOutcome;
    std::unique_ptr<PlannedJob> asyncJob;
    zel_progress_fn progress = nullptr;
    void* progressUser = nullptr;
    std::string message;
    // The callback of the running job: written before the job starts, read by its thread.
    zel_progress_fn activeProgress = nullptr;
    void* activeUser = nullptr;
};

// ---- The exported functions.

extern "C" {

const char* zel_error_text(std::int32_t code) {
    for (const CodeWords& known : kCodeWords) {
        if (known.code == code) {
            return known.words;
        }
    }
    return "an unknown error code";
}

std::int32_t zel_generator_create(zel_generator** generator) {
    if (generator == nullptr) {
        return ZEL_ERROR_ARGUMENT;
    }
    *generator = nullptr;
    try {
        *generator = new zel_generator();
        return ZEL_OK;
    } catch (...) {
        return failureOf(std::current_exception()).code;
    }
}

void zel_generator_destroy(zel_generator* generator) {
    try {
        delete generator;
    } catch (...) {
        // A failed join leaves nothing the host could act on; the handle is gone either way.
    }
}

std::int32_t zel_generator_set_progress(zel_generator* generator, zel_progress_fn progress,
                                        void* user) {
    if (generator == nullptr) {
        return ZEL_ERROR_ARGUMENT;
    }
    try {
        std::lock_guard<std::mutex> guard(generator->mutex);
        generator->progress = progress;
        generator->progressUser = user;
        return ZEL_OK;
    } catch (...) {
        return failureOf(std::current_exception()).code;
    }
}

std::int32_t zel_generator_status(zel_generator* generator) {
    if (generator == nullptr) {
        return ZEL_JOB_NONE;
    }
    return static_cast<std::int32_t>(generator->generator.zel_get_status());
}

std::int32_t zel_generator_cancel(zel_generator* generator) {
    if (generator == nullptr) {
        return ZEL_ERROR_ARGUMENT;
    }
    generator->cancel();
    return ZEL_OK;
}

const char* zel_generator_message(zel_generator* generator) {
    return generator != nullptr ? generator->message.c_str() : "";
}

std::int32_t zel_make_look(zel_generator* generator, const zel_look_input* input,
                           zel_result** result) {
    if (result != nullptr) {
        *result = nullptr;
    }
    if (generator == nullptr) {
        return ZEL_ERROR_ARGUMENT;
    }
    try {
        std::unique_lock<std::mutex> guard(generator->mutex);
        if (result == nullptr) {
            return generator->answer({fail(ZEL_ERROR_ARGUMENT, "no place for the result"), {}},
                                     nullptr);
        }
        if (!generator->claim(false)) {
            return generator->answer({fail(ZEL_ERROR_BUSY, "the generator already has a job"), {}},
                                     nullptr);
        }
        guard.unlock();
        Outcome outcome = generator->runHere(input);
        guard.lock();
        generator->running = false;
        generator->ended.notify_all();
        return generator->answer(std::move(outcome), result);
    } catch (...) {
        return failureOf(std::current_exception()).code;
    }
}

std::int32_t zel_make_look_async(zel_generator* generator, const zel_look_input* input) {
    if (generator == nullptr) {
        return ZEL_ERROR_ARGUMENT;
    }
    try {
        std::unique_lock<std::mutex> guard(generator->mutex);
        if (generator->running || generator->asyncPending) {
            return generator->answer({fail(ZEL_ERROR_BUSY, "the generator already has a job"), {}},
                                     nullptr);
        }
        LookPlan plan;
        Failure planned = planLook(input, plan);
        if (planned.code != ZEL_OK) {
            return generator->answer({std::move(planned), {}}, nullptr);
        }
        generator->asyncJob = std::make_unique<PlannedJob>(std::move(plan));
        PlannedJob& job = *generator->asyncJob;
        generator->claim(true);
        generator->message.clear();
        // The job's thread takes the lock when it ends: it is started outside it.
        guard.unlock();
        Failure started = generator->startAsync(job);
        guard.lock();
        generator->starting = false;
        if (started.code != ZEL_OK) {
            generator->running = false;
            generator->asyncPending = false;
        }
        if (started.code != ZEL_OK || generator->asyncEnded) {
            generator->asyncJob.reset();
        }
        generator->ended.notify_all();
        return generator->answer({std::move(started), {}}, nullptr);
    } catch (...) {
        Failure failure = failureOf(std::current_exception());
        generator->message = failure.message;
        return failure.code;
    }
}

std::int32_t zel_generator_wait(zel_generator* generator, std::int32_t timeout_ms,
                                zel_result** result) {
    if (result != nullptr) {
        *result = nullptr;
    }
    if (generator == nullptr) {
        return ZEL_ERROR_ARGUMENT;
    }
    try {
        std::unique_lock<std::mutex> guard(generator->mutex);
        if (result == nullptr) {
            return generator->answer({fail(ZEL_ERROR_ARGUMENT, "no place for the result"), {}},
                                     nullptr);
        }
        const auto ready = [generator] {
            return (generator->asyncEnded && !generator->starting) || !generator->asyncPending;
        };
        if (timeout_ms < 0) {
            generator->ended.wait(guard, ready);
        } else if (!generator->ended.wait_for(guard, std::chrono::milliseconds(timeout_ms),
                                              ready)) {
            return ZEL_ERROR_TIMEOUT;
        }
        if (!generator->asyncPending) {
            return generator->answer(
                {fail(ZEL_ERROR_NO_JOB, "the generator has no asynchronous job to wait for"), {}},
                nullptr);
        }
        // The job's thread has left the lock for good: joining it here cannot block.
        generator->generator.zel_finalize();
        generator->asyncPending = false;
        generator->asyncEnded = false;
        return generator->answer(std::move(generator->asyncOutcome), result);
    } catch (...) {
        Failure failure = failureOf(std::current_exception());
        generator->message = failure.message;
        return failure.code;
    }
}

const std::uint8_t* zel_result_data(const zel_result* result, std::uint32_t* size) {
    if (size != nullptr) {
        *size = result != nullptr ? static_cast<std::uint32_t>(result->data.size()) : 0;
    }
    return result != nullptr ? result->data.data() : nullptr;
}

const char* zel_result_cube_header(const zel_result* result) {
    return result != nullptr ? result->cubeHeader.c_str() : "";
}

const float* zel_result_reindexed(const zel_result* result, std::uint32_t* float_count) {
    const bool any = result != nullptr && !result->reindexed.empty();
    if (float_count != nullptr) {
        *float_count = any ? static_cast<std::uint32_t>(result->reindexed.size()) : 0;
    }
    return any ? result->reindexed.data() : nullptr;
}

std::int32_t zel_result_grid_size(const zel_result* result) {
    return result != nullptr ? result->gridSize : 0;
}

void zel_result_free(zel_result* result) {
    delete result;
}

}  // extern "C"
