// Whole jobs, from the host's node table to the finished look file.

#include <benchmark/benchmark.h>

#include <iostream>
#include <memory>
#include <sstream>
#include <vector>

#include "api/job_hooks.h"
#include "support/test_jobs.h"
#include "zel/zel.h"

namespace {

// `reindexed`: whether the job also fills the re-indexed look, as the exported job always
// does; zelgen's make without --cube-out and check's references leave it out.
template <typename Output>
void runWholeJob(benchmark::State& state, const char* model, bool reindexed = true) {
    const int gridSize = static_cast<int>(state.range(0));
    const std::vector<float> lattice = zeltest::warmLattice(gridSize);
    std::vector<float> floats(reindexed ? lattice.size() : 0);
    ZelGenInput input = zeltest::makeInput(model, gridSize, lattice.data(), 0, 0, 0);
    ZelGenerator generator;
    generator.zel_initialize();
    zel::detail::GeneratorAccess::setReindexedLookWanted(generator, reindexed);
    auto output = std::make_unique<Output>();
    output->floatLut = floats.empty() ? nullptr : floats.data();
    // The extended job prints its progress lines; keep them out of the report.
    std::ostringstream sink;
    std::streambuf* saved = std::cout.rdbuf(sink.rdbuf());
    for (auto _ : state) {
        generator.zel_exec(input, *output);
        if (generator.zel_get_status() != ZelEnum::ZEL_STATUS_DONE) {
            state.SkipWithError("job failed");
            break;
        }
        sink.str({});
    }
    std::cout.rdbuf(saved);
}

void StandardCamb001(benchmark::State& state) {
    runWholeJob<ZelGenOutput>(state, "CAMB-001");
}
void ExtendedCamb002(benchmark::State& state) {
    runWholeJob<ZelGenOutputExtended>(state, "CAMB-002");
}
void StandardCamb001LookFileOnly(benchmark::State& state) {
    runWholeJob<ZelGenOutput>(state, "CAMB-001", false);
}

}  // namespace

BENCHMARK(StandardCamb001)->Arg(33)->Arg(65)->Arg(129)->Unit(benchmark::kMillisecond);
BENCHMARK(ExtendedCamb002)->Arg(33)->Arg(65)->Arg(129)->Unit(benchmark::kMillisecond);
// The largest look a host can hand over: 255^3 nodes, 265 MB of floats each way.
BENCHMARK(StandardCamb001)->Arg(255)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(ExtendedCamb002)->Arg(255)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(StandardCamb001LookFileOnly)->Arg(255)->Iterations(2)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
