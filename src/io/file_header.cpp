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
    using namespace file_header;
    writeFields(headerPart, {
                                textField(kMagicField, kMagic),
                                numberField(kOwnLength, kFileHeaderLength),
                                bytesField(kFormatBytes, layout.formatBytes.data(), 4),
                                numberField(kLookHeaderAt, kLookHeaderOffset),
                                numberField(kHeaderPartLength, layout.length()),
                                bytesField(kModelName, input.modelName),
                                bytesField(kLookFileName, input.lookFileName),
                                // kCreated: the creation time stamp, written by writeTimeStamp.
                                bytesField(kText, input.fileHeaderText),
                                bytesField(kTag, input.fileHeaderTag),
                            });
}

void writeTimeStamp(const ByteSection& fileHeader, const zel::platform::LocalTime& time) {
    using namespace file_header;
    writeFields(fileHeader, {
                                numberField(kCreatedYear, clampToRange(time.year, 0, 0xFFFF)),
                                numberField(kCreatedMonth, clampToRange(time.month, 1, 12)),
                                numberField(kCreatedDay, clampToRange(time.day, 1, 31)),
                                numberField(kCreatedHour, clampToRange(time.hour, 0, 23)),
                                numberField(kCreatedMinute, clampToRange(time.minute, 0, 59)),
                                numberField(kCreatedSecond, clampToRange(time.second, 0, 60)),
                                numberField(kCreatedEnd, 0),
                            });
}

}  // namespace zel::io
