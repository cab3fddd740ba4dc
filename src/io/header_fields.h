#ifndef ZEL_IO_HEADER_FIELDS_H
#define ZEL_IO_HEADER_FIELDS_H

// The fixed sections of a look file (file header, look header, metadata header list,
// metadata blocks) are written from tables of fields: offset, width and value, checked
// against the section they are written into.

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "io/look_file_layout.h"

namespace zel::io {

// A writable window of `size` bytes into a look-file image.
struct ByteSection {
    std::uint8_t* data = nullptr;
    std::size_t size = 0;

    // The `length` bytes at `offset`. Throws std::out_of_range when they leave the section.
    ByteSection sub(std::size_t offset, std::size_t length) const;
};

// One field of a section. A field whose source is null is skipped: the section was cleared
// before it was written, so the field stays zero.
struct HeaderField {
    enum class Kind { Skip, Number, Bytes, Text };

    std::size_t offset = 0;
    std::size_t width = 0;
    Kind kind = Kind::Skip;
    std::uint32_t number = 0;
    const void* source = nullptr;
    std::size_t sourceLength = 0;
};

// A little-endian unsigned number of 1, 2 or 4 bytes.
HeaderField numberField(std::size_t offset, std::size_t width, std::uint32_t value);

// Exactly min(width, sourceLength) bytes of `source`, NUL bytes included; the rest of the
// field NUL.
HeaderField bytesField(std::size_t offset, std::size_t width, const void* source,
                       std::size_t sourceLength);

template <typename Byte, std::size_t N>
HeaderField bytesField(std::size_t offset, std::size_t width, const Byte (&source)[N]) {
    static_assert(sizeof(Byte) == 1, "byte fields copy byte arrays");
    return bytesField(offset, width, source, N);
}

template <std::size_t N>
HeaderField bytesField(std::size_t offset, const std::array<std::uint8_t, N>* source) {
    return bytesField(offset, N, source != nullptr ? source->data() : nullptr, N);
}

// A text up to its first NUL and at most `width` bytes; the rest of the field NUL.
HeaderField textField(std::size_t offset, std::size_t width, const char* text);

// The same fields at a field of the layout table (look_file_layout.h).
inline HeaderField numberField(FieldSpan field, std::uint32_t value) {
    return numberField(field.offset, field.width, value);
}
inline HeaderField bytesField(FieldSpan field, const void* source, std::size_t sourceLength) {
    return bytesField(field.offset, field.width, source, sourceLength);
}
template <typename Byte, std::size_t N>
HeaderField bytesField(FieldSpan field, const Byte (&source)[N]) {
    return bytesField(field.offset, field.width, source);
}
HeaderField textField(FieldSpan field, const char* text);

// Writes the fields into `section` in table order. Throws std::out_of_range when a field
// does not lie wholly inside the section or a number does not fit its width.
void writeFields(const ByteSection& section, std::initializer_list<HeaderField> fields);

}  // namespace zel::io

#endif  // ZEL_IO_HEADER_FIELDS_H
