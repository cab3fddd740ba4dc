#include "io/metadata_blocks.h"

#include <cstring>

#include "io/metadata_catalogue.h"

namespace zel::io {

namespace {

// Everything one block says, resolved from its class and index and the job's selectors.
// A null member is a field the block leaves zero.
struct BlockContent {
    int blockClass = 0;
    int index = 0;
    const SourceEncoding* source = nullptr;  // null for an unknown source encoding
    const OutputEncoding* output = nullptr;  // null for an unknown output curve
    const TwoByteCode* kindCode = nullptr;
    const MetadataText* slotA = nullptr;
    const MetadataText* slotB = nullptr;
    const MetadataText* description = nullptr;
    const MetadataText* classLutName = nullptr;
    std::uint8_t rangeCode = 0;
    std::uint8_t fullRangeFlag = 0;
};

MetadataText noneText() {
    MetadataText text{};
    std::memcpy(text.data(), kNoLutName, std::strlen(kNoLutName));
    return text;
}

// The LUT name a class carries: a Q-Enc3 look names its first LUT in its own class and
// the second in the other Q-Enc3 class; ACES looks and the ACEScct class use the first.
const MetadataText* classLutNameFor(const MetadataTexts& texts, std::uint8_t sourceEncoding,
                                    int blockClass) {
    if (sourceEncoding > 3) {
        return nullptr;
    }
    if (sourceEncoding >= 2 || blockClass == 2) {
        return &texts.firstLutName;
    }
    const bool ownClass = (sourceEncoding == 0) == (blockClass == 0);
    return ownClass ? &texts.firstLutName : &texts.secondLutName;
}

BlockContent resolveBlock(int block, const ZelGenInput& input, const MetadataTexts& texts,
                          const MetadataText& none) {
    BlockContent content;
    content.blockClass = block / 3;
    content.index = block % 3;
    content.source = sourceEncodingFor(input.sourceEncoding, content.blockClass);
    content.output = outputEncodingFor(input.outputCurve);
    content.fullRangeFlag = input.outputRange == 0 ? 1 : 0;
    content.rangeCode = rangeCodeFor(input.outputRange);
    if (content.index == 2) {
        content.kindCode = content.output != nullptr ? &content.output->kindCode : nullptr;
    } else {
        content.kindCode = content.source != nullptr ? &content.source->kindCode : nullptr;
    }
    if (content.source != nullptr) {
        content.classLutName = classLutNameFor(texts, input.sourceEncoding, content.blockClass);
        // Index-0 and index-1 blocks carry the class name in slot B, the index-2 block in
        // slot A; the other slot reads "none".
        content.slotA = content.index == 2 ? content.classLutName : &none;
        content.slotB = content.index == 2 ? &none : content.classLutName;
        content.description = &texts.description;
    }
    return content;
}

const UniversalLabel* labelOf(const NamedLabel* label) {
    return label != nullptr ? &label->label : nullptr;
}

const char* textOf(const NamedLabel* label) {
    return label != nullptr ? label->text : nullptr;
}

HeaderField labelField(std::size_t offset, const NamedLabel* label) {
    return bytesField(offset, labelOf(label));
}

HeaderField identifierField(std::size_t offset, const char* text) {
    return textField(offset, kTextIdentifierWidth, text);
}

HeaderField slotField(std::size_t offset, std::size_t width, const MetadataText* text) {
    return bytesField(offset, width, text != nullptr ? text->data() : nullptr, width);
}

void writeStandardBlock(const ByteSection& block, const BlockContent& c) {
    const NamedLabel* outTransfer = c.output != nullptr ? c.output->transfer : nullptr;
    const NamedLabel* outPrimaries = c.output != nullptr ? c.output->primaries : nullptr;
    const NamedLabel* outCoding = c.output != nullptr ? c.output->coding : nullptr;
    const bool sourceKnown = c.source != nullptr;
    writeFields(block, {
                           bytesField(0, c.kindCode),
                           labelField(2, sourceKnown ? c.source->transfer : nullptr),
                           labelField(18, sourceKnown ? c.source->primaries : nullptr),
                           slotField(34, 32, c.slotA),
                           slotField(66, 32, c.slotB),
                           labelField(98, outPrimaries),
                           labelField(114, outTransfer),
                           labelField(130, outTransfer),
                           labelField(146, outCoding),
                           slotField(162, 32, c.description),
                       });
    if (sourceKnown) {
        writeFields(block, {numberField(194, 1, c.rangeCode)});
    }
}

void writeExtendedBlock(const ByteSection& block, const BlockContent& c) {
    const bool sourceKnown = c.source != nullptr;
    const NamedLabel* srcTransfer = sourceKnown ? c.source->transfer : nullptr;
    const NamedLabel* srcPrimaries = sourceKnown ? c.source->primaries : nullptr;
    const NamedLabel* outTransfer = c.output != nullptr ? c.output->transfer : nullptr;
    const NamedLabel* outPrimaries = c.output != nullptr ? c.output->primaries : nullptr;
    const NamedLabel* outCoding = c.output != nullptr ? c.output->coding : nullptr;
    const ClassEncoding& cls = classEncoding(c.blockClass);
    const NamedLabel* coding709 = &catalogueLabel(LabelName::CodingRec709);
    const NamedLabel* linear = sourceKnown ? &catalogueLabel(LabelName::TransferLinear) : nullptr;

    // The first transfer text of an index-0/1 block names either ACES curve by the proxy
    // name.
    const char* indexTransferText = textOf(srcTransfer);
    if (srcTransfer == &catalogueLabel(LabelName::TransferAcesCct)) {
        indexTransferText = catalogueLabel(LabelName::TransferAcesCc).text;
    }
    const char* indexPrimariesText = textOf(srcPrimaries);
    if (c.index == 2) {
        indexTransferText = textOf(outTransfer);
        indexPrimariesText = textOf(outPrimaries);
    }

    CodeGroup outputCodes{};
    if (c.output != nullptr) {
        outputCodes = {
            c.fullRangeFlag,           c.output->codePointPrimaries, c.output->codePointTransfer,
            c.output->codePointMatrix, c.output->codePointPrimaries, c.output->codePointTransfer,
            c.output->codePointMatrix};
    }

    writeFields(block, {
                           bytesField(112, c.kindCode),
                           labelField(114, srcTransfer),
                           labelField(130, srcPrimaries),
                           slotField(146, 64, c.slotA),
                           slotField(210, 64, c.slotB),
                           labelField(274, outPrimaries),
                           labelField(290, outTransfer),
                           labelField(306, outTransfer),
                           labelField(322, outCoding),
                           slotField(338, 64, c.description),
                           identifierField(424, indexTransferText),
                           identifierField(448, indexPrimariesText),
                           identifierField(472, textOf(srcTransfer)),
                           identifierField(496, textOf(srcPrimaries)),
                           slotField(520, 64, c.slotA),
                           slotField(584, 64, c.slotB),
                           identifierField(648, textOf(outPrimaries)),
                           identifierField(672, textOf(outTransfer)),
                           identifierField(696, textOf(outTransfer)),
                           identifierField(720, textOf(outCoding)),
                           slotField(744, 64, c.description),
                           labelField(832, linear),
                           labelField(848, linear),
                           identifierField(864, textOf(linear)),
                           bytesField(904, &cls.workingCodeGroup),
                           labelField(911, cls.transfer),
                           labelField(927, cls.primaries),
                           labelField(943, coding709),
                           labelField(1010, cls.transfer),
                           labelField(1026, cls.primaries),
                           labelField(1042, coding709),
                           numberField(1058, 1, cls.classNumber),
                           identifierField(1059, cls.transfer->text),
                           identifierField(1083, cls.primaries->text),
                           identifierField(1107, coding709->text),
                           bytesField(1160, &outputCodes),
                           labelField(1167, outTransfer),
                           labelField(1183, outPrimaries),
                           labelField(1199, outCoding),
                           labelField(1266, outTransfer),
                           labelField(1282, outPrimaries),
                           labelField(1298, outCoding),
                           identifierField(1315, textOf(outTransfer)),
                           identifierField(1339, textOf(outPrimaries)),
                           identifierField(1363, textOf(outCoding)),
                       });
    if (sourceKnown) {
        writeFields(block, {numberField(1314, 1, c.rangeCode)});
    }
}

// Metadata mode 3 (CAMA-001) describes the working and output encodings as fixed Q-Enc3
// and Rec.709 code groups and labels, puts the range code in the class-number byte, and
// writes the linear description and the range code even for an unknown source encoding.
void applyCameraRewrites(const ByteSection& block, const BlockContent& c, int blockNumber,
                         std::uint8_t sourceEncoding, const MetadataText& none) {
    static constexpr CodeGroup kCameraCodes{1, 2, 2, 2, 'f', 'f', 'f'};
    const NamedLabel* qEnc3 = &catalogueLabel(LabelName::TransferQEnc3);
    const NamedLabel* qPrims3 = &catalogueLabel(LabelName::PrimariesQPrims3);
    const NamedLabel* transfer709 = &catalogueLabel(LabelName::TransferRec709);
    const NamedLabel* primaries709 = &catalogueLabel(LabelName::PrimariesRec709);
    const NamedLabel* coding709 = &catalogueLabel(LabelName::CodingRec709);
    const NamedLabel* linear = &catalogueLabel(LabelName::TransferLinear);
    writeFields(block, {
                           bytesField(904, &kCameraCodes),
                           bytesField(1160, &kCameraCodes),
                           labelField(1167, qEnc3),
                           labelField(1183, qPrims3),
                           labelField(1199, coding709),
                           labelField(1266, transfer709),
                           labelField(1282, primaries709),
                           labelField(1298, coding709),
                           identifierField(1315, qEnc3->text),
                           identifierField(1339, qPrims3->text),
                           identifierField(1363, coding709->text),
                           numberField(1058, 1, c.rangeCode),
                           labelField(832, linear),
                           labelField(848, linear),
                           identifierField(864, linear->text),
                           numberField(1314, 1, c.rangeCode),
                       });
    // For a Q-Enc3 look the first block carries its name in slot A and "none" in slot B.
    if (blockNumber == 0 && sourceEncoding <= 1) {
        writeFields(block, {
                               slotField(146, 64, c.classLutName),
                               slotField(210, 64, &none),
                               slotField(520, 64, c.classLutName),
                               slotField(584, 64, &none),
                           });
    }
}

}  // namespace

void writeStandardMetadataBlocks(const ByteSection& blocks, const ZelGenInput& input) {
    const MetadataTexts texts = standardMetadataTexts(input);
    const MetadataText none = noneText();
    for (int k = 0; k < kStandardBlockCount; ++k) {
        const ByteSection block =
            blocks.sub(static_cast<std::size_t>(k) * kStandardBlockLength, kStandardBlockLength);
        writeStandardBlock(block, resolveBlock(k, input, texts, none));
    }
}

void writeExtendedMetadataBlocks(const ByteSection& blocks, const ZelGenInput& input,
                                 const MetadataDescriptor& descriptor) {
    const MetadataTexts texts = extendedMetadataTexts(input, descriptor);
    const MetadataText none = noneText();
    for (int k = 0; k < descriptor.blockCount; ++k) {
        const ByteSection block =
            blocks.sub(static_cast<std::size_t>(k) * kExtendedBlockLength, kExtendedBlockLength);
        const BlockContent content = resolveBlock(k, input, texts, none);
        writeExtendedBlock(block, content);
        if (descriptor.mode == 3) {
            applyCameraRewrites(block, content, k, input.sourceEncoding, none);
        }
    }
}

}  // namespace zel::io
