#ifndef ZEL_FUZZ_MEMORY_FILE_H
#define ZEL_FUZZ_MEMORY_FILE_H

// One in-memory file, reused for every input, for the targets whose code under test opens
// a file by name: no new file on disk per run.

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

class MemoryFile {
  public:
    MemoryFile() : descriptor_(::memfd_create("zel_fuzz", MFD_CLOEXEC)) {
        path_ = "/proc/self/fd/" + std::to_string(descriptor_);
    }
    ~MemoryFile() {
        if (descriptor_ >= 0) {
            ::close(descriptor_);
        }
    }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

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

#endif  // ZEL_FUZZ_MEMORY_FILE_H
