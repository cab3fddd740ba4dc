// zelgen check --look on a 65-grid look: read the source .cube text, decode the look file's
// colour blocks, check them and measure the fidelity over every pass. The target is below
// one second on one core for both layouts.
//
// MakeFidelityLine: the check `zelgen make` runs on the file it has just written, at the
// largest grids. With the job (whole_jobs) and the .cube parser (cube_parser_bench) it is the
// whole of a large `zelgen make`; the target for a 255-grid make is at most 2.0 s CPU and
// 10,000 page faults, measured on the whole process with /usr/bin/time -v.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

#include "check/check_command.h"
#include "cube/cube_writer.h"
#include "cube_reader/cube_parser.h"
#include "cube_reader/look_lattice.h"
#include "readback/block_checks.h"
#include "readback/look_fidelity.h"
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
        const zel::io::NodeTable source =
            zel::io::lookLattice(zel::io::parseCubeText(cubeText, "bench.cube"));
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

void MakeFidelityLine(benchmark::State& state) {
    const int grid = static_cast<int>(state.range(0));
    const std::vector<float> nodes = zeltest::warmLattice(grid);
    const std::vector<std::uint8_t> file = zeltest::makeLookFile("CAMB-001", false, grid, nodes);
    if (file.empty()) {
        state.SkipWithError("the job failed");
        return;
    }
    zel::io::NodeTable look(grid);
    std::copy(nodes.begin(), nodes.end(), look.data());
    for (auto _ : state) {
        benchmark::DoNotOptimize(zelgen::fidelitySummary(file, look));
    }
}

}  // namespace

BENCHMARK(MakeFidelityLine)->Arg(129)->Arg(255)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(StandardCamb001)->Unit(benchmark::kMillisecond);
BENCHMARK(ExtendedCamb002)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
