#ifndef ZEL_IO_METADATA_CATALOGUE_H
#define ZEL_IO_METADATA_CATALOGUE_H

// The vocabulary of the look metadata: the 16-byte universal labels of the transfer
// curves, primaries and codings a loader recognises, each paired with its short text
// identifier, and the per-selector codes built from them. Both metadata block layouts
// (standard and extended) and the look header read them from here.

#include <array>
#include <cstdint>

namespace zel::io {

using UniversalLabel = std::array<std::uint8_t, 16>;
using TwoByteCode = std::array<std::uint8_t, 2>;
using CodeGroup = std::array<std::uint8_t, 7>;

// Width of the fields that hold a text identifier.
constexpr std::size_t kTextIdentifierWidth = 24;

// A universal label and the text identifier a loader matches it by.
struct NamedLabel {
    UniversalLabel label;
    const char* text;
};

enum class LabelName {
    TransferRec709,
    TransferPq,
    TransferHlg,
    TransferLinear,
    TransferQEnc3,
    TransferQEnc3Film,
    TransferAcesCc,
    TransferAcesCct,
    PrimariesRec709,
    PrimariesRec2020,
    PrimariesQPrims3,
    PrimariesQPrims3Film,
    PrimariesAcesAp1,
    CodingRec709,
    CodingRec2020,
};

const NamedLabel& catalogueLabel(LabelName name);

// Written where a LUT-name slot has no name.
constexpr const char* kNoLutName = "none";

// The encoding the camera delivers, by output curve.
struct OutputEncoding {
    const NamedLabel* transfer;
    const NamedLabel* primaries;
    const NamedLabel* coding;
    std::uint8_t codePointPrimaries;  // H.273 colour primaries
    std::uint8_t codePointTransfer;   // H.273 transfer characteristics
    std::uint8_t codePointMatrix;     // H.273 matrix coefficients
    TwoByteCode kindCode;             // kind code of the index-2 blocks
};

// Null for an output curve other than Rec.709, PQ and HLG.
const OutputEncoding* outputEncodingFor(std::uint8_t outputCurve);

// The encoding the look's source is in, as a block of a class describes it.
struct SourceEncoding {
    const NamedLabel* transfer;
    const NamedLabel* primaries;
    TwoByteCode kindCode;  // kind code of the index-0 and index-1 blocks
};

// Null for a source encoding other than 0 to 3. `blockClass` is 0, 1 or 2.
const SourceEncoding* sourceEncodingFor(std::uint8_t sourceEncoding, int blockClass);

// The working encoding of a block class: what the camera records in.
struct ClassEncoding {
    const NamedLabel* transfer;
    const NamedLabel* primaries;
    std::uint8_t classNumber;
    CodeGroup workingCodeGroup;
};

// `blockClass` is 0 (Q-Enc3 / Q-Prims3), 1 (Q-Enc3 film / Q-Prims3.Film) or 2 (ACEScct).
const ClassEncoding& classEncoding(int blockClass);

// The two source code bytes of the look header, which also tag the metadata classes:
// "4T", "5T", 0x12 'Y' (ACEScc), 0x12 'f' (ACEScct); zero for any other source encoding.
TwoByteCode sourceTagFor(std::uint8_t sourceEncoding);

// The source encoding a source tag names (sourceTagFor's inverse); -1 for any other tag.
int sourceEncodingOf(const TwoByteCode& tag);

// The tag of a metadata class: the source tag of the encoding the class records in.
TwoByteCode classTag(int blockClass);

// The short source code text that opens an extended description ("ZEL:QE3QP3;" and so on);
// null for a source encoding other than 0 to 3.
const char* sourceCodeTextFor(std::uint8_t sourceEncoding);

// Range code of the look header and the metadata: 2 full, 6 legal, 0 otherwise.
std::uint8_t rangeCodeFor(std::uint8_t outputRange);

// The output range a range code names (rangeCodeFor's inverse): 0 full, 1 legal, -1 for any
// other code.
int outputRangeOf(std::uint8_t rangeCode);

}  // namespace zel::io

#endif  // ZEL_IO_METADATA_CATALOGUE_H
