// Replays saved inputs through a fuzz target without libFuzzer, so that an ordinary build
// and ctest run every input that ever mattered: each argument is a file or a folder of
// files. A crash or a sanitizer report fails the run.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    std::vector<fs::path> inputs;
    for (int a = 1; a < argc; ++a) {
        if (fs::is_directory(argv[a])) {
            for (const auto& entry : fs::directory_iterator(argv[a])) {
                inputs.push_back(entry.path());
            }
        } else {
            inputs.emplace_back(argv[a]);
        }
    }
    std::sort(inputs.begin(), inputs.end());
    if (inputs.empty()) {
        std::cerr << "no inputs to replay\n";
        return 1;
    }
    for (const fs::path& input : inputs) {
        std::ifstream file(input, std::ios::binary);
        if (!file) {
            std::cerr << input.string() << ": cannot open the file\n";
            return 1;
        }
        const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                              std::istreambuf_iterator<char>());
        std::cout << input.filename().string() << std::endl;
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    return 0;
}
