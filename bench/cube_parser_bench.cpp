// zelgen's .cube parser on a 65-point look (274625 data lines, about 7.5 MB): reading and
// parsing the file must stay well under 60 ms.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "cube/cube_parser.h"
#include "cube/row_order.h"

namespace {

// Writes the look once per run: varied numbers with the digits real exports carry.
std::string lookFile() {
    const std::string path =
        (std::filesystem::temp_directory_path() / "zel_bench_look65.cube").string();
    std::ofstream out(path, std::ios::binary);
    out << "# benchmark look\nTITLE \"bench\"\nLUT_3D_SIZE 65\nDOMAIN_MIN 0 0 0\nDOMAIN_MAX 1 1 "
           "1\n";
    char line[96];
    for (int b = 0; b < 65; ++b) {
        for (int g = 0; g < 65; ++g) {
            for (int r = 0; r < 65; ++r) {
                std::snprintf(line, sizeof line, "%.6f %.6f %.6f\n", r / 64.0 * 0.97 + 0.01,
                              g / 64.0 * 0.93 + 0.02, b / 64.0 * 0.91 + 0.03);
                out << line;
            }
        }
    }
    return path;
}

void BM_ReadCube65(benchmark::State& state) {
    const std::string path = lookFile();
    state.SetBytesProcessed(0);
    for (auto _ : state) {
        zelgen::CubeLut lut = zelgen::readCubeLut(path);
        benchmark::DoNotOptimize(lut.rows.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(std::filesystem::file_size(path)));
    std::filesystem::remove(path);
}
BENCHMARK(BM_ReadCube65)->Unit(benchmark::kMillisecond);

void BM_CubeRowsToNodeTable65(benchmark::State& state) {
    const std::vector<float> rows(65 * 65 * 65 * 3, 0.5f);
    for (auto _ : state) {
        std::vector<float> nodes = zelgen::cubeRowsToNodeTable(65, rows);
        benchmark::DoNotOptimize(nodes.data());
    }
}
BENCHMARK(BM_CubeRowsToNodeTable65)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
