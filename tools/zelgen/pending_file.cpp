#include "zelgen/pending_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#if defined(_WIN32)
#include <io.h>
#include <share.h>
#else
#include <unistd.h>
#endif

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <system_error>

namespace zelgen {

namespace {

std::runtime_error fileError(const std::string& target, const char* what) {
    return std::runtime_error(target + ": " + what + " (" + std::strerror(errno) + ")");
}

// The few file calls that differ between Windows and POSIX systems.
#if defined(_WIN32)
int createExclusive(const std::string& path) {
    int descriptor = -1;
    _sopen_s(&descriptor, path.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _SH_DENYNO,
             _S_IREAD | _S_IWRITE);
    return descriptor;
}
long writeSome(int descriptor, const char* bytes, std::size_t length) {
    const unsigned chunk = length > 0x40000000u ? 0x40000000u : static_cast<unsigned>(length);
    return _write(descriptor, bytes, chunk);
}
int flushToDisk(int descriptor) {
    return _commit(descriptor);
}
int closeFile(int descriptor) {
    return _close(descriptor);
}
#else
int createExclusive(const std::string& path) {
    // A look file is as readable as any other new file: the process's umask applies.
    return ::open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
}
long writeSome(int descriptor, const char* bytes, std::size_t length) {
    return static_cast<long>(::write(descriptor, bytes, length));
}
int flushToDisk(int descriptor) {
    return ::fsync(descriptor);
}
int closeFile(int descriptor) {
    return ::close(descriptor);
}
#endif

// A replaced file keeps its permissions, as cp and editors keep them: a private look stays
// private, a read-only one read-only. A new file has the umask's, given at its creation.
void keepModeOf(const std::string& destination, int descriptor) {
#if defined(_WIN32)
    (void)destination;
    (void)descriptor;
#else
    struct stat old {};
    if (::stat(destination.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        // Best effort: a file owned by someone else may refuse; the umask's mode then stands.
        (void)::fchmod(descriptor, old.st_mode & 0777);
    }
#endif
}

std::runtime_error refusal(const std::string& target, const std::string& why) {
    return std::runtime_error(target + ": " + why +
                              "; zelgen writes only regular files, so it is left as it is");
}

const char* kindOf(std::filesystem::file_type type) {
    switch (type) {
        case std::filesystem::file_type::directory:
            return "a folder";
        case std::filesystem::file_type::character:
        case std::filesystem::file_type::block:
            return "a device";
        case std::filesystem::file_type::fifo:
            return "a FIFO (named pipe)";
        case std::filesystem::file_type::socket:
            return "a socket";
        default:
            return "not a regular file";
    }
}

}  // namespace

std::string resolveOutputTarget(const std::string& target) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::file_status own = fs::symlink_status(target, error);
    if (own.type() == fs::file_type::not_found) {
        return target;
    }
    if (error) {
        throw std::runtime_error(target + ": cannot check the output path (" + error.message() +
                                 ")");
    }
    if (own.type() == fs::file_type::regular) {
        return target;
    }
    if (own.type() != fs::file_type::symlink) {
        throw refusal(target, std::string("this is ") + kindOf(own.type()));
    }
    const fs::path leadsTo = fs::read_symlink(target, error);
    const fs::path real = fs::canonical(target, error);
    if (error) {
        throw std::runtime_error(target + ": this is a symbolic link to " + leadsTo.string() +
                                 ", which does not exist; zelgen writes through a link only to "
                                 "an existing file");
    }
    const fs::file_type type = fs::status(real, error).type();
    if (type != fs::file_type::regular) {
        throw refusal(target,
                      "this is a symbolic link to " + real.string() + ", which is " + kindOf(type));
    }
    return real.string();
}

void refuseInputAsTarget(const std::string& target, const std::vector<std::string>& inputs) {
    for (const std::string& input : inputs) {
        std::error_code error;
        if (!input.empty() && std::filesystem::equivalent(target, input, error)) {
            throw std::runtime_error(target + ": this is the input " + input +
                                     "; zelgen does not write over the files it reads");
        }
    }
}

PendingFile::PendingFile(std::string target)
    : target_(std::move(target)), destination_(resolveOutputTarget(target_)) {
    const std::filesystem::path path(destination_);
    const std::filesystem::path folder = path.parent_path();
    std::random_device entropy;
    std::mt19937_64 names(entropy());
    // A fresh name beside the target, created exclusively so no other file is reused.
    for (int attempt = 0; attempt < 100 && descriptor_ < 0; ++attempt) {
        char suffix[13];
        std::snprintf(suffix, sizeof suffix, "%012llx",
                      static_cast<unsigned long long>(names() & 0xFFFFFFFFFFFFull));
        // A short name, so that a target whose name is as long as the folder allows can
        // still have its temporary file beside it.
        temporary_ = (folder / (std::string(".zelgen-") + suffix)).string();
        descriptor_ = createExclusive(temporary_);
        if (descriptor_ < 0 && errno != EEXIST) {
            break;
        }
    }
    if (descriptor_ < 0) {
        throw fileError(target_, "cannot create the output file");
    }
    keepModeOf(destination_, descriptor_);
}

PendingFile::~PendingFile() {
    if (!committed_) {
        discard();
    }
}

void PendingFile::write(const void* bytes, std::size_t length) {
    const char* next = static_cast<const char*>(bytes);
    while (length > 0) {
        const long written = writeSome(descriptor_, next, length);
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
    const bool flushed = flushToDisk(descriptor_) == 0;
    const bool closed = closeFile(descriptor_) == 0;
    descriptor_ = -1;
    if (!flushed || !closed) {
        throw fileError(target_, "cannot write the output file");
    }
    // Replaces an existing target on every platform.
    std::error_code error;
    std::filesystem::rename(temporary_, destination_, error);
    if (error) {
        throw std::runtime_error(target_ + ": cannot put the output file in place (" +
                                 error.message() + ")");
    }
    committed_ = true;
}

void PendingFile::discard() noexcept {
    if (descriptor_ >= 0) {
        closeFile(descriptor_);
        descriptor_ = -1;
    }
    std::remove(temporary_.c_str());
}

}  // namespace zelgen
