#include "io/cube_header.h"

#include <cstddef>
#include <cstring>

namespace zel::io {

namespace {

constexpr std::size_t kLookNameWidth = kLookNameLength;
constexpr std::size_t kLookNameLimit = 60;  // a name without the extension keeps this many
constexpr char kExtension[] = ".zel";
constexpr std::size_t kExtensionLength = sizeof kExtension - 1;

// The title's source prefix by source encoding; other encodings have none.
constexpr const char* kSourcePrefixes[] = {
    "Q-Enc3/Q-Prims3 to ",
    "Q-Enc3/Q-Prims3.Film to ",
    "ACEScc to ",
    "ACEScct to ",
};

// Appends to a fixed text field, always leaving room for the terminator.
class FieldWriter {
  public:
    FieldWriter(char* field, std::size_t width) : field_(field), width_(width) {
        std::memset(field_, 0, width_);
    }

    // Appends `text` up to its first NUL and at most `limit` bytes.
    void append(const char* text, std::size_t limit) {
        for (std::size_t i = 0; i < limit && text[i] != '\0' && used_ + 1 < width_; ++i) {
            field_[used_++] = text[i];
        }
    }
    void append(const char* text) { append(text, std::strlen(text)); }

    void appendDecimal(unsigned value) {
        char digits[12];
        std::size_t count = 0;
        do {
            digits[count++] = static_cast<char>('0' + value % 10);
            value /= 10;
        } while (value != 0);
        while (count > 0 && used_ + 1 < width_) {
            field_[used_++] = digits[--count];
        }
    }

  private:
    char* field_;
    std::size_t width_;
    std::size_t used_ = 0;
};

}  // namespace

void deriveLookName(const char (&lookFileName)[128], std::uint8_t (&lookName)[kLookNameLength]) {
    std::memcpy(lookName, lookFileName, kLookNameWidth);
    // The last ".zel" lying wholly inside the 64 bytes ends the name.
    for (std::size_t p = kLookNameWidth - kExtensionLength + 1; p-- > 0;) {
        if (std::memcmp(lookName + p, kExtension, kExtensionLength) == 0) {
            std::memset(lookName + p, 0, kExtensionLength);
            return;
        }
    }
    std::memset(lookName + kLookNameLimit, 0, kLookNameWidth - kLookNameLimit);
}

void writeCubeHeader(char (&cubeHeader)[514], const char (&lookFileName)[128],
                     std::uint8_t sourceEncoding, const std::uint8_t (&lookName)[kLookNameLength],
                     std::uint8_t gridSize) {
    FieldWriter text(cubeHeader, sizeof cubeHeader);
    text.append("# ZEL: ");
    text.append(lookFileName, sizeof lookFileName);
    text.append("\r\n");

    text.append("TITLE ");
    if (sourceEncoding < sizeof kSourcePrefixes / sizeof kSourcePrefixes[0]) {
        text.append(kSourcePrefixes[sourceEncoding]);
    }
    text.append(reinterpret_cast<const char*>(lookName), sizeof lookName);
    text.append("\r\n");

    text.append("LUT_3D_SIZE ");
    text.appendDecimal(gridSize);
    text.append("\r\n");
}

}  // namespace zel::io
