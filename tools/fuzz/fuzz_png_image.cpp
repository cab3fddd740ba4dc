// libFuzzer target: zelgen preview's --image reading (libspng through the bounded reader)
// on arbitrary file contents.

#include <cstddef>
#include <cstdint>
#include <stdexcept>

#include "check/png_image.h"
#include "memory_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static MemoryFile file;
    if (!file.hold(data, size)) {
        return 0;
    }
    try {
        const zelgen::RgbImage image = zelgen::readPng(file.path());
        if (image.pixels.size() != static_cast<std::size_t>(image.width) * image.height * 3) {
            __builtin_trap();  // a picture whose pixels do not match its size
        }
    } catch (const std::runtime_error&) {
        // A damaged or refused picture is a valid outcome.
    }
    return 0;
}
