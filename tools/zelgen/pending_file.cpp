#include "zelgen/pending_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <vector>

namespace zelgen {

namespace {

std::runtime_error fileError(const std::string& target, const char* what) {
    return std::runtime_error(target + ": " + what + " (" + std::strerror(errno) + ")");
}

}  // namespace

PendingFile::PendingFile(std::string target) : target_(std::move(target)) {
    const std::filesystem::path path(target_);
    const std::filesystem::path folder = path.parent_path();
    temporary_ = (folder / ("." + path.filename().string() + ".partial-XXXXXX")).string();
    std::vector<char> name(temporary_.begin(), temporary_.end());
    name.push_back('\0');
    descriptor_ = ::mkstemp(name.data());
    if (descriptor_ < 0) {
        throw fileError(target_, "cannot create the output file");
    }
    temporary_.assign(name.data());
    // mkstemp makes the file private; a look file is as readable as any other new file.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(descriptor_, 0666 & ~mask);
}

PendingFile::~PendingFile() {
    if (!committed_) {
        discard();
    }
}

void PendingFile::write(const void* bytes, std::size_t length) {
    const char* next = static_cast<const char*>(bytes);
    while (length > 0) {
        const ssize_t written = ::write(descriptor_, next, length);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw fileError(target_, "cannot write the output file");
        }
        next += written;
        length -= static_cast<std::size_t>(written);
    }
}

void PendingFile::commit() {
    if (::fsync(descriptor_) != 0 || ::close(descriptor_) != 0) {
        descriptor_ = -1;
        throw fileError(target_, "cannot write the output file");
    }
    descriptor_ = -1;
    if (std::rename(temporary_.c_str(), target_.c_str()) != 0) {
        throw fileError(target_, "cannot put the output file in place");
    }
    committed_ = true;
}

void PendingFile::discard() noexcept {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
        descriptor_ = -1;
    }
    std::remove(temporary_.c_str());
}

}  // namespace zelgen
