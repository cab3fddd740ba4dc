#ifndef ZELGEN_PNG_IMAGE_H
#define ZELGEN_PNG_IMAGE_H

// PNG files in and out, through libspng: 8-bit RGB pictures are written, 8- and 16-bit
// pictures of any colour type are read as RGB values from 0 to 1.

#include <cstdint>
#include <string>
#include <vector>

namespace zelgen {

struct RgbImage {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<float> pixels;  // width x height x 3, rows top to bottom, values 0 to 1
};

// True when this zelgen was built with PNG support.
bool pngSupported();

// Throws std::runtime_error with the reason.
void writePng(const std::string& path, const RgbImage& image);
RgbImage readPng(const std::string& path);

}  // namespace zelgen

#endif  // ZELGEN_PNG_IMAGE_H
