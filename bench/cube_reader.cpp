// The exported .cube reader on 65- and 129-grid looks (about 7.4 and 58 MB of text).
// A 255-grid look (about 450 MB) is measured as a whole process; see the closing note
// of the speed work in the history.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "zel/read_files.h"

namespace {

// Writes the look once: six decimals a number, as grading applications export them.
std::string lookFile(int n) {
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("zel_bench_reader" + std::to_string(n) + ".cube"))
                                 .string();
    std::ofstream out(path, std::ios::binary);
    out << "# benchmark look\nTITLE \"bench\"\nLUT_3D_SIZE " << n << "\n";
    const double last = n - 1;
    char line[96];
    for (int b = 0; b < n; ++b) {
        for (int g = 0; g < n; ++g) {
            for (int r = 0; r < n; ++r) {
                std::snprintf(line, sizeof line, "%.6f %.6f %.6f\n", r / last * 0.97 + 0.01,
                              g / last * 0.93 + 0.02 * r / last, b / last * 0.91 + 0.03);
                out << line;
            }
        }
    }
    return path;
}

void BM_ReadCubeFile(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const std::string path = lookFile(n);
    const auto bytes = static_cast<std::int64_t>(std::filesystem::file_size(path));
    for (auto _ : state) {
        std::vector<std::vector<double>> table;
        int rowCount = 0;
        int size = 0;
        const bool ok = ReadFiles::readCubeFile(path, table, rowCount, size);
        if (!ok) {
            state.SkipWithError("the look did not read");
        }
        benchmark::DoNotOptimize(table.data());
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    std::filesystem::remove(path);
}

}  // namespace

BENCHMARK(BM_ReadCubeFile)->Arg(65)->Arg(129)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
