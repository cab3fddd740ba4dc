// Stage 6 (register maps) and stage 7 (body chunk) of a first-generation standard job
// and a second-generation extended job, on a register image whose camera-writer blocks
// are filled with plausible entries.

#include <benchmark/benchmark.h>

#include <memory>

#include "io/body_chunk_writer.h"
#include "regmaps/register_maps.h"
#include "settings/look_settings.h"
#include "support/register_image_fill.h"

namespace {

struct JobSettings {
    explicit JobSettings(const char* model) {
        applyModelTable(settings, ZelSettingsSeed(0, 0, 0, model, true));
        buildLookSettings(settings, passTable);
    }
    ZelLookSettings settings;
    PassTable passTable;
};

// The camera writers' blocks filled once; the register maps stage then runs on a copy.
ZelSharedIniBuf engineImage(const char* model) {
    ZelSharedIniBuf iniBuf(model);
    zel::testing::fillUnwrittenBlocks(iniBuf);
    return iniBuf;
}

void runStandardJob(benchmark::State& state) {
    const JobSettings job("CAMB-001");
    const ZelSharedIniBuf image = engineImage("CAMB-001");
    auto binary = std::make_unique<ZelBinary>();
    for (auto _ : state) {
        state.PauseTiming();
        auto iniBuf = std::make_unique<ZelSharedIniBuf>(image);
        state.ResumeTiming();
        loadRegisterMaps(job.settings, *iniBuf);
        OutputContext context;
        setupOutputContext(context, job.settings.generationMode);
        benchmark::DoNotOptimize(writeOutputStandard(context, job.settings.entryTag,
                                                     job.settings.blockList, job.passTable, *iniBuf,
                                                     *binary));
    }
}

void runExtendedJob(benchmark::State& state) {
    const JobSettings job("CAMB-002");
    const ZelSharedIniBuf image = engineImage("CAMB-002");
    for (auto _ : state) {
        state.PauseTiming();
        auto iniBuf = std::make_unique<ZelSharedIniBuf>(image);
        state.ResumeTiming();
        loadRegisterMaps(job.settings, *iniBuf);
        OutputContext context;
        setupOutputContext(context, job.settings.generationMode);
        // The job's local body is made in stage 7, so it is part of the timing.
        auto body = std::make_unique<ExtendedBody>();
        benchmark::DoNotOptimize(writeOutputExtended(
            context, job.settings.entryTag, job.settings.blockList, job.passTable, *iniBuf, *body));
    }
}

void runRegisterMapsOnly(benchmark::State& state) {
    const JobSettings job("CAMB-002");
    const ZelSharedIniBuf image = engineImage("CAMB-002");
    for (auto _ : state) {
        state.PauseTiming();
        auto iniBuf = std::make_unique<ZelSharedIniBuf>(image);
        state.ResumeTiming();
        loadRegisterMaps(job.settings, *iniBuf);
        benchmark::ClobberMemory();
    }
}

}  // namespace

BENCHMARK(runStandardJob)->Name("stages6and7/CAMB-001/standard")->Unit(benchmark::kMillisecond);
BENCHMARK(runExtendedJob)->Name("stages6and7/CAMB-002/extended")->Unit(benchmark::kMillisecond);
BENCHMARK(runRegisterMapsOnly)->Name("stage6/CAMB-002")->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
