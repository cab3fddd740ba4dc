// The pictures of the browser page's preview. The page decodes the user's frame with the
// browser's own decoders (PNG, JPEG) and draws the result on a canvas, so the module reads and
// writes raw 8-bit RGB pixels: "ZRGB", width and height as 32-bit little-endian numbers, then
// the rows top to bottom. The values are quantised as the PNG pictures of zelgen are.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "check/png_image.h"
#include "whole_file.h"

namespace zelgen {

namespace {

constexpr char kMagic[4] = {'Z', 'R', 'G', 'B'};
constexpr std::size_t kHeaderSize = 12;
// The largest frame read: 16384 x 16384 pixels.
constexpr std::uint64_t kLargestPixelCount = std::uint64_t{1} << 28;

void putWord(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xffu));
    }
}

std::uint32_t wordAt(const unsigned char* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

}  // namespace

bool pngSupported() {
    return true;
}

void writePng(const std::string& path, const RgbImage& image) {
    std::string bytes(kMagic, sizeof kMagic);
    putWord(bytes, image.width);
    putWord(bytes, image.height);
    bytes.reserve(kHeaderSize + image.pixels.size());
    for (const float value : image.pixels) {
        bytes.push_back(static_cast<char>(static_cast<std::uint8_t>(
            std::lround(std::clamp(static_cast<double>(value), 0.0, 1.0) * 255.0))));
    }
    if (!zelweb::writeWholeFile(path, bytes.data(), bytes.size())) {
        throw std::runtime_error(path + ": cannot write the picture");
    }
}

RgbImage readPng(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    unsigned char header[kHeaderSize];
    if (!in.read(reinterpret_cast<char*>(header), kHeaderSize) ||
        !std::equal(kMagic, kMagic + 4, reinterpret_cast<const char*>(header))) {
        throw std::runtime_error(path + ": not a picture the browser decoded");
    }
    RgbImage image;
    image.width = wordAt(header + 4);
    image.height = wordAt(header + 8);
    const std::uint64_t pixels = std::uint64_t{image.width} * image.height;
    if (pixels == 0 || pixels > kLargestPixelCount) {
        throw std::runtime_error(path + ": the picture is empty or larger than 16384 x 16384");
    }
    std::vector<unsigned char> bytes(static_cast<std::size_t>(pixels) * 3);
    if (!in.read(reinterpret_cast<char*>(bytes.data()),
                 static_cast<std::streamsize>(bytes.size()))) {
        throw std::runtime_error(path + ": the picture is cut short");
    }
    image.pixels.resize(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        // As zelgen reads an 8-bit PNG: widened to 16 bits, then scaled.
        image.pixels[i] = static_cast<float>(bytes[i] * 257 / 65535.0);
    }
    return image;
}

}  // namespace zelgen
