// libFuzzer target: the library's exported .cube reader on arbitrary file contents. Every
// grid size is fuzzed; scripts/fuzz caps the memory a run may take. The reader opens a file
// by name, so each input is written into one in-memory file that lives as long as the
// process, instead of a new file on disk per run.

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>
#include <vector>

#include "zel/read_files.h"

namespace {

class ReusedFile {
  public:
    ReusedFile() : descriptor_(::memfd_create("zel_fuzz_cube", MFD_CLOEXEC)) {
        path_ = "/proc/self/fd/" + std::to_string(descriptor_);
    }
    ~ReusedFile() {
        if (descriptor_ >= 0) {
            ::close(descriptor_);
        }
    }
    ReusedFile(const ReusedFile&) = delete;
    ReusedFile& operator=(const ReusedFile&) = delete;

    // Makes the file hold exactly these bytes.
    bool hold(const std::uint8_t* data, std::size_t size) {
        return descriptor_ >= 0 && ::ftruncate(descriptor_, 0) == 0 &&
               ::pwrite(descriptor_, data, size, 0) == static_cast<ssize_t>(size);
    }
    const std::string& path() const { return path_; }

  private:
    int descriptor_;
    std::string path_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ReusedFile file;
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
