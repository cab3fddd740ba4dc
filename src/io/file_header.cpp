#include "io/file_header.h"

namespace zel::io {

namespace {

std::uint32_t clampToRange(int value, int lowest, int highest) {
    if (value < lowest) {
        return static_cast<std::uint32_t>(lowest);
    }
    return static_cast<std::uint32_t>(value > highest ? highest : value);
}

}  // namespace

void writeFileHeader(const ByteSection& headerPart, const HeaderPartLayout& layout,
                     const ZelGenInput& input) {
    // Host text fields are two bytes wider than their file fields: the file takes the
    // first bytes of each, byte for byte, so a full host field loses its last two.
    writeFields(headerPart, {
                                textField(0, 4, "QKDF"),
                                numberField(4, 4, kFileHeaderLength),
                                numberField(8, 1, layout.formatBytes[0]),
                                numberField(9, 1, layout.formatBytes[1]),
                                numberField(10, 1, layout.formatBytes[2]),
                                numberField(11, 1, layout.formatBytes[3]),
                                numberField(12, 4, kLookHeaderOffset),
                                numberField(16, 4, layout.length()),
                                bytesField(20, 32, input.modelName),
                                bytesField(52, 128, input.lookFileName),
                                // 180: creation time stamp, written by writeTimeStamp.
                                bytesField(188, 32, input.fileHeaderText),
                                bytesField(220, 16, input.fileHeaderTag),
                            });
}

void writeTimeStamp(const ByteSection& fileHeader, const zel::platform::LocalTime& time) {
    writeFields(fileHeader, {
                                numberField(180, 2, clampToRange(time.year, 0, 0xFFFF)),
                                numberField(182, 1, clampToRange(time.month, 1, 12)),
                                numberField(183, 1, clampToRange(time.day, 1, 31)),
                                numberField(184, 1, clampToRange(time.hour, 0, 23)),
                                numberField(185, 1, clampToRange(time.minute, 0, 59)),
                                numberField(186, 1, clampToRange(time.second, 0, 60)),
                                numberField(187, 1, 0),
                            });
}

}  // namespace zel::io
