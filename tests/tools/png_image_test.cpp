// zelgen's PNG reading: the header is checked before any pixel is read, and a picture comes
// back the same whether it was stored interlaced or not.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "check/png_image.h"

#if __has_include(<spng.h>)
#include <spng.h>
#define ZELTEST_HAVE_SPNG 1
#endif

namespace {

namespace fs = std::filesystem;

fs::path folder() {
    const auto* test = testing::UnitTest::GetInstance()->current_test_info();
    const fs::path dir = fs::path(testing::TempDir()) / (std::string("zel_png_") + test->name());
    fs::create_directories(dir);
    return dir;
}

void writeBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

std::uint32_t crc32(const std::uint8_t* bytes, std::size_t length) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < length; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

void putBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

// A PNG signature and a sound header for a width x height 8-bit RGB picture, then no more.
std::vector<std::uint8_t> headerOnly(std::uint32_t width, std::uint32_t height) {
    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    putBigEndian(png, 13);
    const std::size_t chunk = png.size();
    for (const char c : std::string("IHDR")) {
        png.push_back(static_cast<std::uint8_t>(c));
    }
    putBigEndian(png, width);
    putBigEndian(png, height);
    for (const std::uint8_t b : {8, 2, 0, 0, 0}) {  // depth, RGB, deflate, filter, no interlace
        png.push_back(b);
    }
    putBigEndian(png, crc32(png.data() + chunk, png.size() - chunk));
    return png;
}

}  // namespace

TEST(PngImage, APictureBeyondTheBoundIsRefusedFromItsHeader) {
    if (!zelgen::pngSupported()) {
        GTEST_SKIP() << "built without PNG support";
    }
    const fs::path file = folder() / "huge.png";
    writeBytes(file, headerOnly(12000, 12000));
    try {
        zelgen::readPng(file.string());
        FAIL() << "a 144-megapixel picture was read";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("12000 x 12000 pixels; zelgen previews pictures of "
                                             "up to 100 megapixels"),
                  std::string::npos)
            << e.what();
    }
    writeBytes(file, headerOnly(20, 20));
    EXPECT_THROW(zelgen::readPng(file.string()), std::runtime_error) << "no pixel data";
}

#if defined(ZELTEST_HAVE_SPNG)
TEST(PngImage, InterlacedAndPlainPicturesReadAlike) {
    if (!zelgen::pngSupported()) {
        GTEST_SKIP() << "built without PNG support";
    }
    const std::uint32_t width = 13;
    const std::uint32_t height = 11;
    std::vector<std::uint8_t> rgb(width * height * 3);
    for (std::size_t i = 0; i < rgb.size(); ++i) {
        rgb[i] = static_cast<std::uint8_t>(i * 37 % 251);
    }
    const fs::path dir = folder();
    for (const std::uint8_t interlace : {0, 1}) {
        const std::unique_ptr<spng_ctx, void (*)(spng_ctx*)> context(spng_ctx_new(SPNG_CTX_ENCODER),
                                                                     spng_ctx_free);
        spng_set_option(context.get(), SPNG_ENCODE_TO_BUFFER, 1);
        spng_ihdr header{};
        header.width = width;
        header.height = height;
        header.bit_depth = 8;
        header.color_type = SPNG_COLOR_TYPE_TRUECOLOR;
        header.interlace_method = interlace;
        ASSERT_EQ(spng_set_ihdr(context.get(), &header), 0);
        ASSERT_EQ(spng_encode_image(context.get(), rgb.data(), rgb.size(), SPNG_FMT_PNG,
                                    SPNG_ENCODE_FINALIZE),
                  0);
        std::size_t length = 0;
        int error = 0;
        const std::unique_ptr<void, void (*)(void*)> png(
            spng_get_png_buffer(context.get(), &length, &error), std::free);
        ASSERT_TRUE(png) << error;
        const auto* bytes = static_cast<const std::uint8_t*>(png.get());
        const fs::path file = dir / ("picture" + std::to_string(interlace) + ".png");
        writeBytes(file, std::vector<std::uint8_t>(bytes, bytes + length));

        const zelgen::RgbImage image = zelgen::readPng(file.string());
        ASSERT_EQ(image.width, width);
        ASSERT_EQ(image.height, height);
        for (std::size_t i = 0; i < rgb.size(); ++i) {
            ASSERT_FLOAT_EQ(image.pixels[i], static_cast<float>(rgb[i] / 255.0))
                << "interlace " << int(interlace) << ", value " << i;
        }
    }
}
#endif
