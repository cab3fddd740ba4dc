// Stages 2 and 3 of a job: the look re-indexed for the other gamut, and the camera's
// processing blocks resampled from it.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "color/color_converter.h"
#include "color/conversion_stage.h"
#include "settings/look_settings.h"
#include "zel/records.h"

namespace {

// A smooth look with some cross-talk, as a host would hand it over.
std::vector<float> hostNodes(int n) {
    std::vector<float> nodes(static_cast<std::size_t>(n) * n * n * 4);
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> noise(-0.01f, 0.01f);
    const float last = static_cast<float>(n - 1);
    std::size_t at = 0;
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            for (int k = 0; k < n; ++k) {
                const float r = i / last;
                const float g = j / last;
                const float b = k / last;
                nodes[at++] = 0.8f * r + 0.15f * g + 0.05f * b + noise(rng);
                nodes[at++] = 0.1f * r + 0.8f * g + 0.1f * b + noise(rng);
                nodes[at++] = 0.05f * r + 0.1f * g + 0.85f * b + noise(rng);
                nodes[at++] = 0.0f;
            }
        }
    }
    return nodes;
}

ZelColorConverter hostLattice(const std::vector<float>& nodes, int n) {
    ZelColorConverter lattice;
    lattice.initLattice(zel::kKindCube, n, 3);
    lattice.loadNodeValues(nodes.data());
    return lattice;
}

// The job reads the host's table in place.
void BM_ReindexSourceLattice(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<float> nodes = hostNodes(n);
    ZelColorConverter lattice;
    lattice.viewNodeValues(n, nodes.data());
    std::vector<float> out(nodes.size());
    ZelGenOutput output;
    output.floatLut = out.data();
    const ZelLookSettings settings;
    for (auto _ : state) {
        reindexSourceLattice(settings, zel::kSourceQEnc3Prims3, lattice, output);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(state.iterations() * n * n * n);
}

void BM_BuildBlockListStandard(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const ZelColorConverter lattice = hostLattice(hostNodes(n), n);
    for (auto _ : state) {
        ConversionSizes sizes;
        setConversionSizes(sizes, zel::kFirstGeneration);
        std::vector<ZelColorConverter> blocks;
        buildBlockListStandard(sizes, {zel::kSourceQEnc3Prims3, 0, 0}, lattice, blocks, false);
        benchmark::DoNotOptimize(blocks.data());
    }
}

void BM_BuildBlockListExtended(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const ZelColorConverter lattice = hostLattice(hostNodes(n), n);
    for (auto _ : state) {
        ConversionSizes sizes;
        setConversionSizes(sizes, zel::kSecondGeneration);
        std::vector<ZelColorConverter> blocks;
        buildBlockListExtended(sizes, {zel::kSourceQEnc3Prims3, 0, 0}, lattice, blocks);
        benchmark::DoNotOptimize(blocks.data());
    }
}

// Stages 2 and 3 of a standard job as the pipeline runs them, from the host's node
// table to the block list.
void BM_StandardJobStages2And3(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::vector<float> nodes = hostNodes(n);
    std::vector<float> out(nodes.size());
    ZelGenInput input;
    input.gridSize = static_cast<std::uint8_t>(n);
    input.nodeValues = nodes.data();
    input.sourceEncoding = zel::kSourceQEnc3Prims3;
    ZelGenOutput output;
    output.floatLut = out.data();
    const ZelLookSettings settings;
    for (auto _ : state) {
        validateLookInput(input, output.floatLut, output.floatLutFilm);
        auto lattice = std::make_unique<ZelColorConverter>();
        lattice->viewNodeValues(n, input.nodeValues);
        reindexSourceLattice(settings, input.sourceEncoding, *lattice, output);
        ConversionSizes sizes;
        setConversionSizes(sizes, zel::kFirstGeneration);
        auto blocks = std::make_unique<std::vector<ZelColorConverter>>();
        buildBlockListStandard(sizes, {input.sourceEncoding, 0, 0}, *lattice, *blocks, false);
        lattice.reset();
        benchmark::DoNotOptimize(blocks->data());
    }
}

}  // namespace

BENCHMARK(BM_ReindexSourceLattice)
    ->Arg(17)
    ->Arg(33)
    ->Arg(65)
    ->Arg(129)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildBlockListStandard)
    ->Arg(17)
    ->Arg(33)
    ->Arg(65)
    ->Arg(129)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildBlockListExtended)
    ->Arg(17)
    ->Arg(33)
    ->Arg(65)
    ->Arg(129)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StandardJobStages2And3)->Arg(65)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StandardJobStages2And3)->Arg(255)->Iterations(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
