#include "inspect/printable_text.h"

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

std::string printableText(const std::string& bytes) {
    return printableText(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

std::string hexBytes(const std::uint8_t* bytes, std::size_t length) {
    std::string text;
    for (std::size_t i = 0; i < length; ++i) {
        if (i != 0) {
            text += ' ';
        }
        appendHexByte(text, bytes[i]);
    }
    return text;
}

}  // namespace zelgen
