#ifndef ZEL_IO_BYTE_ORDER_H
#define ZEL_IO_BYTE_ORDER_H

// Every multi-byte number of a look file is little-endian, whatever the host's byte
// order: all stores and loads go through these helpers.

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zel::io {

inline void putU8(std::uint8_t* at, std::uint32_t value) {
    at[0] = static_cast<std::uint8_t>(value & 0xFFu);
}

inline void putU16le(std::uint8_t* at, std::uint32_t value) {
    at[0] = static_cast<std::uint8_t>(value & 0xFFu);
    at[1] = static_cast<std::uint8_t>((value >> 8) & 0xFFu);
}

inline void putU32le(std::uint8_t* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        at[i] = static_cast<std::uint8_t>((value >> (8 * i)) & 0xFFu);
    }
}

inline void putU64le(std::uint8_t* at, std::uint64_t value) {
    for (int i = 0; i < 8; ++i) {
        at[i] = static_cast<std::uint8_t>((value >> (8 * i)) & 0xFFu);
    }
}

inline std::uint16_t getU16le(const std::uint8_t* at) {
    return static_cast<std::uint16_t>(at[0] | (at[1] << 8));
}

inline std::uint32_t getU32le(const std::uint8_t* at) {
    return static_cast<std::uint32_t>(at[0]) | (static_cast<std::uint32_t>(at[1]) << 8) |
           (static_cast<std::uint32_t>(at[2]) << 16) | (static_cast<std::uint32_t>(at[3]) << 24);
}

inline std::uint64_t getU64le(const std::uint8_t* at) {
    std::uint64_t value = 0;
    for (int i = 7; i >= 0; --i) {
        value = (value << 8) | at[i];
    }
    return value;
}

// Copies `text` into a fixed field of `width` bytes: at most `width` bytes of the text,
// stopping at its first NUL, the rest of the field NUL. A text that fills the field
// carries no terminator.
inline void putText(std::uint8_t* field, std::size_t width, const char* text,
                    std::size_t textCapacity) {
    std::size_t n = 0;
    while (n < width && n < textCapacity && text[n] != '\0') {
        ++n;
    }
    std::memcpy(field, text, n);
    std::memset(field + n, 0, width - n);
}

// Copies exactly min(width, sourceLength) bytes of `source` into a fixed field of `width`
// bytes, NUL bytes included, and clears the rest of the field. Text fields of the look
// file that take a fixed number of bytes from a host field use this, not putText.
inline void copyBytes(std::uint8_t* field, std::size_t width, const void* source,
                      std::size_t sourceLength) {
    const std::size_t n = sourceLength < width ? sourceLength : width;
    if (n > 0) {
        std::memcpy(field, source, n);
    }
    std::memset(field + n, 0, width - n);
}

}  // namespace zel::io

#endif  // ZEL_IO_BYTE_ORDER_H
