// libFuzzer target: the C interface's .cube reader on arbitrary file contents, both the
// form that allocates and the one that fills a caller's buffer too small for most looks.

#include <cstddef>
#include <cstdint>

#include "memory_file.h"
#include "zel/zel_c.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static MemoryFile file;
    if (!file.hold(data, size)) {
        return 0;
    }
    float* rows = nullptr;
    std::int32_t grid = 0;
    char message[64];
    if (zel_cube_read(file.path().c_str(), &rows, &grid, message, sizeof message) == ZEL_OK) {
        // Every float of every row is readable.
        volatile float sum = 0.0f;
        const auto n = static_cast<std::size_t>(grid);
        for (std::size_t i = 0; i < 3 * n * n * n; ++i) {
            sum = sum + rows[i];
        }
    }
    zel_cube_free(rows);
    float small[3 * 8];
    zel_cube_read_into(file.path().c_str(), small, 3 * 8, &grid, message, 5);
    return 0;
}
