// Jobs on several generators at once share nothing: every look file is byte-identical to
// the same job run alone.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "api/job_hooks.h"
#include "support/look_file_bytes.h"
#include "support/test_jobs.h"
#include "zel/zel.h"

namespace {

struct JobPlan {
    std::string model;
    bool extended;
    int source;
    int curve;
    int range;
    int gridSize;
};

struct JobResult {
    std::vector<std::uint8_t> file;
    std::vector<float> floats;
    std::string cubeHeader;
    ZelEnum::ZEL_STATUS status = ZelEnum::ZEL_STATUS_NONE;
};

JobResult runJob(ZelGenerator& generator, const JobPlan& plan, bool async) {
    const std::vector<float> lattice = zeltest::warmLattice(plan.gridSize);
    ZelGenInput input = zeltest::makeInput(plan.model, plan.gridSize, lattice.data(), plan.source,
                                           plan.curve, plan.range);
    JobResult result;
    result.floats.assign(lattice.size(), 0.0f);
    auto run = [&](auto& output) {
        output.floatLut = result.floats.data();
        output.floatLutFilm = result.floats.data();
        if (async) {
            generator.zel_exec_async(input, output);
            generator.zel_finalize();
        } else {
            generator.zel_exec(input, output);
        }
        result.status = generator.zel_get_status();
        result.file = zeltest::lookFileBytes(output);
        result.cubeHeader = output.cubeHeader;
    };
    if (plan.extended) {
        auto output = std::make_unique<ZelGenOutputExtended>();
        run(*output);
    } else {
        auto output = std::make_unique<ZelGenOutput>();
        run(*output);
    }
    return result;
}

}  // namespace

TEST(Concurrency, FourGeneratorsProduceTheSameFilesAsOneAlone) {
    const std::vector<JobPlan> plans = {
        {"CAMB-001", false, 0, 0, 0, 9}, {"CAMB-001", false, 1, 1, 1, 5},
        {"CAMA-001", false, 2, 2, 0, 6}, {"CAMB-001", true, 3, 0, 1, 5},
        {"CAMB-002", true, 0, 1, 0, 7},  {"CAMB-002", true, 1, 2, 1, 5},
        {"CAMA-001", true, 0, 0, 0, 5},  {"CAMB-002", true, 3, 0, 0, 4},
    };
    zel::detail::JobHooks hooks;
    hooks.clock = zeltest::march5th2026;

    std::vector<JobResult> alone;
    {
        ZelGenerator generator;
        zel::detail::GeneratorAccess::setHooks(generator, &hooks);
        generator.zel_initialize();
        for (const JobPlan& plan : plans) {
            alone.push_back(runJob(generator, plan, false));
            ASSERT_EQ(alone.back().status, ZelEnum::ZEL_STATUS_DONE) << plan.model;
        }
    }

    constexpr int kThreads = 4;
    constexpr int kJobsPerThread = 25;
    std::vector<std::vector<std::string>> failures(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            ZelGenerator generator;
            zel::detail::GeneratorAccess::setHooks(generator, &hooks);
            generator.zel_initialize();
            for (int j = 0; j < kJobsPerThread; ++j) {
                const std::size_t which = static_cast<std::size_t>(t * 7 + j * 3) % plans.size();
                const JobResult result = runJob(generator, plans[which], (j + t) % 2 == 0);
                const JobResult& expected = alone[which];
                if (result.status != expected.status || result.file != expected.file ||
                    result.floats != expected.floats || result.cubeHeader != expected.cubeHeader) {
                    failures[static_cast<std::size_t>(t)].push_back(
                        "thread " + std::to_string(t) + " job " + std::to_string(j) + " (plan " +
                        std::to_string(which) + ")");
                }
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    for (const auto& list : failures) {
        for (const std::string& failure : list) {
            ADD_FAILURE() << "differs from the job run alone: " << failure;
        }
    }
}
