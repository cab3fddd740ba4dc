#include "regmaps/lut_images.h"

#include <algorithm>
#include <cmath>

#include "color/transfer_curves.h"

namespace zel::regmaps {

namespace {

// The LUT memories see linear light as a camera code: black at 512, 4960 codes per unit
// of the library's linear scale.
constexpr double kLinearBlack = 512.0;
constexpr double kLinearCodesPerUnit = 4960.0;
// Output codes: first-generation log words span 0 to 8191; second-generation words add
// the 512 pedestal and stop at 8704.
constexpr double kFirstLogScale = 8191.0;
constexpr double kSecondScale = 8192.0;
constexpr double kPedestal = 512.0;
constexpr std::int64_t kSecondCeiling = 8704;
constexpr std::int64_t kWordCeiling = 65535;
// Below linear black the first-generation ACEScct memory does not follow the curve's own
// linear segment (which would reach zero only near position 441) but ramps linearly from
// zero at this position up to the ACEScct black code at position 512, so the codes just
// below black keep a usable slope on that camera's coarser 16-position steps.
constexpr double kAcesCctToeStart = 336.0;

double linearAt(double position) {
    return (position - kLinearBlack) / kLinearCodesPerUnit;
}

// Round half up, then clamp to [0, ceiling].
std::uint16_t toWord(double value, std::int64_t ceiling) {
    if (!(value > 0.0)) {
        return 0;
    }
    const double rounded = std::trunc(value + 0.5);
    if (rounded >= static_cast<double>(ceiling)) {
        return static_cast<std::uint16_t>(ceiling);
    }
    return static_cast<std::uint16_t>(rounded);
}

// The highest log code a first-generation log memory holds: the code of the brightest
// linear input, at position 65535.
double logCodeMax() {
    return std::trunc(kFirstLogScale * encodeQEnc3(linearAt(65535.0)) + 0.5);
}

std::uint16_t logWord(double position, std::int32_t generation) {
    if (generation == 2) {
        // The pedestal is added after rounding, so the words below black are exactly 512.
        const std::uint16_t code =
            toWord(kSecondScale * encodeQEnc3(linearAt(position)), kWordCeiling);
        return static_cast<std::uint16_t>(
            std::min<std::int64_t>(kSecondCeiling, static_cast<std::int64_t>(kPedestal) + code));
    }
    return toWord(kFirstLogScale * encodeQEnc3(linearAt(position)), kWordCeiling);
}

// ACEScc and ACEScct memories of both generations carry the 512 pedestal; the code is
// rounded with the pedestal added, so codes below black round toward their true value.
std::uint16_t acesWord(double encoded, std::int32_t generation) {
    return toWord(kPedestal + kSecondScale * encoded,
                  generation == 2 ? kSecondCeiling : kWordCeiling);
}

std::uint16_t acesCctWord(double position, std::int32_t generation) {
    if (generation != 2 && position < kLinearBlack) {
        const double black = kPedestal + kSecondScale * encodeAcesCct(0.0);
        return toWord(black * (position - kAcesCctToeStart) / (kLinearBlack - kAcesCctToeStart),
                      kWordCeiling);
    }
    return acesWord(encodeAcesCct(linearAt(position)), generation);
}

// The image 0183 takes the camera's log code (scaled by 8191) back to the linear camera
// code of the log memory's input. Codes above the log memory's highest code never occur;
// their words hold the black word, as do the words past the last position.
std::uint16_t logDecodeWord(double position) {
    return toWord(kLinearBlack + kLinearCodesPerUnit * decodeQEnc3(position / kFirstLogScale),
                  kWordCeiling);
}

}  // namespace

const LutImage kLutImageLogFirst{
    "LUT image log, first generation", LutCurve::Log, 0, &kLutControl0100Log, 0x0100, 0x9000, 512};
const LutImage kLutImageAcesCcFirst{"LUT image ACEScc, first generation",
                                    LutCurve::AcesCc,
                                    0,
                                    &kLutControl0100AcesCc,
                                    0x0100,
                                    0x9000,
                                    512};
const LutImage kLutImageAcesCctFirst{"LUT image ACEScct, first generation",
                                     LutCurve::AcesCct,
                                     0,
                                     &kLutControl0100AcesCct,
                                     0x0100,
                                     0x9000,
                                     512};
const LutImage kLutImageLogSecond{"LUT image log, second generation",
                                  LutCurve::Log,
                                  2,
                                  &kLutControl0100Second,
                                  0x0100,
                                  0x8000,
                                  1024};
const LutImage kLutImageAcesCcSecond{"LUT image ACEScc, second generation",
                                     LutCurve::AcesCc,
                                     2,
                                     &kLutControl0100Second,
                                     0x0100,
                                     0x8000,
                                     1024};
const LutImage kLutImageAcesCctSecond{"LUT image ACEScct, second generation",
                                      LutCurve::AcesCct,
                                      2,
                                      &kLutControl0100Second,
                                      0x0100,
                                      0x8000,
                                      1024};
const LutImage kLutImage0183{
    "LUT image 0183", LutCurve::LogDecode, 0, &kLutControl0180, 0x0180, 0x9400, 512};

LutSegmentTable segmentTableOf(const RegisterPage& control, std::int32_t generation,
                               std::uint16_t controlBase) {
    LutSegmentTable table{};
    const bool wide = generation == 2;
    const std::uint32_t boundaryBase = controlBase + (wide ? 0x50u : 0x2Cu);
    const std::uint32_t boundaryWidth = wide ? 4u : 2u;
    for (std::uint32_t i = 0; i < 9; ++i) {
        std::uint32_t boundary = 0;
        for (std::uint32_t byte = 0; byte < boundaryWidth; ++byte) {
            const auto address =
                static_cast<std::uint16_t>(boundaryBase + i * boundaryWidth + byte);
            boundary |= static_cast<std::uint32_t>(pageValue(control, address)) << (8 * byte);
        }
        table.boundaries[i] = boundary;
    }
    for (std::uint32_t i = 0; i < 8; ++i) {
        table.exponents[i] =
            pageValue(control, static_cast<std::uint16_t>(controlBase + 0x3Eu + i));
    }
    return table;
}

std::vector<std::uint16_t> lutImageWords(const LutImage& image) {
    const std::vector<std::uint32_t> positions =
        lutSamplePositions(segmentTableOf(*image.control, image.generation, image.controlBase));
    std::vector<std::uint16_t> words(image.wordCount, 0);
    const std::size_t count = std::min(positions.size(), words.size());
    const double codeMax = image.curve == LutCurve::LogDecode ? logCodeMax() : 0.0;
    for (std::size_t i = 0; i < count; ++i) {
        const auto position = static_cast<double>(positions[i]);
        switch (image.curve) {
            case LutCurve::Log:
                words[i] = logWord(position, image.generation);
                break;
            case LutCurve::AcesCc:
                words[i] = acesWord(encodeAcesCc(linearAt(position)), image.generation);
                break;
            case LutCurve::AcesCct:
                words[i] = acesCctWord(position, image.generation);
                break;
            case LutCurve::LogDecode:
                words[i] = position > codeMax ? logDecodeWord(0.0) : logDecodeWord(position);
                break;
        }
    }
    if (image.curve == LutCurve::LogDecode) {
        std::fill(words.begin() + static_cast<std::ptrdiff_t>(count), words.end(),
                  logDecodeWord(0.0));
    }
    return words;
}

std::size_t loadLutImage(const LutImage& image, RegisterList& list) {
    const std::vector<std::uint16_t> words = lutImageWords(image);
    list.resize(3 + 2 * words.size() + 2);
    const std::uint32_t base = image.controlBase;
    // Head: stop the memory (03 = 00), open it for writing (09 = 01), select all channels
    // (0F = 03); tail: close it and enable the three channels again (03 = 70).
    list[0].setAddressNumber(base + 0x03);
    list[0].setValueNumber(0x00);
    list[1].setAddressNumber(base + 0x09);
    list[1].setValueNumber(0x01);
    list[2].setAddressNumber(base + 0x0F);
    list[2].setValueNumber(0x03);
    for (std::size_t i = 0; i < words.size(); ++i) {
        RegisterEntry& low = list[3 + 2 * i];
        RegisterEntry& high = list[4 + 2 * i];
        low.setAddressNumber(image.window + static_cast<std::uint32_t>(2 * i));
        low.setValueNumber(words[i] & 0xFFu);
        high.setAddressNumber(image.window + static_cast<std::uint32_t>(2 * i + 1));
        high.setValueNumber(static_cast<std::uint32_t>(words[i]) >> 8);
    }
    const std::size_t tail = 3 + 2 * words.size();
    list[tail].setAddressNumber(base + 0x09);
    list[tail].setValueNumber(0x00);
    list[tail + 1].setAddressNumber(base + 0x03);
    list[tail + 1].setValueNumber(0x70);
    return list.size();
}

}  // namespace zel::regmaps
