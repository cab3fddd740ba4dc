#include "check/png_image.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>

#include "zelgen/input_file.h"
#include "zelgen/pending_file.h"

#if defined(ZELGEN_HAVE_PNG)
#include <spng.h>
#endif

namespace zelgen {

#if defined(ZELGEN_HAVE_PNG)

namespace {

// A frame larger than this is refused from its header, before any pixel is decoded: its
// float copy and the three renderings of it take 48 bytes a pixel.
constexpr std::uint32_t kLargestSide = 16384;
constexpr std::uint64_t kLargestPixelCount = 100000000;
// The largest PNG file read: a 100-megapixel 16-bit picture stored without compression
// fits; reading a longer one (a sparse file, a device) stops there.
constexpr std::uint64_t kLargestPngFile = std::uint64_t{1} << 30;
// Ancillary chunks (text, profiles) are kept in memory by the decoder; these bound them.
constexpr std::size_t kLargestChunk = std::size_t{64} << 20;
constexpr std::size_t kLargestChunkCache = std::size_t{128} << 20;
// Where each of the seven interlace passes starts in a row, and its step.
constexpr std::size_t kAdam7FirstColumn[7] = {0, 4, 0, 2, 0, 1, 0};
constexpr std::size_t kAdam7ColumnStep[7] = {8, 8, 4, 4, 2, 2, 1};

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

// The decoder's reads, served from the file; a read error is kept to be named.
struct ReadState {
    InputFile* file;
    std::string failure;
};

int readPiece(spng_ctx*, void* user, void* destination, std::size_t length) {
    auto* state = static_cast<ReadState*>(user);
    auto* bytes = static_cast<std::uint8_t*>(destination);
    try {
        while (length > 0) {
            const std::size_t count = state->file->read(bytes, length);
            if (count == 0) {
                return SPNG_IO_EOF;
            }
            bytes += count;
            length -= count;
        }
        return 0;
    } catch (const std::exception& e) {
        state->failure = e.what();
        return SPNG_IO_ERROR;
    }
}

[[noreturn]] void failReading(const std::string& path, const ReadState& state, int error) {
    if (!state.failure.empty()) {
        throw std::runtime_error(state.failure);
    }
    if (error == SPNG_IO_EOF) {
        throw std::runtime_error(path + ": the PNG file ends early");
    }
    fail(path, error);
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
    // As every output: written beside the target and renamed into place once whole.
    PendingFile file(path);
    file.write(png.get(), length);
    file.commit();
}

RgbImage readPng(const std::string& path) {
    InputFile file(path, "a PNG picture", kLargestPngFile, false);
    Context context(spng_ctx_new(0));
    if (!context) {
        throw std::runtime_error(path + ": cannot start the PNG decoder");
    }
    spng_set_image_limits(context.get(), kLargestSide, kLargestSide);
    spng_set_chunk_limits(context.get(), kLargestChunk, kLargestChunkCache);
    spng_set_crc_action(context.get(), SPNG_CRC_ERROR, SPNG_CRC_ERROR);
    // The file is read in pieces as the decoder asks, so the header is checked before the
    // pixels are read.
    ReadState state{&file, {}};
    if (int error = spng_set_png_stream(context.get(), &readPiece, &state)) {
        fail(path, error);
    }
    spng_ihdr header{};
    if (int error = spng_get_ihdr(context.get(), &header)) {
        failReading(path, state, error);
    }
    const std::uint64_t pixels = std::uint64_t{header.width} * header.height;
    if (pixels > kLargestPixelCount) {
        throw std::runtime_error(path + ": the picture has " + std::to_string(header.width) +
                                 " x " + std::to_string(header.height) +
                                 " pixels; zelgen previews " + "pictures of up to " +
                                 std::to_string(kLargestPixelCount / 1000000) + " megapixels");
    }
    std::size_t rowLength = 0;
    if (int error = spng_decoded_image_size(context.get(), SPNG_FMT_RGBA16, &rowLength)) {
        failReading(path, state, error);
    }
    rowLength /= header.height;
    if (int error = spng_decode_image(context.get(), nullptr, 0, SPNG_FMT_RGBA16,
                                      SPNG_DECODE_PROGRESSIVE)) {
        failReading(path, state, error);
    }
    RgbImage image;
    image.width = header.width;
    image.height = header.height;
    image.pixels.resize(static_cast<std::size_t>(pixels) * 3);
    // One row at a time: an interlaced picture comes in seven passes, each filling every
    // few pixels of some rows.
    std::vector<std::uint16_t> row(rowLength / 2);
    int status = 0;
    while (status == 0) {
        spng_row_info info{};
        if (int error = spng_get_row_info(context.get(), &info)) {
            failReading(path, state, error);
        }
        status = spng_decode_row(context.get(), row.data(), rowLength);
        if (status != 0 && status != SPNG_EOI) {
            failReading(path, state, status);
        }
        const bool interlaced = header.interlace_method != 0;
        const std::size_t firstColumn = interlaced ? kAdam7FirstColumn[info.pass % 7] : 0;
        const std::size_t columnStep = interlaced ? kAdam7ColumnStep[info.pass % 7] : 1;
        if (info.row_num >= header.height) {
            continue;
        }
        float* out = &image.pixels[static_cast<std::size_t>(info.row_num) * header.width * 3];
        for (std::size_t x = firstColumn; x < header.width; x += columnStep) {
            for (std::size_t c = 0; c < 3; ++c) {
                out[3 * x + c] = static_cast<float>(row[4 * x + c] / 65535.0);
            }
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
