#include "io/look_header.h"

#include <iterator>

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

    using namespace look_header;
    writeFields(headerPart.sub(kLookHeaderOffset, kLookHeaderLength),
                {
                    textField(kMagicField, kMagic),
                    numberField(kOwnLength, kLookHeaderLength),
                    numberField(kOutputClass, output.classCharacter),
                    numberField(kOutputCurve, output.curveCharacter),
                    numberField(kRangeCode, rangeCodeFor(input.outputRange)),
                    numberField(kPeak, output.peakValue),
                    numberField(kLengthAgain, kLookHeaderLength),
                    textField(kEncodingName, output.encodingName),
                    textField(kRangeName, rangeNameFor(input.outputRange, fullRangeName)),
                    bytesField(kLookName, lookName),
                    textField(kVersion, "1.0"),
                    bytesField(kText, input.lookHeaderText),
                    bytesField(kNote, input.lookHeaderNote),
                    bytesField(kSourceTag, sourceTag.data(), sourceTag.size()),
                    numberField(kGridSize, input.gridSize),
                    numberField(kReserved, 0),
                });
}

int outputCurveOf(std::uint8_t curveCharacter) {
    for (std::size_t curve = 0; curve < std::size(kOutputDescriptions); ++curve) {
        if (kOutputDescriptions[curve].curveCharacter == curveCharacter) {
            return static_cast<int>(curve);
        }
    }
    return -1;
}

}  // namespace zel::io
