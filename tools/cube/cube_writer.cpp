#include "cube/cube_writer.h"

#include "cube/number_text.h"
#include "cube_reader/cube_row_order.h"

namespace zelgen {

namespace {

constexpr std::size_t kPieceSize = std::size_t{1} << 20;

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

void writeCubeText(std::string_view header, int size, const float* nodes,
                   const std::function<void(std::string_view)>& sink) {
    const bool crlf = header.find("\r\n") != std::string_view::npos || header.empty();
    const char* lineEnd = crlf ? "\r\n" : "\n";
    std::string text(header);
    if (!text.empty() && text.back() != '\n') {
        text += lineEnd;
    }
    if (!hasSizeLine(header)) {
        text += "LUT_3D_SIZE " + std::to_string(size) + lineEnd;
    }
    const std::size_t n = size > 0 ? static_cast<std::size_t>(size) : 0;
    const std::size_t rows = n * n * n;
    text.reserve(kPieceSize + 128);
    zel::io::CubeRowOrder order(n);
    for (std::size_t row = 0; row < rows; ++row, order.advance()) {
        const float* node = nodes + order.node() * 4;
        appendFloat(text, node[0]);
        text += ' ';
        appendFloat(text, node[1]);
        text += ' ';
        appendFloat(text, node[2]);
        text += lineEnd;
        if (text.size() >= kPieceSize) {
            sink(text);
            text.clear();
        }
    }
    if (!text.empty()) {
        sink(text);
    }
}

std::string formatCubeText(std::string_view header, int size, const float* nodes) {
    std::string text;
    writeCubeText(header, size, nodes, [&](std::string_view piece) { text += piece; });
    return text;
}

}  // namespace zelgen
