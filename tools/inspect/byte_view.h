#ifndef ZELGEN_BYTE_VIEW_H
#define ZELGEN_BYTE_VIEW_H

// Bounds-checked little-endian reads from a look file held in memory. A read that would
// leave the file throws LookFileError naming what was being read, so a truncated or
// damaged file gives a message instead of a read past the buffer.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace zelgen {

class LookFileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class ByteView {
  public:
    explicit ByteView(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}

    std::size_t size() const { return bytes_.size(); }

    // Throws unless `length` bytes from `offset` lie inside the file.
    void require(std::uint64_t offset, std::uint64_t length, const char* what) const;
    bool contains(std::uint64_t offset, std::uint64_t length) const {
        return offset <= bytes_.size() && length <= bytes_.size() - offset;
    }

    std::uint8_t u8(std::uint64_t offset, const char* what) const;
    std::uint16_t u16(std::uint64_t offset, const char* what) const;
    std::uint32_t u32(std::uint64_t offset, const char* what) const;
    std::uint64_t u64(std::uint64_t offset, const char* what) const;
    // A NUL-padded text field of `width` bytes, cut at its first NUL, with bytes that are
    // not printable ASCII written as \xNN.
    std::string text(std::uint64_t offset, std::size_t width, const char* what) const;
    // `length` bytes as upper-case hexadecimal pairs separated by spaces.
    std::string hex(std::uint64_t offset, std::size_t length, const char* what) const;
    bool allZero(std::uint64_t offset, std::size_t length, const char* what) const;
    bool matches(std::uint64_t offset, const char* literal, std::size_t length,
                 const char* what) const;
    const std::uint8_t* at(std::uint64_t offset) const { return bytes_.data() + offset; }

  private:
    const std::vector<std::uint8_t>& bytes_;
};

// Makes any bytes safe to print and to put in JSON: printable ASCII stays, the rest is \xNN.
std::string printableText(const std::uint8_t* bytes, std::size_t length);

}  // namespace zelgen

#endif  // ZELGEN_BYTE_VIEW_H
