#ifndef ZELGEN_INPUT_FILE_H
#define ZELGEN_INPUT_FILE_H

// Input files read without the risk of a hang or an unbounded read. A path is opened
// without blocking, so a FIFO with no writer cannot stall the open, and what it is decides
// how it is read:
//   - a regular file is read as it stands;
//   - a FIFO or a pipe (a process substitution, /dev/stdin) is read as its writer delivers,
//     in pieces, looking for a stop request between them, where the caller accepts one;
//   - a device, a socket or a folder is refused, naming what it is: /dev/zero would never
//     end and /dev/urandom never stop.
// Every read is bounded: a file longer than the caller's bound is refused by its length
// when it has one, or once that much has arrived through a pipe.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <streambuf>
#include <string>
#include <utility>
#include <vector>

namespace zelgen {

// True when the run is to stop (Ctrl-C); null means the caller accepts no stop.
using StopCheck = bool (*)();

// Why an input cannot be read; what() is "path: reason".
class InputFileError : public std::runtime_error {
  public:
    InputFileError(const std::string& path, std::string reason)
        : std::runtime_error(path + ": " + reason), reason_(std::move(reason)) {}
    const std::string& reason() const { return reason_; }

  private:
    std::string reason_;
};

// Thrown when a stop request ends a read.
class InputInterrupted : public std::runtime_error {
  public:
    explicit InputInterrupted(const std::string& path)
        : std::runtime_error(path + ": reading was interrupted") {}
};

// An open input. Throws InputFileError naming the path and the reason.
class InputFile {
  public:
    // `what` names the kind of file expected in refusals ("a .cube file", "a look file").
    InputFile(const std::string& path, const char* what, std::uint64_t largest, bool pipesAllowed,
              StopCheck stop = nullptr);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Reads up to `length` bytes; 0 at the end. Throws when the bound is passed, on a read
    // error and, with InputInterrupted, on a stop request.
    std::size_t read(void* bytes, std::size_t length);
    // The whole rest of the file.
    std::vector<std::uint8_t> readAll();

    const std::string& path() const { return path_; }
    // The length of a regular file; 0 for a pipe.
    std::uint64_t length() const { return length_; }

  private:
    bool waitForData();

    std::string path_;
    std::uint64_t largest_;
    std::uint64_t consumed_ = 0;
    std::uint64_t length_ = 0;
    StopCheck stop_;
    bool pipe_ = false;
    int descriptor_ = -1;
};

// A std::streambuf over an InputFile, for the stream-reading parsers.
class InputFileBuffer : public std::streambuf {
  public:
    explicit InputFileBuffer(InputFile& file) : file_(file) {}

  protected:
    int_type underflow() override;

  private:
    InputFile& file_;
    char buffer_[1 << 16];
};

// A look file is a few hundred kilobytes; anything far larger is not one.
constexpr std::uint64_t kLargestLookFile = 64 * 1024 * 1024;

// The whole of a look file: a regular file of at most kLargestLookFile bytes. The one way
// inspect, check and preview read a look file, so that each refuses the same files (a FIFO,
// a device, a folder, an oversized file) with the same words. Throws InputFileError.
std::vector<std::uint8_t> readWholeLookFile(const std::string& path);

}  // namespace zelgen

#endif  // ZELGEN_INPUT_FILE_H
