// libFuzzer target: the library's exported .cube reader on arbitrary file contents. Every
// grid size is fuzzed; scripts/fuzz caps the memory a run may take. The reader opens a file
// by name, so each input is written into one in-memory file that lives as long as the
// process, instead of a new file on disk per run.

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>
#include <vector>

#include "memory_file.h"
#include "zel/read_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static MemoryFile file;
    if (!file.hold(data, size)) {
        return 0;
    }
    std::vector<std::vector<double>> table;
    int rowCount = 0;
    int gridSize = 0;
    try {
        ReadFiles::readCubeFile(file.path(), table, rowCount, gridSize);
    } catch (const std::exception&) {
        // Conversion and size errors are the reader's documented answers.
    }
    return 0;
}
