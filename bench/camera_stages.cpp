// Stages 4 and 5 of a second-generation extended job: three 34-grid cubes, an empty first
// 1D LUT that the camera replaces by its own page, and the gain and second matrices.

#include <benchmark/benchmark.h>

#include "camera/camera_blocks.h"
#include "camera/engine.h"

namespace {

// Stage 4: the parameter buffer and the block order.
void runStage4(const std::vector<ZelColorConverter>& blocks, ZelSharedParamBuf& paramBuf,
               std::vector<BlockOrderEntry>& order) {
    ZelLookSettings settings;
    settings.generationMode = zel::kSecondGeneration;
    fillParamBuffer(settings, blocks, paramBuf);
    copyBlockOrder(settings, order);
}

// Stage 5: the register image of the model and the engine run.
void runStage5(const ZelSharedParamBuf& paramBuf, const std::vector<BlockOrderEntry>& order) {
    ZelSharedIniBuf iniBuf("CAMB-002");
    EngineConfig config;
    initEngineConfig(config, zel::kSecondGeneration);
    runEngine(config, order, zel::kSourceAcesCct, 0, paramBuf, iniBuf);
    benchmark::DoNotOptimize(iniBuf.group(55)[23].back());
}

void BM_Stage4(benchmark::State& state) {
    const auto blocks = camera_test::secondGenerationJob();
    for (auto _ : state) {
        ZelSharedParamBuf paramBuf;
        std::vector<BlockOrderEntry> order;
        runStage4(blocks, paramBuf, order);
        benchmark::DoNotOptimize(paramBuf.cube2.values.data());
    }
}

void BM_Stage5(benchmark::State& state) {
    const auto blocks = camera_test::secondGenerationJob();
    ZelSharedParamBuf paramBuf;
    std::vector<BlockOrderEntry> order;
    runStage4(blocks, paramBuf, order);
    for (auto _ : state) {
        runStage5(paramBuf, order);
    }
}

void BM_Stages4And5(benchmark::State& state) {
    const auto blocks = camera_test::secondGenerationJob();
    for (auto _ : state) {
        ZelSharedParamBuf paramBuf;
        std::vector<BlockOrderEntry> order;
        runStage4(blocks, paramBuf, order);
        runStage5(paramBuf, order);
    }
}

}  // namespace

BENCHMARK(BM_Stage4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Stage5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Stages4And5)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
