#include "io/metadata_catalogue.h"

#include <cstddef>
#include <iterator>
#include <stdexcept>

namespace zel::io {

namespace {

// Indexed by LabelName.
const NamedLabel kLabels[] = {
    // Transfer curves.
    {{0x06, 0x0E, 0x2B, 0x34, 0x04, 0x01, 0x01, 0x01, 0x04, 0x01, 0x01, 0x01, 0x01, 0x02, 0x00,
      0x00},
     "rec709"},
    {{0x06, 0x0E, 0x2B, 0x34, 0x04, 0x01, 0x01, 0x0D, 0x04, 0x01, 0x01, 0x01, 0x01, 0x0A, 0x00,
      0x00},
     "smpte2084"},
    {{0x06, 0x0E, 0x2B, 0x34, 0x04, 0x01, 0x01, 0x0D, 0x04, 0x01, 0x01, 0x01, 0x01, 0x0B, 0x00,
      0x00},
     "rec2100-hlg"},
    {{0x06, 0x0E, 0x2B, 0x34, 0x04, 0x01, 0x01, 0x06, 0x04, 0x01, 0x01, 0x01, 0x01, 0x06, 0x00,
      0x00},
     "scene-linear"},
    {{0x06, 0x0E, 0x2B, 0x34, 0x04, 0x01, 0x01, 0x06, 0x0E, 0x06, 0x04, 0x01, 0x01, 0x01, 0x06,
      0x04},
     "q-enc3"},
    {{0x06, 0x0E, 0x2B, 0x34, 0x04, 0x01, 0x01, 0x06, 0x0E, 0x06, 0x04, 0x01, 0x01, 0x01, 0x06,
      0x05},
     "q-enc3-film"},
    // Loaders know the ACEScc transfer by its proxy name.
    {{0x06, 0x0E, 0x2B, 0x34, 0x04, 0x01, 0x01, 0x06, 0x0E, 0x06, 0x04, 0x01, 0x01, 0x01, 0x05,
      0x09},
     "aces-proxy"},
    // The trailing space is part of the identifier loaders match.
    {{0x06, 0x0E, 0x2B, 0x34, 0x04, 0x01, 0x01, 0x06, 0x0E, 0x06, 0x04, 0x01, 0x01, 0x01, 0x07,
      0x06},
     "aces-cct "},
    // Primaries.
    {{0x06, 0x0E, 0x2B, 0x34, 0x04, 0x01, 0x01, 0x06, 0x04, 0x01, 0x01, 0x01, 0x03, 0x03, 0x00,
      0x00},
     "rec709"},
    {{0x06, 0x0E, 0x2B, 0x34, 0x04, 0x01, 0x01, 0x0D, 0x04, 0x01, 0x01, 0x01, 0x03, 0x04, 0x00,
      0x00},
     "rec2020"},
    {{0x06, 0x0E, 0x2B, 0x34, 0x04, 0x01, 0x01, 0x06, 0x0E, 0x06, 0x04, 0x01, 0x01, 0x03, 0x01,
      0x04},
     "q-prims3"},
    {{0x06, 0x0E, 0x2B, 0x34, 0x04, 0x01, 0x01, 0x06, 0x0E, 0x06, 0x04, 0x01, 0x01, 0x03, 0x01,
      0x05},
     "q-prims3-film"},
    {{0x06, 0x0E, 0x2B, 0x34, 0x04, 0x01, 0x01, 0x06, 0x0E, 0x06, 0x04, 0x01, 0x01, 0x03, 0x03,
      0x02},
     "aces-ap1"},
    // Codings.
    {{0x06, 0x0E, 0x2B, 0x34, 0x04, 0x01, 0x01, 0x01, 0x04, 0x01, 0x01, 0x01, 0x02, 0x02, 0x00,
      0x00},
     "rec709"},
    {{0x06, 0x0E, 0x2B, 0x34, 0x04, 0x01, 0x01, 0x0D, 0x04, 0x01, 0x01, 0x01, 0x02, 0x06, 0x00,
      0x00},
     "rec2020ncl"},
};

static_assert(sizeof kLabels / sizeof kLabels[0] ==
                  static_cast<std::size_t>(LabelName::CodingRec2020) + 1,
              "one catalogue entry per label name");

const NamedLabel* label(LabelName name) {
    return &kLabels[static_cast<std::size_t>(name)];
}

// Indexed by output curve.
const OutputEncoding kOutputEncodings[] = {
    {label(LabelName::TransferRec709),
     label(LabelName::PrimariesRec709),
     label(LabelName::CodingRec709),
     1,
     1,
     1,
     {0x05, 0x01}},
    {label(LabelName::TransferPq),
     label(LabelName::PrimariesRec2020),
     label(LabelName::CodingRec2020),
     9,
     16,
     9,
     {0x0A, 0x02}},
    {label(LabelName::TransferHlg),
     label(LabelName::PrimariesRec2020),
     label(LabelName::CodingRec2020),
     9,
     18,
     9,
     {0x0B, 0x02}},
};

// Indexed by class.
const ClassEncoding kClassEncodings[] = {
    {label(LabelName::TransferQEnc3), label(LabelName::PrimariesQPrims3), 2, {1, 2, 2, 2, 2, 2, 1}},
    {label(LabelName::TransferQEnc3Film),
     label(LabelName::PrimariesQPrims3Film),
     2,
     {1, 2, 2, 2, 2, 2, 1}},
    {label(LabelName::TransferAcesCct),
     label(LabelName::PrimariesAcesAp1),
     5,
     {0, 2, 2, 2, 2, 2, 1}},
};

const SourceEncoding kQEnc3Source{
    label(LabelName::TransferQEnc3), label(LabelName::PrimariesQPrims3), {0x07, 0x04}};
const SourceEncoding kQEnc3FilmSource{
    label(LabelName::TransferQEnc3Film), label(LabelName::PrimariesQPrims3Film), {0x08, 0x05}};
const SourceEncoding kAcesCcSource{
    label(LabelName::TransferAcesCc), label(LabelName::PrimariesAcesAp1), {0x06, 0x08}};
const SourceEncoding kAcesCctSource{
    label(LabelName::TransferAcesCct), label(LabelName::PrimariesAcesAp1), {0x06, 0x08}};

// Indexed by source encoding.
const TwoByteCode kSourceTags[] = {{'4', 'T'}, {'5', 'T'}, {0x12, 'Y'}, {0x12, 'f'}};
const char* const kSourceCodeTexts[] = {"ZEL:QE3QP3;", "ZEL:QE3QP3F;", "ZEL:ACEScc;",
                                        "ZEL:ACEScct;"};

// The source encoding each class records in, for the class tag.
const std::uint8_t kClassSourceEncodings[] = {0, 1, 3};

}  // namespace

const NamedLabel& catalogueLabel(LabelName name) {
    return *label(name);
}

const OutputEncoding* outputEncodingFor(std::uint8_t outputCurve) {
    return outputCurve < 3 ? &kOutputEncodings[outputCurve] : nullptr;
}

const SourceEncoding* sourceEncodingFor(std::uint8_t sourceEncoding, int blockClass) {
    switch (sourceEncoding) {
        case 0:
        case 1:
            // A Q-Enc3 look is described in each class's own encoding; the ACEScct class
            // describes it in ACEScct.
            if (blockClass == 0) {
                return &kQEnc3Source;
            }
            return blockClass == 1 ? &kQEnc3FilmSource : &kAcesCctSource;
        case 2:
            return &kAcesCcSource;
        case 3:
            return &kAcesCctSource;
        default:
            return nullptr;
    }
}

const ClassEncoding& classEncoding(int blockClass) {
    if (blockClass < 0 || blockClass > 2) {
        throw std::out_of_range("metadata class outside 0 to 2");
    }
    return kClassEncodings[static_cast<std::size_t>(blockClass)];
}

TwoByteCode sourceTagFor(std::uint8_t sourceEncoding) {
    return sourceEncoding < 4 ? kSourceTags[sourceEncoding] : TwoByteCode{};
}

int sourceEncodingOf(const TwoByteCode& tag) {
    for (std::uint8_t encoding = 0; encoding < std::size(kSourceTags); ++encoding) {
        if (kSourceTags[encoding] == tag) {
            return encoding;
        }
    }
    return -1;
}

TwoByteCode classTag(int blockClass) {
    if (blockClass < 0 || blockClass > 2) {
        throw std::out_of_range("metadata class outside 0 to 2");
    }
    return sourceTagFor(kClassSourceEncodings[static_cast<std::size_t>(blockClass)]);
}

const char* sourceCodeTextFor(std::uint8_t sourceEncoding) {
    return sourceEncoding < 4 ? kSourceCodeTexts[sourceEncoding] : nullptr;
}

std::uint8_t rangeCodeFor(std::uint8_t outputRange) {
    if (outputRange == 0) {
        return 2;
    }
    return outputRange == 1 ? 6 : 0;
}

int outputRangeOf(std::uint8_t rangeCode) {
    for (std::uint8_t range = 0; range < 2; ++range) {
        if (rangeCode == rangeCodeFor(range)) {
            return range;
        }
    }
    return -1;
}

}  // namespace zel::io
