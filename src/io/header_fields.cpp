#include "io/header_fields.h"

#include <stdexcept>

#include "io/byte_order.h"

namespace zel::io {

ByteSection ByteSection::sub(std::size_t offset, std::size_t length) const {
    if (offset > size || length > size - offset) {
        throw std::out_of_range("look file section lies outside its image");
    }
    return ByteSection{data + offset, length};
}

HeaderField numberField(std::size_t offset, std::size_t width, std::uint32_t value) {
    HeaderField field;
    field.offset = offset;
    field.width = width;
    field.kind = HeaderField::Kind::Number;
    field.number = value;
    return field;
}

HeaderField bytesField(std::size_t offset, std::size_t width, const void* source,
                       std::size_t sourceLength) {
    HeaderField field;
    field.offset = offset;
    field.width = width;
    field.kind = source != nullptr ? HeaderField::Kind::Bytes : HeaderField::Kind::Skip;
    field.source = source;
    field.sourceLength = sourceLength;
    return field;
}

HeaderField textField(std::size_t offset, std::size_t width, const char* text) {
    HeaderField field;
    field.offset = offset;
    field.width = width;
    field.kind = text != nullptr ? HeaderField::Kind::Text : HeaderField::Kind::Skip;
    field.source = text;
    field.sourceLength = width;
    return field;
}

HeaderField textField(FieldSpan field, const char* text) {
    return textField(field.offset, field.width, text);
}

namespace {

void writeNumber(std::uint8_t* at, std::size_t width, std::uint32_t value) {
    switch (width) {
        case 1:
            if (value > 0xFFu) {
                break;
            }
            putU8(at, value);
            return;
        case 2:
            if (value > 0xFFFFu) {
                break;
            }
            putU16le(at, value);
            return;
        case 4:
            putU32le(at, value);
            return;
        default:
            break;
    }
    throw std::out_of_range("look file number does not fit its field");
}

}  // namespace

void writeFields(const ByteSection& section, std::initializer_list<HeaderField> fields) {
    for (const HeaderField& field : fields) {
        if (field.kind == HeaderField::Kind::Skip) {
            continue;
        }
        std::uint8_t* at = section.sub(field.offset, field.width).data;
        switch (field.kind) {
            case HeaderField::Kind::Number:
                writeNumber(at, field.width, field.number);
                break;
            case HeaderField::Kind::Bytes:
                copyBytes(at, field.width, field.source, field.sourceLength);
                break;
            case HeaderField::Kind::Text:
                putText(at, field.width, static_cast<const char*>(field.source),
                        field.sourceLength);
                break;
            case HeaderField::Kind::Skip:
                break;
        }
    }
}

}  // namespace zel::io
