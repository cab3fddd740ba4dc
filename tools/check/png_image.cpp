#include "check/png_image.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>

#if defined(ZELGEN_HAVE_PNG)
#include <spng.h>
#endif

namespace zelgen {

#if defined(ZELGEN_HAVE_PNG)

namespace {

// A frame larger than this is refused before it is decoded.
constexpr std::uint32_t kLargestSide = 16384;

struct ContextDeleter {
    void operator()(spng_ctx* context) const { spng_ctx_free(context); }
};
using Context = std::unique_ptr<spng_ctx, ContextDeleter>;

struct BufferDeleter {
    void operator()(void* buffer) const { std::free(buffer); }
};

[[noreturn]] void fail(const std::string& path, int error) {
    throw std::runtime_error(path + ": " + spng_strerror(error));
}

}  // namespace

bool pngSupported() {
    return true;
}

void writePng(const std::string& path, const RgbImage& image) {
    Context context(spng_ctx_new(SPNG_CTX_ENCODER));
    if (!context) {
        throw std::runtime_error(path + ": cannot start the PNG encoder");
    }
    spng_set_option(context.get(), SPNG_ENCODE_TO_BUFFER, 1);
    spng_ihdr header{};
    header.width = image.width;
    header.height = image.height;
    header.bit_depth = 8;
    header.color_type = SPNG_COLOR_TYPE_TRUECOLOR;
    if (int error = spng_set_ihdr(context.get(), &header)) {
        fail(path, error);
    }
    std::vector<std::uint8_t> bytes(image.pixels.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(
            std::lround(std::clamp(static_cast<double>(image.pixels[i]), 0.0, 1.0) * 255.0));
    }
    if (int error = spng_encode_image(context.get(), bytes.data(), bytes.size(), SPNG_FMT_PNG,
                                      SPNG_ENCODE_FINALIZE)) {
        fail(path, error);
    }
    std::size_t length = 0;
    int error = 0;
    const std::unique_ptr<void, BufferDeleter> png(
        spng_get_png_buffer(context.get(), &length, &error));
    if (!png) {
        fail(path, error);
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(png.get()), static_cast<std::streamsize>(length));
    if (!out.flush()) {
        throw std::runtime_error(path + ": cannot write the file");
    }
}

RgbImage readPng(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error(path + ": cannot open the file");
    }
    const std::vector<char> file((std::istreambuf_iterator<char>(in)),
                                 std::istreambuf_iterator<char>());
    Context context(spng_ctx_new(0));
    if (!context) {
        throw std::runtime_error(path + ": cannot start the PNG decoder");
    }
    spng_set_image_limits(context.get(), kLargestSide, kLargestSide);
    spng_set_crc_action(context.get(), SPNG_CRC_ERROR, SPNG_CRC_ERROR);
    if (int error = spng_set_png_buffer(context.get(), file.data(), file.size())) {
        fail(path, error);
    }
    spng_ihdr header{};
    if (int error = spng_get_ihdr(context.get(), &header)) {
        fail(path, error);
    }
    std::size_t size = 0;
    if (int error = spng_decoded_image_size(context.get(), SPNG_FMT_RGBA16, &size)) {
        fail(path, error);
    }
    std::vector<std::uint16_t> rgba(size / 2);
    if (int error = spng_decode_image(context.get(), rgba.data(), size, SPNG_FMT_RGBA16, 0)) {
        fail(path, error);
    }
    RgbImage image;
    image.width = header.width;
    image.height = header.height;
    const std::size_t pixels = static_cast<std::size_t>(header.width) * header.height;
    image.pixels.resize(pixels * 3);
    for (std::size_t p = 0; p < pixels && 4 * p + 2 < rgba.size(); ++p) {
        for (std::size_t c = 0; c < 3; ++c) {
            image.pixels[3 * p + c] = static_cast<float>(rgba[4 * p + c] / 65535.0);
        }
    }
    return image;
}

#else

bool pngSupported() {
    return false;
}

void writePng(const std::string& path, const RgbImage&) {
    throw std::runtime_error(path + ": this zelgen was built without PNG support (libspng)");
}

RgbImage readPng(const std::string& path) {
    throw std::runtime_error(path + ": this zelgen was built without PNG support (libspng)");
}

#endif

}  // namespace zelgen
