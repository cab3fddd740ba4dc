// zelgen check --look on a 65-grid look: read the source .cube text, decode the look file's
// colour blocks, check them and measure the fidelity over every pass. The target is below
// one second on one core for both layouts.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "cube/cube_parser.h"
#include "cube/cube_writer.h"
#include "cube/look_lattice.h"
#include "io/block_checks.h"
#include "io/look_fidelity.h"
#include "support/look_jobs.h"

namespace {

constexpr int kGrid = 65;

void checkLook(benchmark::State& state, const char* model, bool extended) {
    const std::vector<float> nodes = zeltest::warmLattice(kGrid);
    const std::vector<std::uint8_t> file = zeltest::makeLookFile(model, extended, kGrid, nodes);
    const std::string cubeText = zelgen::formatCubeText("TITLE \"bench\"\n", kGrid, nodes.data());
    if (file.empty()) {
        state.SkipWithError("the job failed");
        return;
    }
    for (auto _ : state) {
        const zelgen::NodeTable source =
            zelgen::lookLattice(zelgen::parseCubeText(cubeText, "bench.cube"));
        const zel::DecodedLook look = zel::decodeLookBlocks(file.data(), file.size());
        const zel::BlockReport blocks = zel::checkBlocks(look);
        const zel::FidelityReport fidelity =
            zel::measureFidelity(look, zel::sourceLattice(source.size(), source.data()));
        benchmark::DoNotOptimize(blocks.damaged());
        benchmark::DoNotOptimize(fidelity.withinLimits());
    }
}

void StandardCamb001(benchmark::State& state) {
    checkLook(state, "CAMB-001", false);
}
void ExtendedCamb002(benchmark::State& state) {
    checkLook(state, "CAMB-002", true);
}

}  // namespace

BENCHMARK(StandardCamb001)->Unit(benchmark::kMillisecond);
BENCHMARK(ExtendedCamb002)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
