#include "inspect/byte_view.h"

#include <cstring>

namespace zelgen {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

void appendHexByte(std::string& out, std::uint8_t byte) {
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0xF];
}

}  // namespace

std::string printableText(const std::uint8_t* bytes, std::size_t length) {
    std::string text;
    for (std::size_t i = 0; i < length; ++i) {
        const std::uint8_t c = bytes[i];
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            text += static_cast<char>(c);
        } else {
            text += "\\x";
            appendHexByte(text, c);
        }
    }
    return text;
}

void ByteView::require(std::uint64_t offset, std::uint64_t length, const char* what) const {
    if (!contains(offset, length)) {
        throw LookFileError("the file is truncated or damaged: the " + std::string(what) +
                            " needs bytes " + std::to_string(offset) + " to " +
                            std::to_string(offset + length) + ", but the file has " +
                            std::to_string(bytes_.size()) + " bytes");
    }
}

std::uint8_t ByteView::u8(std::uint64_t offset, const char* what) const {
    require(offset, 1, what);
    return bytes_[offset];
}

std::uint16_t ByteView::u16(std::uint64_t offset, const char* what) const {
    require(offset, 2, what);
    return static_cast<std::uint16_t>(bytes_[offset] | (bytes_[offset + 1] << 8));
}

std::uint32_t ByteView::u32(std::uint64_t offset, const char* what) const {
    require(offset, 4, what);
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | bytes_[offset + static_cast<std::uint64_t>(i)];
    }
    return value;
}

std::uint64_t ByteView::u64(std::uint64_t offset, const char* what) const {
    require(offset, 8, what);
    std::uint64_t value = 0;
    for (int i = 7; i >= 0; --i) {
        value = (value << 8) | bytes_[offset + static_cast<std::uint64_t>(i)];
    }
    return value;
}

std::string ByteView::text(std::uint64_t offset, std::size_t width, const char* what) const {
    require(offset, width, what);
    const std::uint8_t* start = bytes_.data() + offset;
    const void* nul = std::memchr(start, 0, width);
    const std::size_t length =
        nul == nullptr ? width
                       : static_cast<std::size_t>(static_cast<const std::uint8_t*>(nul) - start);
    return printableText(start, length);
}

std::string ByteView::hex(std::uint64_t offset, std::size_t length, const char* what) const {
    require(offset, length, what);
    std::string text;
    for (std::size_t i = 0; i < length; ++i) {
        if (i != 0) {
            text += ' ';
        }
        appendHexByte(text, bytes_[offset + i]);
    }
    return text;
}

bool ByteView::allZero(std::uint64_t offset, std::size_t length, const char* what) const {
    require(offset, length, what);
    for (std::size_t i = 0; i < length; ++i) {
        if (bytes_[offset + i] != 0) {
            return false;
        }
    }
    return true;
}

bool ByteView::matches(std::uint64_t offset, const char* literal, std::size_t length,
                       const char* what) const {
    require(offset, length, what);
    return std::memcmp(bytes_.data() + offset, literal, length) == 0;
}

}  // namespace zelgen
