#include "inspect/look_file_decoder.h"

#include <cstdio>
#include <set>

#include "inspect/metadata_labels.h"
#include "io/body_records.h"

namespace zelgen {

namespace {

// Where the sections sit and how long they are.
constexpr std::uint64_t kFileHeaderLength = 256;
constexpr std::uint64_t kLookHeaderLength = 896;
constexpr std::uint64_t kListHeadLength = 12;
constexpr std::uint64_t kListEntryLength = 8;
constexpr std::uint64_t kChunkHeadLength = 64;
constexpr std::uint64_t kEntryLength = 32;
constexpr std::uint16_t kStandardBlockLength = 256;
constexpr std::uint16_t kExtendedBlockLength = 1440;
constexpr std::uint32_t kStandardEntrySlots = 256;
constexpr std::uint32_t kExtendedEntrySlots = 512;
// More blocks than any camera writes means the count field is damaged.
constexpr std::uint16_t kMostBlocks = 64;

std::string sourceName(std::uint8_t first, std::uint8_t second) {
    if (first == '4' && second == 'T') {
        return "Q-Enc3/Q-Prims3";
    }
    if (first == '5' && second == 'T') {
        return "Q-Enc3/Q-Prims3.Film";
    }
    if (first == 0x12 && second == 'Y') {
        return "ACEScc";
    }
    if (first == 0x12 && second == 'f') {
        return "ACEScct";
    }
    return "";
}

std::string charText(std::uint8_t c) {
    return c == 0 ? "" : printableText(&c, 1);
}

FileHeaderInfo decodeFileHeader(const ByteView& view) {
    view.require(0, kFileHeaderLength, "file header");
    if (!view.matches(0, "QKDF", 4, "file header")) {
        throw LookFileError("this is not a look file: it does not begin with \"QKDF\"");
    }
    FileHeaderInfo header;
    header.length = view.u32(4, "file header");
    for (int i = 0; i < 4; ++i) {
        header.formatBytes[i] = view.u8(8 + static_cast<std::uint64_t>(i), "file header");
    }
    header.lookHeaderOffset = view.u32(12, "file header");
    header.headerPartLength = view.u32(16, "file header");
    header.modelName = view.text(20, 32, "file header");
    header.lookFileName = view.text(52, 128, "file header");
    if (!view.allZero(180, 8, "time stamp")) {
        char stamp[32];
        std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u",
                      unsigned{view.u16(180, "time stamp")}, unsigned{view.u8(182, "time stamp")},
                      unsigned{view.u8(183, "time stamp")}, unsigned{view.u8(184, "time stamp")},
                      unsigned{view.u8(185, "time stamp")}, unsigned{view.u8(186, "time stamp")});
        header.created = stamp;
    }
    header.text = view.text(188, 32, "file header");
    header.tag = view.text(220, 16, "file header");
    return header;
}

LookHeaderInfo decodeLookHeader(const ByteView& view, std::uint64_t at) {
    const char* what = "look header";
    view.require(at, kLookHeaderLength, what);
    if (!view.matches(at, "LOOK", 4, what)) {
        throw LookFileError("the look header at byte " + std::to_string(at) +
                            " does not begin with \"LOOK\"");
    }
    LookHeaderInfo look;
    look.length = view.u32(at + 4, what);
    look.outputClass = charText(view.u8(at + 8, what));
    look.outputCode = charText(view.u8(at + 9, what));
    look.rangeCode = view.u8(at + 10, what);
    look.peak = view.u16(at + 14, what);
    look.outputEncoding = view.text(at + 84, 32, what);
    look.rangeName = view.text(at + 116, 16, what);
    look.lookName = view.text(at + 132, 64, what);
    look.version = view.text(at + 196, 4, what);
    look.text = view.text(at + 204, 512, what);
    look.note = view.text(at + 716, 128, what);
    const std::uint8_t first = view.u8(at + 844, what);
    const std::uint8_t second = view.u8(at + 845, what);
    look.sourceCode = view.hex(at + 844, 2, what);
    look.source = sourceName(first, second);
    look.gridSize = view.u8(at + 846, what);
    return look;
}

MetadataListInfo decodeMetadataList(const ByteView& view, std::uint64_t at) {
    const char* what = "metadata header list";
    view.require(at, kListHeadLength, what);
    if (!view.matches(at, "MDHL", 4, what)) {
        throw LookFileError("the metadata header list at byte " + std::to_string(at) +
                            " does not begin with \"MDHL\"");
    }
    MetadataListInfo list;
    list.listLength = view.u32(at + 4, what);
    list.blockLength = view.u16(at + 8, what);
    list.blockCount = view.u16(at + 10, what);
    if (list.listLength < kListHeadLength) {
        throw LookFileError("the metadata header list gives a length of " +
                            std::to_string(list.listLength) + " bytes, less than its own head");
    }
    view.require(at, list.listLength, what);
    const std::uint64_t slots = (list.listLength - kListHeadLength) / kListEntryLength;
    for (std::uint64_t k = 0; k < slots; ++k) {
        const std::uint64_t entryAt = at + kListHeadLength + k * kListEntryLength;
        if (view.allZero(entryAt, kListEntryLength, what)) {
            continue;
        }
        MetadataListEntry entry;
        entry.sourceTag = printableText(view.at(entryAt), 2);
        entry.index = view.u16(entryAt + 2, what);
        entry.offset = view.u32(entryAt + 4, what);
        list.entries.push_back(entry);
    }
    return list;
}

// Field offsets within a metadata block; the extended block places the same fields
// further in and adds text identifiers.
struct BlockFields {
    std::uint64_t kind, sourceTransfer, sourcePrimaries, slotA, slotB, slotWidth;
    std::uint64_t outputPrimaries, outputTransfer, outputCoding, description, descriptionWidth;
    std::uint64_t rangeCode;
};

constexpr BlockFields kStandardFields{0, 2, 18, 34, 66, 32, 98, 114, 146, 162, 32, 194};
constexpr BlockFields kExtendedFields{112, 114, 130, 146, 210, 64, 274, 290, 322, 338, 64, 1314};

struct ExtendedText {
    const char* name;
    std::uint64_t offset;
};

constexpr ExtendedText kExtendedTexts[] = {
    {"variantTransfer", 424}, {"variantPrimaries", 448}, {"sourceTransfer", 472},
    {"sourcePrimaries", 496}, {"outputPrimaries", 648},  {"outputTransfer", 672},
    {"outputCoding", 720},    {"linear", 864},           {"classTransfer", 1059},
    {"classPrimaries", 1083}, {"classCoding", 1107},     {"finalTransfer", 1315},
    {"finalPrimaries", 1339}, {"finalCoding", 1363},
};

MetadataBlockInfo decodeMetadataBlock(const ByteView& view, std::uint64_t at, bool extended) {
    const char* what = "metadata block";
    const BlockFields& f = extended ? kExtendedFields : kStandardFields;
    view.require(at, extended ? kExtendedBlockLength : kStandardBlockLength, what);
    MetadataBlockInfo block;
    block.kindCode = view.hex(at + f.kind, 2, what);
    block.sourceTransfer = labelName(view.at(at + f.sourceTransfer));
    block.sourcePrimaries = labelName(view.at(at + f.sourcePrimaries));
    block.lutNameA = view.text(at + f.slotA, f.slotWidth, what);
    block.lutNameB = view.text(at + f.slotB, f.slotWidth, what);
    block.outputPrimaries = labelName(view.at(at + f.outputPrimaries));
    block.outputTransfer = labelName(view.at(at + f.outputTransfer));
    block.outputCoding = labelName(view.at(at + f.outputCoding));
    block.description = view.text(at + f.description, f.descriptionWidth, what);
    block.rangeCode = view.u8(at + f.rangeCode, what);
    if (extended) {
        for (const ExtendedText& text : kExtendedTexts) {
            block.texts[text.name] = view.text(at + text.offset, 24, what);
        }
        block.classNumber = view.u8(at + 1058, what);
    }
    return block;
}

BodyInfo decodeBody(const ByteView& view, std::uint64_t at, bool extended,
                    std::vector<std::string>& problems) {
    const char* what = "body chunk head";
    view.require(at, kChunkHeadLength, what);
    if (!view.matches(at, "CHIP", 4, what)) {
        throw LookFileError("the body chunk at byte " + std::to_string(at) +
                            " does not begin with \"CHIP\"");
    }
    BodyInfo body;
    body.headLength = view.u32(at + 4, what);
    body.entryTableOffset = view.u32(at + 8, what);
    body.length = view.u32(at + 16, what);
    body.entrySlots = extended ? kExtendedEntrySlots : kStandardEntrySlots;

    const std::uint64_t tableAt = at + kChunkHeadLength;
    const std::uint64_t tableLength = std::uint64_t{body.entrySlots} * kEntryLength;
    if (body.length < tableLength) {
        throw LookFileError("the body chunk is " + std::to_string(body.length) +
                            " bytes long, too short for its " + std::to_string(body.entrySlots) +
                            "-entry table");
    }
    view.require(tableAt, body.length, "body chunk");
    body.dataLength = body.length - tableLength;
    const std::uint64_t bodyEnd = tableAt + body.length;
    if (bodyEnd < view.size()) {
        problems.push_back(std::to_string(view.size() - bodyEnd) +
                           " bytes follow the end of the body chunk");
    }

    std::set<std::uint64_t> seenRecords;
    for (const zel::BodyEntry& written :
         zel::readBodyEntries(view.at(0), view.size(), tableAt, body.entrySlots)) {
        BodyEntryInfo entry;
        entry.slot = written.slot;
        entry.flag = written.flag;
        entry.pass = written.pass;
        entry.entryTag = written.entryTag;
        entry.typeCode = written.typeCode;
        entry.valuesOnly = written.valuesOnly;
        entry.category = written.category;
        entry.subtype = written.subtype;
        entry.mode = written.mode;
        entry.registerCount = written.registerCount;
        entry.offset = written.offset;
        const std::uint32_t slot = entry.slot;

        PassSummary& pass = body.passes[entry.pass];
        ++pass.entries;
        if (entry.registerCount == 0) {
            ++pass.empty;
        } else if (!seenRecords.insert(entry.offset).second) {
            entry.reused = true;
            ++pass.reused;
        } else {
            ++pass.records;
            ++body.records;
            const bool inTable = entry.offset < tableLength;
            entry.recordOk = !inTable && entry.offset <= body.length &&
                             zel::readBodyRecord(view.at(0), bodyEnd, tableAt + entry.offset,
                                                 entry.registerCount, entry.valuesOnly, nullptr);
            if (entry.recordOk) {
                body.recordBytes += zel::bodyRecordLength(entry.registerCount, entry.valuesOnly);
            } else {
                ++body.badRecords;
                problems.push_back("entry " + std::to_string(slot) + " (pass " +
                                   std::to_string(entry.pass) + ") points at offset " +
                                   std::to_string(entry.offset) + " where no sound record of " +
                                   std::to_string(entry.registerCount) + " registers lies");
            }
        }
        body.entries.push_back(entry);
    }
    return body;
}

}  // namespace

LookFileInfo decodeLookFile(const std::vector<std::uint8_t>& bytes) {
    const ByteView view(bytes);
    LookFileInfo info;
    info.fileSize = bytes.size();
    info.fileHeader = decodeFileHeader(view);
    const std::uint64_t lookAt = info.fileHeader.lookHeaderOffset;
    info.lookHeader = decodeLookHeader(view, lookAt);

    const std::uint64_t listAt = lookAt + kLookHeaderLength;
    info.metadataList = decodeMetadataList(view, listAt);
    const MetadataListInfo& list = info.metadataList;
    bool extended = false;
    if (list.blockLength == kStandardBlockLength) {
        info.layout = "standard";
    } else if (list.blockLength == kExtendedBlockLength) {
        info.layout = "extended";
        extended = true;
    } else {
        throw LookFileError("the metadata blocks are " + std::to_string(list.blockLength) +
                            " bytes long; a look file's are 256 or 1440");
    }
    if (list.blockCount > kMostBlocks) {
        throw LookFileError("the metadata header list counts " + std::to_string(list.blockCount) +
                            " blocks; the file is damaged");
    }

    const std::uint64_t blocksAt = listAt + list.listLength;
    const std::uint64_t headerEnd = blocksAt + std::uint64_t{list.blockCount} * list.blockLength;
    if (headerEnd != info.fileHeader.headerPartLength) {
        info.problems.push_back("the file header places the body at byte " +
                                std::to_string(info.fileHeader.headerPartLength) +
                                ", but the metadata ends at byte " + std::to_string(headerEnd));
    }
    for (std::uint16_t k = 0; k < list.blockCount; ++k) {
        info.metadataBlocks.push_back(
            decodeMetadataBlock(view, blocksAt + std::uint64_t{k} * list.blockLength, extended));
    }
    info.body = decodeBody(view, info.fileHeader.headerPartLength, extended, info.problems);
    return info;
}

}  // namespace zelgen
