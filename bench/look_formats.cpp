// Reading a look in each format and baking it onto the look's lattice, as `zelgen make`
// does: a 65-point table as .cube (zelgen's own reader), .3dl and CLF (through
// OpenColorIO), and an ASC CDL at the default grid of 33.
//
// Targets: the .3dl and CLF reads at most 1.5 times the .cube read of the same table; the
// CDL at most 50 ms.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "formats/look_reader.h"
#include "support/look_format_texts.h"

#if defined(ZELGEN_HAVE_OCIO)

namespace {

constexpr int kGrid = 65;

std::string writeFixture(const std::string& name, const std::string& text) {
    const std::string path = (std::filesystem::temp_directory_path() / name).string();
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

void readLookFile(benchmark::State& state, const std::string& path) {
    zelgen::LookRequest request;
    request.files = {path};
    for (auto _ : state) {
        zelgen::LookRead look = zelgen::readLook(request);
        benchmark::DoNotOptimize(look.lattice.data());
    }
    std::filesystem::remove(path);
}

void BM_Read65Cube(benchmark::State& state) {
    readLookFile(state, writeFixture("zel_bench_look65.cube", zeltest::cubeTable(kGrid)));
}
BENCHMARK(BM_Read65Cube)->Unit(benchmark::kMillisecond);

void BM_Read65ThreeDl(benchmark::State& state) {
    readLookFile(state, writeFixture("zel_bench_look65.3dl", zeltest::threeDlTable(kGrid)));
}
BENCHMARK(BM_Read65ThreeDl)->Unit(benchmark::kMillisecond);

void BM_Read65Clf(benchmark::State& state) {
    readLookFile(state, writeFixture("zel_bench_look65.clf", zeltest::clfTable(kGrid)));
}
BENCHMARK(BM_Read65Clf)->Unit(benchmark::kMillisecond);

void BM_ReadCdlAtGrid33(benchmark::State& state) {
    readLookFile(state, writeFixture("zel_bench_grade.cc",
                                     zeltest::ccText(zeltest::sampleCorrections()[0])));
}
BENCHMARK(BM_ReadCdlAtGrid33)->Unit(benchmark::kMillisecond);

}  // namespace

#endif  // ZELGEN_HAVE_OCIO

BENCHMARK_MAIN();
