// libFuzzer target: zelgen inspect's look-file decoder and its JSON report.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "inspect/inspect_report.h"
#include "inspect/look_file_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> bytes(data, data + size);
    try {
        const zelgen::LookFileInfo info = zelgen::decodeLookFile(bytes);
        const std::string json = zelgen::lookFileJson(info, "fuzz.zel").dump();
        (void)json;
    } catch (const zel::DecodeError&) {
        // A damaged file is a valid outcome.
    }
    return 0;
}
