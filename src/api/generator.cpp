#include <iostream>
#include <memory>
#include <new>
#include <stdexcept>
#include <system_error>

#include "api/job_hooks.h"
#include "camera/ini_buf.h"
#include "camera/param_buf.h"
#include "color/color_converter.h"
#include "zel/generator.h"

using ZelEnum::ZEL_STATUS;

ZelGenerator::ZelGenerator() = default;

ZelGenerator::~ZelGenerator() {
    if (worker != nullptr) {
        cancelFlag.store(1);
        if (worker->joinable()) {
            worker->join();
        }
        delete worker;
        worker = nullptr;
    }
}

void ZelGenerator::zel_initialize() {
    // A worker still outstanding is waited for rather than lost.
    joinWorker();
    std::lock_guard<std::mutex> guard(lock);
    callback = nullptr;
    asyncFlag = 0;
    cancelFlag.store(0);
    status.store(ZelEnum::ZEL_STATUS_READY);
}

void ZelGenerator::zel_set_callback(Callback newCallback) {
    std::lock_guard<std::mutex> guard(lock);
    callback = newCallback;
}

ZEL_STATUS ZelGenerator::zel_get_status() {
    return status.load();
}

void ZelGenerator::zel_cancel() {
    std::lock_guard<std::mutex> guard(lock);
    cancelFlag.store(1);
}

void ZelGenerator::zel_exec(ZelGenInput& input, ZelGenOutput& output) {
    prepareSyncJob();
    zel_exec_common(input, output);
}

void ZelGenerator::zel_exec(ZelGenInput& input, ZelGenOutputExtended& output) {
    prepareSyncJob();
    zel_exec_commonExtended(input, output);
}

// A synchronous job runs without callback: the host reads the outcome from the status.
void ZelGenerator::prepareSyncJob() {
    joinWorker();
    {
        std::lock_guard<std::mutex> guard(lock);
        callback = nullptr;
    }
    asyncFlag = 0;
    cancelFlag.store(0);
}

template <typename Output>
void ZelGenerator::startAsync(ZelGenInput& input, Output& output) {
    joinWorker();
    asyncFlag = 1;
    cancelFlag.store(0);
    try {
        worker = new std::thread([this, &input, &output] {
            if constexpr (std::is_same_v<Output, ZelGenOutput>) {
                zel_exec_common(input, output);
            } else {
                zel_exec_commonExtended(input, output);
            }
        });
    } catch (const std::system_error&) {
        worker = nullptr;
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again),
                                "cannot start the generator's worker thread");
    }
}

void ZelGenerator::zel_exec_async(ZelGenInput& input, ZelGenOutput& output) {
    startAsync(input, output);
}

void ZelGenerator::zel_exec_async(ZelGenInput& input, ZelGenOutputExtended& output) {
    startAsync(input, output);
}

void ZelGenerator::zel_finalize() {
    joinWorker();
}

void ZelGenerator::joinWorker() {
    if (worker == nullptr) {
        return;
    }
    // join() throws (and the thread object is kept) when called from the worker itself.
    if (worker->joinable()) {
        worker->join();
    }
    delete worker;
    worker = nullptr;
}

bool ZelGenerator::progressStep(int progress) {
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
    if (cancelFlag.load() == 1) {
        std::lock_guard<std::mutex> guard(lock);
        status.store(ZelEnum::ZEL_STATUS_CANCELED);
        return true;
    }
    return false;
}

void ZelGenerator::finishJob() {
    {
        std::lock_guard<std::mutex> guard(lock);
        if (status.load() == ZelEnum::ZEL_STATUS_RUNNING) {
            status.store(ZelEnum::ZEL_STATUS_DONE);
        }
    }
    std::lock_guard<std::mutex> guard(lock);
    if (callback != nullptr) {
        callback(99, status.load());
    }
    if (hooks != nullptr && hooks->onProgress) {
        hooks->onProgress(99, status.load());
    }
}

void ZelGenerator::zelCatchProcess(ZelColorConverter*& lattice,
                                   std::vector<ZelColorConverter>*& blocks,
                                   ZelSharedParamBuf*& paramBuf, ZelSharedIniBuf*& iniBuf) {
    delete lattice;
    lattice = nullptr;
    delete blocks;
    blocks = nullptr;
    delete paramBuf;
    paramBuf = nullptr;
    delete iniBuf;
    iniBuf = nullptr;
}
