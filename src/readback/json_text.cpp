#include "readback/json_text.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace zel {

namespace {

// The length of the well-formed UTF-8 sequence at `s[i]`, or 0 when it is not one.
std::size_t utf8Length(std::string_view s, std::size_t i) {
    const auto lead = static_cast<unsigned char>(s[i]);
    std::size_t length = 0;
    std::uint32_t code = 0;
    if (lead < 0x80) {
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07u;
    } else {
        return 0;
    }
    if (s.size() - i < length) {
        return 0;
    }
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(s[i + k]);
        if ((next & 0xC0u) != 0x80u) {
            return 0;
        }
        code = (code << 6) | (next & 0x3Fu);
    }
    const std::uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code < smallest[length] || surrogate || code > 0x10FFFF ? 0 : length;
}

void appendString(std::string& out, std::string_view text) {
    out += '"';
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80) {
            const std::size_t length = utf8Length(text, i);
            if (length == 0) {
                out += "\xEF\xBF\xBD";
                ++i;
            } else {
                out.append(text.substr(i, length));
                i += length;
            }
            continue;
        }
        ++i;
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            default:
                if (byte < 0x20) {
                    const char* hex = "0123456789abcdef";
                    out += "\\u00";
                    out += hex[byte >> 4];
                    out += hex[byte & 0x0F];
                } else {
                    out += c;
                }
        }
    }
    out += '"';
}

// The fewest significant digits (15 to 17) that read back to `number`, with '.' as the
// decimal point whatever character the C locale uses.
std::string shortestText(double number) {
    char text[40];
    for (int precision = 15; precision <= 17; ++precision) {
        std::snprintf(text, sizeof text, "%.*g", precision, number);
        if (std::strtod(text, nullptr) == number) {
            break;
        }
    }
    std::string out;
    for (const char* c = text; *c != '\0'; ++c) {
        const bool numeric =
            (*c >= '0' && *c <= '9') || *c == '-' || *c == '+' || *c == 'e' || *c == 'E';
        if (numeric) {
            out += *c;
        } else if (out.empty() || out.back() != '.') {
            out += '.';
        }
    }
    return out;
}

}  // namespace

void JsonText::beforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (!counts_.empty()) {
        if (counts_.back()++ > 0) {
            out_ += ',';
        }
        out_ += '\n';
        out_.append(2 * counts_.size(), ' ');
    }
}

void JsonText::close(char bracket) {
    const int count = counts_.empty() ? 0 : counts_.back();
    if (!counts_.empty()) {
        counts_.pop_back();
    }
    if (count > 0) {
        out_ += '\n';
        out_.append(2 * counts_.size(), ' ');
    }
    out_ += bracket;
}

JsonText& JsonText::beginObject() {
    beforeValue();
    out_ += '{';
    counts_.push_back(0);
    return *this;
}

JsonText& JsonText::endObject() {
    close('}');
    return *this;
}

JsonText& JsonText::beginArray() {
    beforeValue();
    out_ += '[';
    counts_.push_back(0);
    return *this;
}

JsonText& JsonText::endArray() {
    close(']');
    return *this;
}

JsonText& JsonText::key(std::string_view name) {
    beforeValue();
    appendString(out_, name);
    out_ += ": ";
    afterKey_ = true;
    return *this;
}

JsonText& JsonText::value(double number) {
    beforeValue();
    if (!std::isfinite(number)) {
        out_ += "null";
        return *this;
    }
    const std::string text = shortestText(number);
    out_ += text;
    // A whole number still reads as a floating-point one.
    if (text.find_first_of(".e") == std::string::npos) {
        out_ += ".0";
    }
    return *this;
}

JsonText& JsonText::value(int number) {
    beforeValue();
    out_ += std::to_string(number);
    return *this;
}

JsonText& JsonText::value(bool flag) {
    beforeValue();
    out_ += flag ? "true" : "false";
    return *this;
}

JsonText& JsonText::value(std::string_view text) {
    beforeValue();
    appendString(out_, text);
    return *this;
}

}  // namespace zel
