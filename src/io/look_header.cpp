#include "io/look_header.h"

#include "io/cube_header.h"
#include "io/header_part_layout.h"
#include "io/metadata_catalogue.h"

namespace zel::io {

namespace {

// How the look header names the output curve.
struct OutputDescription {
    std::uint8_t classCharacter;
    std::uint8_t curveCharacter;
    std::uint16_t peakValue;
    const char* encodingName;
};

// Indexed by output curve; any other curve leaves the fields zero.
const OutputDescription kOutputDescriptions[] = {
    {'1', '5', 100, "Rec.709"},
    {'2', 'W', 4000, "Rec.2100(PQ)"},
    {'2', 'X', 1200, "Rec.2100(HLG)"},
};

const char* rangeNameFor(std::uint8_t outputRange, const char* fullRangeName) {
    if (outputRange == 0) {
        return fullRangeName;
    }
    return outputRange == 1 ? "Legal" : nullptr;
}

}  // namespace

void writeLookHeader(const ByteSection& headerPart, const ZelGenInput& input,
                     const char* fullRangeName) {
    OutputDescription output{0, 0, 0, nullptr};
    if (input.outputCurve < 3) {
        output = kOutputDescriptions[input.outputCurve];
    }
    std::uint8_t lookName[kLookNameLength]{};
    deriveLookName(input.lookFileName, lookName);
    const TwoByteCode sourceTag = sourceTagFor(input.sourceEncoding);

    // Offsets are file offsets.
    writeFields(headerPart, {
                                textField(256, 4, "LOOK"),
                                numberField(260, 4, kLookHeaderLength),
                                numberField(264, 1, output.classCharacter),
                                numberField(265, 1, output.curveCharacter),
                                numberField(266, 1, rangeCodeFor(input.outputRange)),
                                numberField(270, 2, output.peakValue),
                                numberField(272, 4, kLookHeaderLength),
                                textField(340, 32, output.encodingName),
                                textField(372, 16, rangeNameFor(input.outputRange, fullRangeName)),
                                bytesField(kLookNameOffset, kLookNameLength, lookName),
                                textField(452, 4, "1.0"),
                                bytesField(460, 512, input.lookHeaderText),
                                bytesField(972, 128, input.lookHeaderNote),
                                numberField(1100, 1, sourceTag[0]),
                                numberField(1101, 1, sourceTag[1]),
                                numberField(1102, 1, input.gridSize),
                                numberField(1112, 4, 0),
                            });
}

}  // namespace zel::io
