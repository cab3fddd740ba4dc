// libFuzzer target: the library's exported .cube reader on arbitrary file contents.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "fuzz/fuzz_limits.h"
#include "zel/read_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (zelgen::fuzz::asksForLargeGrid(text)) {
        return 0;
    }
    const std::string path = "/tmp/zel_fuzz_reader_" + std::to_string(::getpid()) + ".cube";
    if (std::FILE* file = std::fopen(path.c_str(), "wb")) {
        std::fwrite(text.data(), 1, text.size(), file);
        std::fclose(file);
    } else {
        return 0;
    }
    std::vector<std::vector<double>> table;
    int rowCount = 0;
    int gridSize = 0;
    try {
        ReadFiles::readCubeFile(path, table, rowCount, gridSize);
    } catch (const std::exception&) {
        // Conversion and size errors are the reader's documented answers.
    }
    std::remove(path.c_str());
    return 0;
}
