#include "zelgen/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#if defined(_WIN32)
#include <io.h>
#include <share.h>
#else
#include <poll.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <cstring>

namespace zelgen {

namespace {

// How long a pipe is waited on before the stop request is looked at again.
constexpr int kWaitMilliseconds = 20;

InputFileError withReason(const std::string& path, const char* what) {
    return InputFileError(path, std::string(what) + " (" + std::strerror(errno) + ")");
}

std::string sizeText(std::uint64_t bytes) {
    if (bytes >= 1024 * 1024) {
        return std::to_string(bytes / (1024 * 1024)) + " MB";
    }
    return std::to_string(bytes) + " bytes";
}

#if defined(_WIN32)
int openForReading(const std::string& path) {
    int descriptor = -1;
    _sopen_s(&descriptor, path.c_str(), _O_RDONLY | _O_BINARY, _SH_DENYNO, 0);
    return descriptor;
}
long readSome(int descriptor, void* bytes, std::size_t length) {
    const unsigned chunk = length > 0x40000000u ? 0x40000000u : static_cast<unsigned>(length);
    return _read(descriptor, bytes, chunk);
}
int closeFile(int descriptor) {
    return _close(descriptor);
}
using FileStat = struct _stat64;
int statOf(int descriptor, FileStat& status) {
    return _fstat64(descriptor, &status);
}
bool isRegular(const FileStat& status) {
    return (status.st_mode & _S_IFMT) == _S_IFREG;
}
bool isPipe(const FileStat& status) {
    return (status.st_mode & _S_IFMT) == _S_IFIFO;
}
const char* kindOf(const FileStat& status) {
    return (status.st_mode & _S_IFMT) == _S_IFDIR ? "a folder" : "a device";
}
#else
int openForReading(const std::string& path) {
    // Without O_NONBLOCK, opening a FIFO waits for a writer, and no signal ends that wait.
    return ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
}
long readSome(int descriptor, void* bytes, std::size_t length) {
    return static_cast<long>(::read(descriptor, bytes, length));
}
int closeFile(int descriptor) {
    return ::close(descriptor);
}
using FileStat = struct stat;
int statOf(int descriptor, FileStat& status) {
    return ::fstat(descriptor, &status);
}
bool isRegular(const FileStat& status) {
    return S_ISREG(status.st_mode);
}
bool isPipe(const FileStat& status) {
    return S_ISFIFO(status.st_mode);
}
const char* kindOf(const FileStat& status) {
    if (S_ISDIR(status.st_mode)) {
        return "a folder";
    }
    if (S_ISCHR(status.st_mode) || S_ISBLK(status.st_mode)) {
        return "a device";
    }
    if (S_ISFIFO(status.st_mode)) {
        return "a FIFO (named pipe)";
    }
    if (S_ISSOCK(status.st_mode)) {
        return "a socket";
    }
    return "not a regular file";
}
#endif

}  // namespace

InputFile::InputFile(const std::string& path, const char* what, std::uint64_t largest,
                     bool pipesAllowed, StopCheck stop)
    : path_(path), largest_(largest), stop_(stop) {
    descriptor_ = openForReading(path);
    if (descriptor_ < 0) {
        throw withReason(path, "cannot open the file");
    }
    FileStat status{};
    if (statOf(descriptor_, status) != 0) {
        const InputFileError error = withReason(path, "cannot read the file");
        closeFile(descriptor_);
        throw error;
    }
    pipe_ = isPipe(status);
    if (!isRegular(status) && !(pipe_ && pipesAllowed)) {
        closeFile(descriptor_);
        throw InputFileError(
            path,
            std::string("this is ") + kindOf(status) + ", not " + what + "; zelgen reads " + what +
                (pipesAllowed ? " from a regular file or a pipe" : " only from a regular file"));
    }
    if (!pipe_) {
        length_ = static_cast<std::uint64_t>(status.st_size);
        if (length_ > largest_) {
            closeFile(descriptor_);
            throw InputFileError(path, "the file has " + sizeText(length_) + "; " + what +
                                           " has at most " + sizeText(largest_) +
                                           ", so this is not one");
        }
    }
}

InputFile::~InputFile() {
    closeFile(descriptor_);
}

bool InputFile::waitForData() {
#if defined(_WIN32)
    return true;
#else
    // A pipe's writer may take its time or never come: wait in short rounds, so that a stop
    // request is answered within one of them. A FIFO whose writer has not yet opened it
    // reports neither data nor an end, just as a blocking open would wait.
    for (;;) {
        if (stop_ != nullptr && stop_()) {
            throw InputInterrupted(path_);
        }
        pollfd watch{descriptor_, POLLIN, 0};
        const int ready = ::poll(&watch, 1, kWaitMilliseconds);
        if (ready > 0) {
            return true;
        }
        if (ready < 0 && errno != EINTR) {
            throw withReason(path_, "cannot read the file");
        }
    }
#endif
}

std::size_t InputFile::read(void* bytes, std::size_t length) {
    if (stop_ != nullptr && stop_()) {
        throw InputInterrupted(path_);
    }
    for (;;) {
        if (pipe_) {
            waitForData();
        }
        const long count = readSome(descriptor_, bytes, length);
        if (count < 0) {
            if (errno == EINTR || errno == EAGAIN) {
                continue;
            }
            throw withReason(path_, "cannot read the file");
        }
        consumed_ += static_cast<std::uint64_t>(count);
        if (consumed_ > largest_) {
            throw InputFileError(path_, "more than " + sizeText(largest_) +
                                            " arrived, more than such a file holds; reading "
                                            "stopped");
        }
        return static_cast<std::size_t>(count);
    }
}

std::vector<std::uint8_t> InputFile::readAll() {
    std::vector<std::uint8_t> bytes;
    // A regular file's length is known, yet it may change while it is read.
    bytes.reserve(static_cast<std::size_t>(length_));
    std::uint8_t piece[1 << 16];
    for (;;) {
        const std::size_t count = read(piece, sizeof piece);
        if (count == 0) {
            return bytes;
        }
        bytes.insert(bytes.end(), piece, piece + count);
    }
}

InputFileBuffer::int_type InputFileBuffer::underflow() {
    if (gptr() < egptr()) {
        return traits_type::to_int_type(*gptr());
    }
    const std::size_t count = file_.read(buffer_, sizeof buffer_);
    if (count == 0) {
        return traits_type::eof();
    }
    setg(buffer_, buffer_, buffer_ + count);
    return traits_type::to_int_type(*gptr());
}

std::vector<std::uint8_t> readWholeLookFile(const std::string& path) {
    return InputFile(path, "a look file", kLargestLookFile, false).readAll();
}

}  // namespace zelgen
