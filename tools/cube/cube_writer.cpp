#include "cube/cube_writer.h"

#include "cube/number_text.h"

namespace zelgen {

namespace {

bool hasSizeLine(std::string_view header) {
    std::size_t start = 0;
    while (start < header.size()) {
        if (header.compare(start, 11, "LUT_3D_SIZE") == 0) {
            return true;
        }
        const std::size_t end = header.find('\n', start);
        if (end == std::string_view::npos) {
            break;
        }
        start = end + 1;
    }
    return false;
}

}  // namespace

std::string formatCubeText(std::string_view header, int size, const std::vector<float>& rows) {
    const bool crlf = header.find("\r\n") != std::string_view::npos || header.empty();
    const char* lineEnd = crlf ? "\r\n" : "\n";
    std::string text(header);
    if (!text.empty() && text.back() != '\n') {
        text += lineEnd;
    }
    if (!hasSizeLine(header)) {
        text += "LUT_3D_SIZE " + std::to_string(size) + lineEnd;
    }
    text.reserve(text.size() + rows.size() / 3 * 40);
    for (std::size_t i = 0; i + 2 < rows.size(); i += 3) {
        appendFloat(text, rows[i]);
        text += ' ';
        appendFloat(text, rows[i + 1]);
        text += ' ';
        appendFloat(text, rows[i + 2]);
        text += lineEnd;
    }
    return text;
}

}  // namespace zelgen
