#ifndef ZELGEN_FUZZ_LIMITS_H
#define ZELGEN_FUZZ_LIMITS_H

// Both .cube readers allocate the whole table as soon as they see the size line. A large
// size is valid and tested elsewhere; under the fuzzer it only costs memory and time, so
// inputs whose size lines ask for more than a small grid are skipped.

#include <cstddef>
#include <cstdlib>
#include <string>

namespace zelgen::fuzz {

constexpr double kLargestFuzzedSize = 24.0;

inline bool asksForLargeGrid(const std::string& text) {
    for (std::size_t at = text.find("LUT_3D_SIZE"); at != std::string::npos;
         at = text.find("LUT_3D_SIZE", at + 1)) {
        const std::size_t end = text.find('\n', at);
        const std::string rest =
            text.substr(at + 11, end == std::string::npos ? std::string::npos : end - at - 11);
        const double size = std::strtod(rest.c_str(), nullptr);
        if (!(size <= kLargestFuzzedSize)) {
            return true;
        }
    }
    return false;
}

}  // namespace zelgen::fuzz

#endif  // ZELGEN_FUZZ_LIMITS_H
