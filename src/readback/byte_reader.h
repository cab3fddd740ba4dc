#ifndef ZEL_READBACK_BYTE_READER_H
#define ZEL_READBACK_BYTE_READER_H

// Bounds-checked little-endian reads from a look file held in memory, for every reader of
// look files (the library's look decoder, `zelgen inspect`). A read that would leave the
// file throws DecodeError naming what was being read, so a truncated or damaged file
// gives a message instead of a read past the buffer.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "io/byte_order.h"
#include "io/look_file_layout.h"
#include "platform/decode_error.h"

namespace zel::io {

class ByteReader {
  public:
    ByteReader(const std::uint8_t* bytes, std::size_t size) : bytes_(bytes), size_(size) {}

    std::size_t size() const { return size_; }

    bool contains(std::uint64_t offset, std::uint64_t length) const {
        return offset <= size_ && length <= size_ - offset;
    }

    // Throws DecodeError unless `length` bytes from `offset` lie inside the file.
    void require(std::uint64_t offset, std::uint64_t length, const char* what) const {
        if (!contains(offset, length)) {
            throw DecodeError(what, "needs bytes " + std::to_string(offset) + " to " +
                                        std::to_string(offset + length) + ", but the file has " +
                                        std::to_string(size_) +
                                        " bytes: it is truncated or damaged");
        }
    }

    // The `length` bytes at `offset`, checked.
    const std::uint8_t* at(std::uint64_t offset, std::uint64_t length, const char* what) const {
        require(offset, length, what);
        return bytes_ + offset;
    }

    std::uint8_t u8(std::uint64_t offset, const char* what) const { return *at(offset, 1, what); }
    std::uint16_t u16(std::uint64_t offset, const char* what) const {
        return getU16le(at(offset, 2, what));
    }
    std::uint32_t u32(std::uint64_t offset, const char* what) const {
        return getU32le(at(offset, 4, what));
    }
    std::uint64_t u64(std::uint64_t offset, const char* what) const {
        return getU64le(at(offset, 8, what));
    }

    // The little-endian number of 1, 2 or 4 bytes of a layout field of the section at
    // `section`.
    std::uint32_t number(std::uint64_t section, FieldSpan field, const char* what) const {
        const std::uint64_t offset = section + field.offset;
        switch (field.width) {
            case 1:
                return u8(offset, what);
            case 2:
                return u16(offset, what);
            default:
                return u32(offset, what);
        }
    }

    // A NUL-padded text field: its bytes up to the first NUL, as they are.
    std::string text(std::uint64_t offset, std::size_t width, const char* what) const {
        const std::uint8_t* start = at(offset, width, what);
        const void* nul = std::memchr(start, 0, width);
        const std::size_t length =
            nul == nullptr
                ? width
                : static_cast<std::size_t>(static_cast<const std::uint8_t*>(nul) - start);
        return std::string(reinterpret_cast<const char*>(start), length);
    }
    std::string text(std::uint64_t section, FieldSpan field, const char* what) const {
        return text(section + field.offset, field.width, what);
    }

    bool allZero(std::uint64_t offset, std::size_t length, const char* what) const {
        const std::uint8_t* start = at(offset, length, what);
        for (std::size_t i = 0; i < length; ++i) {
            if (start[i] != 0) {
                return false;
            }
        }
        return true;
    }

    // True when the section at `section` opens with `magic` (its magic field).
    bool opensWith(std::uint64_t section, FieldSpan magicField, const char* magic,
                   const char* what) const {
        return std::memcmp(at(section + magicField.offset, magicField.width, what), magic,
                           magicField.width) == 0;
    }

  private:
    const std::uint8_t* bytes_;
    std::size_t size_;
};

}  // namespace zel::io

#endif  // ZEL_READBACK_BYTE_READER_H
