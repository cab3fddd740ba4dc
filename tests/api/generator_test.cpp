// The generator's job protocol: status values, progress callbacks, cancel, errors and
// the worker thread.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <new>
#include <stdexcept>
#include <thread>
#include <utility>
#include <vector>

#include "api/job_hooks.h"
#include "support/test_jobs.h"
#include "zel/zel.h"

using ZelEnum::ZEL_STATUS;
using Calls = std::vector<std::pair<int, ZEL_STATUS>>;

namespace {

// The callback is a plain function pointer, so its calls are collected here.
struct CallbackLog {
    std::mutex mutex;
    Calls calls;
};
CallbackLog& callbackLog() {
    static CallbackLog log;
    return log;
}
void recordCallback(int progress, ZEL_STATUS status) {
    std::lock_guard<std::mutex> guard(callbackLog().mutex);
    callbackLog().calls.emplace_back(progress, status);
}
void throwingCallback(int, ZEL_STATUS) {
    throw std::runtime_error("host callback failed");
}

// Running reports at `progress`, then one end call with `end` at the last progress reached.
Calls reportsThen(std::vector<int> progress, std::pair<int, ZEL_STATUS> end) {
    Calls calls;
    for (int p : progress) {
        calls.emplace_back(p, ZelEnum::ZEL_STATUS_RUNNING);
    }
    calls.push_back(end);
    return calls;
}

class GeneratorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::lock_guard<std::mutex> guard(callbackLog().mutex);
        callbackLog().calls.clear();
    }
    Calls calls() {
        std::lock_guard<std::mutex> guard(callbackLog().mutex);
        return callbackLog().calls;
    }
    // A small ACEScc look: no float copy is needed, so the output pointers may stay null.
    ZelGenInput acesInput(int gridSize, const std::string& model = "CAMB-001") {
        lattice_ = zeltest::identityLattice(gridSize);
        return zeltest::makeInput(model, gridSize, lattice_.data(), 2);
    }
    // Initialises `generator` with the recording callback and, if given, the job hooks.
    static void start(ZelGenerator& generator, const zel::detail::JobHooks* hooks = nullptr) {
        if (hooks != nullptr) {
            zel::detail::GeneratorAccess::setHooks(generator, hooks);
        }
        generator.zel_initialize();
        generator.zel_set_callback(recordCallback);
    }
    // Runs one asynchronous job and waits for its end.
    template <typename Output = ZelGenOutput>
    static void runAsync(ZelGenerator& generator, ZelGenInput& input) {
        auto output = std::make_unique<Output>();
        generator.zel_exec_async(input, *output);
        generator.zel_finalize();
    }

    std::vector<float> lattice_;
};

// Blocks a job at the end of one stage until the test lets it go.
class StageGate {
  public:
    void waitUntilReached() {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return reached_; });
    }
    void arriveAndWait() {
        std::unique_lock<std::mutex> lock(mutex_);
        reached_ = true;
        changed_.notify_all();
        changed_.wait(lock, [this] { return released_; });
    }
    void release() {
        std::lock_guard<std::mutex> lock(mutex_);
        released_ = true;
        changed_.notify_all();
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool reached_ = false;
    bool released_ = false;
};

}  // namespace

TEST_F(GeneratorTest, StatusStartsAtNoneAndInitialiseMakesItReady) {
    ZelGenerator generator;
    EXPECT_EQ(generator.zel_get_status(), ZelEnum::ZEL_STATUS_NONE);
    generator.zel_initialize();
    EXPECT_EQ(generator.zel_get_status(), ZelEnum::ZEL_STATUS_READY);
    generator.zel_finalize();
    generator.zel_finalize();
    EXPECT_EQ(generator.zel_get_status(), ZelEnum::ZEL_STATUS_READY);
}

TEST_F(GeneratorTest, AsyncJobReportsTheGridSizeScheduleThenDone) {
    const std::vector<std::pair<int, std::vector<int>>> cases = {
        {33, {5, 20, 40, 50, 70, 75, 90}},  {34, {5, 40, 50, 60, 70, 80, 90}},
        {67, {5, 40, 50, 60, 70, 80, 90}},  {68, {5, 70, 75, 80, 85, 90, 95}},
        {129, {5, 70, 75, 80, 85, 90, 95}}, {130, {5, 20, 40, 50, 70, 75, 90}},
    };
    for (const auto& [gridSize, schedule] : cases) {
        SetUp();
        ZelGenerator generator;
        start(generator);
        ZelGenInput input = acesInput(gridSize);
        runAsync(generator, input);
        EXPECT_EQ(generator.zel_get_status(), ZelEnum::ZEL_STATUS_DONE) << gridSize;
        EXPECT_EQ(calls(), reportsThen(schedule, {99, ZelEnum::ZEL_STATUS_DONE})) << gridSize;
    }
}

// A cancel asked for before a job has no effect on it.
TEST_F(GeneratorTest, SyncJobMakesNoCallbackAndClearsIt) {
    ZelGenerator generator;
    start(generator);
    generator.zel_cancel();
    ZelGenInput input = acesInput(5);
    auto output = std::make_unique<ZelGenOutput>();
    generator.zel_exec(input, *output);
    EXPECT_EQ(generator.zel_get_status(), ZelEnum::ZEL_STATUS_DONE);
    EXPECT_TRUE(calls().empty());

    // The callback stays cleared for a later asynchronous job.
    runAsync(generator, input);
    EXPECT_EQ(generator.zel_get_status(), ZelEnum::ZEL_STATUS_DONE);
    EXPECT_TRUE(calls().empty());
}

TEST_F(GeneratorTest, CancelDuringAStageStopsAfterThatStagesReport) {
    const std::vector<int> schedule = {5, 20, 40, 50, 70, 75, 90};
    for (int stage = 1; stage <= 7; ++stage) {
        for (const bool extended : {false, true}) {
            SetUp();
            ZelGenerator generator;
            zel::detail::JobHooks hooks;
            hooks.afterStage = [&](int s) {
                if (s == stage) {
                    generator.zel_cancel();
                }
            };
            start(generator, &hooks);
            ZelGenInput input = acesInput(5, extended ? "CAMB-002" : "CAMB-001");
            zeltest::StreamCapture out(std::cout);
            if (extended) {
                runAsync<ZelGenOutputExtended>(generator, input);
            } else {
                runAsync(generator, input);
            }
            EXPECT_EQ(generator.zel_get_status(), ZelEnum::ZEL_STATUS_CANCELED);
            // One last call with the end status and the progress the job reached.
            const std::vector<int> reached(schedule.begin(), schedule.begin() + stage);
            EXPECT_EQ(calls(), reportsThen(reached, {reached.back(), ZelEnum::ZEL_STATUS_CANCELED}))
                << "stage " << stage << (extended ? " extended" : "");
            // The extended job announces its look file only once it reaches stage 7.
            if (extended) {
                EXPECT_EQ(out.text().find("ZelMetaGenerator") != std::string::npos, stage == 7);
            }
        }
    }
}

TEST_F(GeneratorTest, DestroyingTheGeneratorMidJobWaitsAndCancels) {
    std::vector<int> stagesRun;
    std::mutex stagesMutex;
    ZelGenInput input = acesInput(5);
    auto output = std::make_unique<ZelGenOutput>();
    auto generator = std::make_unique<ZelGenerator>();
    ZelGenerator* const running = generator.get();
    StageGate gate;
    zel::detail::JobHooks hooks;
    hooks.afterStage = [&](int stage) {
        {
            std::lock_guard<std::mutex> guard(stagesMutex);
            stagesRun.push_back(stage);
        }
        if (stage == 3) {
            gate.arriveAndWait();
            // Hold the stage until the destructor has asked for the cancel.
            while (!zel::detail::GeneratorAccess::cancelRequested(*running)) {
                std::this_thread::yield();
            }
        }
    };
    start(*generator, &hooks);
    generator->zel_exec_async(input, *output);
    gate.waitUntilReached();
    gate.release();
    generator.reset();  // returns only after the job has stopped

    EXPECT_EQ(stagesRun, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(calls(), reportsThen({5, 20, 40}, {40, ZelEnum::ZEL_STATUS_CANCELED}));
}

TEST_F(GeneratorTest, AnExceptionInAStageGivesErrorStatusAndOneLine) {
    struct Case {
        std::function<void()> fail;
        std::string line;
        int code;
    };
    const std::vector<Case> cases = {
        {[] { throw std::out_of_range("index past the end"); }, "index past the end\n",
         ZelEnum::ZEL_ERROR_OUT_OF_RANGE},
        {[] { throw std::bad_alloc(); }, std::string(std::bad_alloc().what()) + "\n",
         ZelEnum::ZEL_ERROR_OUT_OF_MEMORY},
        {[] { throw ZelEnum::ZEL_EXCEPTION_ENGINE; }, "4\n", ZelEnum::ZEL_EXCEPTION_ENGINE},
        {[] { throw std::length_error("too long"); }, "Unexpected Error\n",
         ZelEnum::ZEL_ERROR_LENGTH},
        {[] { throw std::runtime_error("anything else"); }, "Unexpected Error\n",
         ZelEnum::ZEL_ERROR_UNEXPECTED},
        {[] { throw 42; }, "Unexpected Error\n", ZelEnum::ZEL_ERROR_UNEXPECTED},
    };
    for (const Case& c : cases) {
        SetUp();
        ZelGenerator generator;
        zel::detail::JobHooks hooks;
        hooks.afterStage = [&](int stage) {
            if (stage == 4) {
                c.fail();
            }
        };
        start(generator, &hooks);
        ZelGenInput input = acesInput(5);
        zeltest::StreamCapture err(std::cerr);
        runAsync(generator, input);
        EXPECT_EQ(generator.zel_get_status(), ZelEnum::ZEL_STATUS_ERROR);
        EXPECT_EQ(err.text(), c.line);
        // Stages 1 to 3 reported, then one last call with the error status.
        EXPECT_EQ(calls(), reportsThen({5, 20, 40}, {40, ZelEnum::ZEL_STATUS_ERROR})) << c.line;
        char message[200];
        EXPECT_EQ(generator.zel_get_last_error(message, sizeof message), c.code);
        EXPECT_EQ(std::string(message).rfind(zel_job_error_text(c.code), 0), 0u) << message;
        EXPECT_EQ(generator.zel_get_last_job_status(), ZelEnum::ZEL_STATUS_ERROR);
    }
}

TEST_F(GeneratorTest, AThrowingCallbackEndsTheJobAndLeavesTheLockFree) {
    ZelGenerator generator;
    generator.zel_initialize();
    generator.zel_set_callback(throwingCallback);
    ZelGenInput input = acesInput(3);
    zeltest::StreamCapture err(std::cerr);
    runAsync(generator, input);
    EXPECT_EQ(generator.zel_get_status(), ZelEnum::ZEL_STATUS_ERROR);
    EXPECT_EQ(err.text(), "Unexpected Error\n");
    // These take the generator's lock: a lock left held would hang here.
    generator.zel_set_callback(nullptr);
    generator.zel_cancel();
    generator.zel_initialize();
    EXPECT_EQ(generator.zel_get_status(), ZelEnum::ZEL_STATUS_READY);
}

TEST_F(GeneratorTest, InitialiseWaitsForAnOutstandingWorker) {
    ZelGenerator generator;
    StageGate gate;
    zel::detail::JobHooks hooks;
    hooks.afterStage = [&](int stage) {
        if (stage == 2) {
            gate.arriveAndWait();
        }
    };
    start(generator, &hooks);
    ZelGenInput input = acesInput(3);
    auto output = std::make_unique<ZelGenOutput>();
    generator.zel_exec_async(input, *output);
    gate.waitUntilReached();
    std::thread releaser([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        gate.release();
    });
    generator.zel_initialize();
    releaser.join();
    // The job had ended (final call made) before initialise set the status back to 1.
    ASSERT_FALSE(calls().empty());
    EXPECT_EQ(calls().back(), std::make_pair(99, ZelEnum::ZEL_STATUS_DONE));
    EXPECT_EQ(generator.zel_get_status(), ZelEnum::ZEL_STATUS_READY);
    // The outcome of the job initialise waited for stays readable.
    EXPECT_EQ(generator.zel_get_last_job_status(), ZelEnum::ZEL_STATUS_DONE);
    EXPECT_EQ(generator.zel_get_last_error(nullptr, 0), ZelEnum::ZEL_ERROR_NONE);
}

TEST_F(GeneratorTest, AStartingAsyncJobWaitsForThePreviousOne) {
    ZelGenerator generator;
    std::atomic<int> running{0};
    std::atomic<int> overlaps{0};
    zel::detail::JobHooks hooks;
    hooks.afterStage = [&](int stage) {
        if (stage == 1 && running.fetch_add(1) != 0) {
            ++overlaps;
        }
        if (stage == 7) {
            running.fetch_sub(1);
        }
    };
    start(generator, &hooks);
    ZelGenInput input = acesInput(3);
    auto first = std::make_unique<ZelGenOutput>();
    auto second = std::make_unique<ZelGenOutput>();
    generator.zel_exec_async(input, *first);
    generator.zel_exec_async(input, *second);
    generator.zel_finalize();
    EXPECT_EQ(overlaps.load(), 0);
    EXPECT_EQ(generator.zel_get_status(), ZelEnum::ZEL_STATUS_DONE);
}

// A large look's lattice stage looks at a cancel plane by plane: the job stops within
// milliseconds, before the stage's own report, instead of running the stage to its end.
TEST_F(GeneratorTest, CancelLandsInsideTheLatticeStageOfALargeLook) {
    const int n = 129;
    const std::vector<float> nodes = zeltest::warmLattice(n);
    std::vector<float> reindexed(static_cast<std::size_t>(n) * n * n * 4);
    ZelGenInput input = zeltest::makeInput("CAMB-001", n, nodes.data(), 0);
    auto output = std::make_unique<ZelGenOutput>();
    output->floatLut = reindexed.data();

    ZelGenerator generator;
    std::atomic<bool> firstReport{false};
    std::chrono::steady_clock::time_point cancelledAt;
    std::chrono::steady_clock::time_point endedAt;
    zel::detail::JobHooks hooks;
    hooks.onProgress = [&](int, ZEL_STATUS status) {
        firstReport.store(true);
        if (status != ZelEnum::ZEL_STATUS_RUNNING) {
            endedAt = std::chrono::steady_clock::now();
        }
    };
    start(generator, &hooks);
    std::thread canceller([&] {
        while (!firstReport.load()) {
            std::this_thread::yield();
        }
        // Well inside the re-indexing of 2.1 million nodes.
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        cancelledAt = std::chrono::steady_clock::now();
        generator.zel_cancel();
    });
    generator.zel_exec_async(input, *output);
    canceller.join();
    generator.zel_finalize();
    EXPECT_EQ(generator.zel_get_status(), ZelEnum::ZEL_STATUS_CANCELED);
    ASSERT_EQ(calls().size(), 2u) << "stage 1's report, then the cancelled end";
    EXPECT_EQ(calls()[1], std::make_pair(calls()[0].first, ZelEnum::ZEL_STATUS_CANCELED));
    EXPECT_LT(endedAt - cancelledAt, std::chrono::milliseconds(500)) << "generous beside 100 ms";
}
