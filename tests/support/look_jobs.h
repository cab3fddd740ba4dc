#ifndef ZEL_TESTS_SUPPORT_LOOK_JOBS_H
#define ZEL_TESTS_SUPPORT_LOOK_JOBS_H

// Look files made by whole jobs, for the tests that read them back.

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "support/look_file_bytes.h"
#include "support/test_jobs.h"
#include "zel/zel.h"

namespace zeltest {

// Runs a job for `model` on the node table `nodes` (grid n) and returns the look file;
// empty when the job failed.
inline std::vector<std::uint8_t> makeLookFile(const std::string& model, bool extended, int n,
                                              const std::vector<float>& nodes, int source = 0,
                                              int curve = 0, int range = 0,
                                              std::uint32_t flags = 0) {
    std::vector<float> floats(nodes.size());
    ZelGenInput input = makeInput(model, n, nodes.data(), source, curve, range);
    input.flags = flags;
    ZelGenerator generator;
    generator.zel_initialize();
    StreamCapture out(std::cout);
    std::vector<std::uint8_t> file;
    if (extended) {
        auto output = std::make_unique<ZelGenOutputExtended>();
        output->floatLut = floats.data();
        output->floatLutFilm = floats.data();
        generator.zel_exec(input, *output);
        file = lookFileBytes(*output);
    } else {
        auto output = std::make_unique<ZelGenOutput>();
        output->floatLut = floats.data();
        output->floatLutFilm = floats.data();
        generator.zel_exec(input, *output);
        file = lookFileBytes(*output);
    }
    return generator.zel_get_status() == ZelEnum::ZEL_STATUS_DONE ? file
                                                                  : std::vector<std::uint8_t>();
}

}  // namespace zeltest

#endif  // ZEL_TESTS_SUPPORT_LOOK_JOBS_H
