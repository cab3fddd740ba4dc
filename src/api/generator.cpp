#include "zel/generator.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <system_error>
#include <type_traits>

#include "api/generator_state.h"
#include "api/job_hooks.h"
#include "api/pipeline.h"
#include "platform/time_stamp.h"

using ZelEnum::ZEL_STATUS;

namespace zel::detail {

void GeneratorState::joinWorker() {
    // join() throws (and the thread object is kept) when called from the worker itself.
    if (worker.joinable()) {
        worker.join();
    }
}

GeneratorState::JobStart GeneratorState::beginJob() {
    {
        std::lock_guard<std::mutex> guard(errorLock);
        lastErrorCode = ZelEnum::ZEL_ERROR_NONE;
        lastErrorText.clear();
    }
    std::lock_guard<std::mutex> guard(lock);
    lastProgress = 0;
    finalCallMade = false;
    return {console, timeStamp};
}

bool GeneratorState::progressStep(int progress) {
    {
        std::lock_guard<std::mutex> guard(lock);
        status.store(ZelEnum::ZEL_STATUS_RUNNING);
        lastProgress = progress;
        if (callback != nullptr) {
            callback(progress, ZelEnum::ZEL_STATUS_RUNNING);
        }
        if (hooks != nullptr && hooks->onProgress) {
            hooks->onProgress(progress, ZelEnum::ZEL_STATUS_RUNNING);
        }
    }
    if (cancelRequested.load()) {
        std::lock_guard<std::mutex> guard(lock);
        status.store(ZelEnum::ZEL_STATUS_CANCELED);
        return true;
    }
    return false;
}

void GeneratorState::finishJob() {
    {
        std::lock_guard<std::mutex> guard(lock);
        if (status.load() == ZelEnum::ZEL_STATUS_RUNNING) {
            status.store(ZelEnum::ZEL_STATUS_DONE);
        }
        lastJobStatus.store(status.load());
    }
    std::lock_guard<std::mutex> guard(lock);
    finalCallMade = true;
    if (callback != nullptr) {
        callback(99, status.load());
    }
    if (hooks != nullptr && hooks->onProgress) {
        hooks->onProgress(99, status.load());
    }
}

void GeneratorState::endCancelled() {
    {
        // Set already when the cancel was seen at a stage end; a cancel seen inside a stage
        // sets it here.
        std::lock_guard<std::mutex> guard(lock);
        status.store(ZelEnum::ZEL_STATUS_CANCELED);
    }
    lastJobStatus.store(ZelEnum::ZEL_STATUS_CANCELED);
    finalCall(ZelEnum::ZEL_STATUS_CANCELED);
}

void GeneratorState::endFailed(int code, const std::string& sentence,
                               const std::string& consoleLine, const Console& jobConsole) {
    {
        std::lock_guard<std::mutex> guard(errorLock);
        lastErrorCode = code;
        lastErrorText = sentence;
    }
    status.store(ZelEnum::ZEL_STATUS_ERROR);
    lastJobStatus.store(ZelEnum::ZEL_STATUS_ERROR);
    try {
        jobConsole.line(Console::kErr, consoleLine);
    } catch (...) {
        // A console that cannot take the line does not change how the job ended.
    }
    finalCall(ZelEnum::ZEL_STATUS_ERROR);
}

void GeneratorState::finalCall(ZEL_STATUS end) {
    try {
        std::lock_guard<std::mutex> guard(lock);
        if (finalCallMade) {
            return;
        }
        finalCallMade = true;
        if (callback != nullptr) {
            callback(lastProgress, end);
        }
        if (hooks != nullptr && hooks->onProgress) {
            hooks->onProgress(lastProgress, end);
        }
    } catch (...) {
        // The job has already ended; a callback that throws on its last call changes nothing.
    }
}

}  // namespace zel::detail

using zel::detail::GeneratorState;

ZelGenerator::ZelGenerator() : state(std::make_unique<GeneratorState>()) {}

ZelGenerator::~ZelGenerator() {
    state->cancelRequested.store(true);
    if (state->worker.joinable()) {
        state->worker.join();
    }
}

void ZelGenerator::zel_initialize() {
    // A worker still outstanding is waited for rather than lost; its outcome stays in
    // lastJobStatus and the last error.
    state->joinWorker();
    std::lock_guard<std::mutex> guard(state->lock);
    state->callback = nullptr;
    state->cancelRequested.store(false);
    state->reindexedLookWanted.store(true);
    state->status.store(ZelEnum::ZEL_STATUS_READY);
}

void ZelGenerator::zel_set_callback(Callback newCallback) {
    std::lock_guard<std::mutex> guard(state->lock);
    state->callback = newCallback;
}

ZEL_STATUS ZelGenerator::zel_get_status() {
    return state->status.load();
}

void ZelGenerator::zel_cancel() {
    std::lock_guard<std::mutex> guard(state->lock);
    state->cancelRequested.store(true);
}

namespace {

// A synchronous job runs without callback: the host reads the outcome from the status.
void prepareSyncJob(GeneratorState& state) {
    state.joinWorker();
    {
        std::lock_guard<std::mutex> guard(state.lock);
        state.callback = nullptr;
    }
    state.cancelRequested.store(false);
}

template <typename Output>
void startAsync(GeneratorState& state, ZelGenInput& input, Output& output) {
    state.joinWorker();
    state.cancelRequested.store(false);
    try {
        state.worker = std::thread([&state, &input, &output] {
            if constexpr (std::is_same_v<Output, ZelGenOutput>) {
                zel::detail::runStandardJob(state, input, output);
            } else {
                zel::detail::runExtendedJob(state, input, output);
            }
            if (state.hooks != nullptr && state.hooks->afterAsyncJob) {
                state.hooks->afterAsyncJob();
            }
        });
    } catch (const std::system_error&) {
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again),
                                "cannot start the generator's worker thread");
    }
}

}  // namespace

void ZelGenerator::zel_exec(ZelGenInput& input, ZelGenOutput& output) {
    prepareSyncJob(*state);
    zel::detail::runStandardJob(*state, input, output);
}

void ZelGenerator::zel_exec(ZelGenInput& input, ZelGenOutputExtended& output) {
    prepareSyncJob(*state);
    zel::detail::runExtendedJob(*state, input, output);
}

void ZelGenerator::zel_exec_async(ZelGenInput& input, ZelGenOutput& output) {
    startAsync(*state, input, output);
}

void ZelGenerator::zel_exec_async(ZelGenInput& input, ZelGenOutputExtended& output) {
    startAsync(*state, input, output);
}

void ZelGenerator::zel_finalize() {
    state->joinWorker();
}

ZEL_STATUS ZelGenerator::zel_get_last_job_status() {
    return state->lastJobStatus.load();
}

int ZelGenerator::zel_get_last_error(char* message, std::size_t capacity) {
    std::lock_guard<std::mutex> guard(state->errorLock);
    if (message != nullptr && capacity > 0) {
        const std::size_t length = std::min(state->lastErrorText.size(), capacity - 1);
        std::memcpy(message, state->lastErrorText.data(), length);
        message[length] = '\0';
    }
    return state->lastErrorCode;
}

void ZelGenerator::zel_set_console(ConsoleSink sink, void* user) {
    std::lock_guard<std::mutex> guard(state->lock);
    state->console = zel::Console(sink, user);
}

void ZelGenerator::zel_use_standard_console() {
    std::lock_guard<std::mutex> guard(state->lock);
    state->console = zel::Console();
}

bool ZelGenerator::zel_set_time_stamp(const char* created) {
    try {
        std::optional<zel::platform::LocalTime> time;
        if (created != nullptr && created[0] != '\0') {
            time = zel::platform::parseTimeStamp(created);
            if (!time) {
                return false;
            }
        }
        std::lock_guard<std::mutex> guard(state->lock);
        state->timeStamp = time;
        return true;
    } catch (...) {
        // Only memory for the text can run out; the setting stays as it was.
        return false;
    }
}
