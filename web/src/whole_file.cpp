#include "whole_file.h"

#include <cstdio>
#include <memory>

namespace zelweb {

bool writeWholeFile(const std::string& path, const void* data, std::size_t size) {
    // The C library hands a write larger than its buffer to the file system whole.
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(std::fopen(path.c_str(), "wb"),
                                                              &std::fclose);
    return out && std::fwrite(data, 1, size, out.get()) == size && std::fflush(out.get()) == 0;
}

}  // namespace zelweb
