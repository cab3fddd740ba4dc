#include "inspect/look_file_decoder.h"

#include <cstdio>
#include <set>

#include "inspect/metadata_labels.h"
#include "inspect/printable_text.h"
#include "io/body_chunk_writer.h"
#include "io/metadata_blocks.h"
#include "io/metadata_catalogue.h"
#include "readback/block_checks.h"
#include "readback/body_records.h"
#include "readback/byte_reader.h"

namespace zelgen {

namespace {

using zel::DecodeError;
using zel::io::ByteReader;
namespace file_header = zel::io::file_header;
namespace look_header = zel::io::look_header;
namespace metadata_list = zel::io::metadata_list;
namespace chunk_head = zel::io::chunk_head;

constexpr std::uint32_t kStandardEntrySlots = ZelBinary::kEntryCount;
constexpr std::uint32_t kExtendedEntrySlots = ::ExtendedBody::kEntryCount;
// More blocks than any camera writes means the count field is damaged.
constexpr std::uint16_t kMostBlocks = 64;

std::string sourceName(const zel::io::TwoByteCode& tag) {
    const int encoding = zel::io::sourceEncodingOf(tag);
    return encoding < 0 ? "" : zel::sourceName(encoding);
}

std::string charText(std::uint8_t c) {
    return c == 0 ? "" : printableText(&c, 1);
}

std::string textOf(const ByteReader& view, std::uint64_t section, zel::io::FieldSpan field,
                   const char* what) {
    return printableText(view.text(section, field, what));
}

// Throws unless the section at `at` opens with its magic.
void expectMagic(const ByteReader& view, std::uint64_t at, zel::io::FieldSpan field,
                 const char* magic, const char* what) {
    if (!view.opensWith(at, field, magic, what)) {
        if (at == 0) {
            throw DecodeError("", "this is not a look file: it does not begin with \"" +
                                      std::string(magic) + "\"");
        }
        throw DecodeError(std::string(what) + " at byte " + std::to_string(at),
                          "it does not begin with \"" + std::string(magic) + "\"");
    }
}

FileHeaderInfo decodeFileHeader(const ByteReader& view) {
    using namespace file_header;
    const char* what = "file header";
    expectMagic(view, 0, kMagicField, kMagic, what);
    view.require(0, kLength, what);
    FileHeaderInfo header;
    header.length = view.number(0, kOwnLength, what);
    for (std::size_t i = 0; i < kFormatBytes.width; ++i) {
        header.formatBytes[i] = view.u8(kFormatBytes.offset + i, what);
    }
    header.lookHeaderOffset = view.number(0, kLookHeaderAt, what);
    header.headerPartLength = view.number(0, kHeaderPartLength, what);
    header.modelName = textOf(view, 0, kModelName, what);
    header.lookFileName = textOf(view, 0, kLookFileName, what);
    if (!view.allZero(kCreated.offset, kCreated.width, what)) {
        char stamp[32];
        std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u",
                      view.number(0, kCreatedYear, what), view.number(0, kCreatedMonth, what),
                      view.number(0, kCreatedDay, what), view.number(0, kCreatedHour, what),
                      view.number(0, kCreatedMinute, what), view.number(0, kCreatedSecond, what));
        header.created = stamp;
    }
    header.text = textOf(view, 0, kText, what);
    header.tag = textOf(view, 0, kTag, what);
    return header;
}

LookHeaderInfo decodeLookHeader(const ByteReader& view, std::uint64_t at) {
    using namespace look_header;
    const char* what = "look header";
    expectMagic(view, at, kMagicField, kMagic, what);
    view.require(at, kLength, what);
    LookHeaderInfo look;
    look.length = view.number(at, kOwnLength, what);
    look.outputClass = charText(static_cast<std::uint8_t>(view.number(at, kOutputClass, what)));
    look.outputCode = charText(static_cast<std::uint8_t>(view.number(at, kOutputCurve, what)));
    look.rangeCode = static_cast<std::uint8_t>(view.number(at, kRangeCode, what));
    look.peak = static_cast<std::uint16_t>(view.number(at, kPeak, what));
    look.outputEncoding = textOf(view, at, kEncodingName, what);
    look.rangeName = textOf(view, at, kRangeName, what);
    look.lookName = textOf(view, at, kLookName, what);
    look.version = textOf(view, at, kVersion, what);
    look.text = textOf(view, at, kText, what);
    look.note = textOf(view, at, kNote, what);
    const std::uint8_t* tag = view.at(at + kSourceTag.offset, kSourceTag.width, what);
    look.sourceCode = hexBytes(tag, kSourceTag.width);
    look.source = sourceName({tag[0], tag[1]});
    look.gridSize = static_cast<std::uint8_t>(view.number(at, kGridSize, what));
    return look;
}

MetadataListInfo decodeMetadataList(const ByteReader& view, std::uint64_t at) {
    using namespace metadata_list;
    const char* what = "metadata header list";
    expectMagic(view, at, kMagicField, kMagic, what);
    view.require(at, kHeadLength, what);
    MetadataListInfo list;
    list.listLength = view.number(at, kListLength, what);
    list.blockLength = static_cast<std::uint16_t>(view.number(at, kBlockLength, what));
    list.blockCount = static_cast<std::uint16_t>(view.number(at, kBlockCount, what));
    if (list.listLength < kHeadLength) {
        throw DecodeError(what, "it gives a length of " + std::to_string(list.listLength) +
                                    " bytes, less than its own head");
    }
    view.require(at, list.listLength, what);
    const std::uint64_t slots = (list.listLength - kHeadLength) / kEntryLength;
    for (std::uint64_t k = 0; k < slots; ++k) {
        const std::uint64_t entryAt = at + kHeadLength + k * kEntryLength;
        if (view.allZero(entryAt, kEntryLength, what)) {
            continue;
        }
        MetadataListEntry entry;
        entry.sourceTag = printableText(view.at(entryAt + kEntryTag.offset, kEntryTag.width, what),
                                        kEntryTag.width);
        entry.index = static_cast<std::uint16_t>(view.number(entryAt, kEntryIndex, what));
        entry.offset = view.number(entryAt, kEntryOffset, what);
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

MetadataBlockInfo decodeMetadataBlock(const ByteReader& view, std::uint64_t at, bool extended) {
    const char* what = "metadata block";
    const BlockFields& f = extended ? kExtendedFields : kStandardFields;
    view.require(at, extended ? zel::io::kExtendedBlockLength : zel::io::kStandardBlockLength,
                 what);
    MetadataBlockInfo block;
    block.kindCode = hexBytes(view.at(at + f.kind, 2, what), 2);
    block.sourceTransfer = labelName(view.at(at + f.sourceTransfer, 16, what));
    block.sourcePrimaries = labelName(view.at(at + f.sourcePrimaries, 16, what));
    block.lutNameA = printableText(view.text(at + f.slotA, f.slotWidth, what));
    block.lutNameB = printableText(view.text(at + f.slotB, f.slotWidth, what));
    block.outputPrimaries = labelName(view.at(at + f.outputPrimaries, 16, what));
    block.outputTransfer = labelName(view.at(at + f.outputTransfer, 16, what));
    block.outputCoding = labelName(view.at(at + f.outputCoding, 16, what));
    block.description = printableText(view.text(at + f.description, f.descriptionWidth, what));
    block.rangeCode = view.u8(at + f.rangeCode, what);
    if (extended) {
        for (const ExtendedText& text : kExtendedTexts) {
            block.texts[text.name] = printableText(view.text(at + text.offset, 24, what));
        }
        block.classNumber = view.u8(at + 1058, what);
    }
    return block;
}

BodyInfo decodeBody(const ByteReader& view, std::uint64_t at, bool extended,
                    std::vector<std::string>& problems) {
    const char* what = "body chunk head";
    expectMagic(view, at, chunk_head::kMagicField, chunk_head::kMagic, "body chunk");
    view.require(at, chunk_head::kLength, what);
    BodyInfo body;
    body.headLength = view.number(at, chunk_head::kOwnLength, what);
    body.entryTableOffset = view.number(at, chunk_head::kTableOffset, what);
    body.length = view.number(at, chunk_head::kDataEnd, what);
    body.entrySlots = extended ? kExtendedEntrySlots : kStandardEntrySlots;

    const std::uint64_t tableAt = at + chunk_head::kLength;
    const std::uint64_t tableLength = std::uint64_t{body.entrySlots} * zel::kBodyEntryLength;
    if (body.length < tableLength) {
        throw DecodeError("body chunk", "it is " + std::to_string(body.length) +
                                            " bytes long, too short for its " +
                                            std::to_string(body.entrySlots) + "-entry table");
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
         zel::readBodyEntries(view.at(0, 0, what), view.size(), tableAt, body.entrySlots)) {
        BodyEntryInfo entry;
        static_cast<zel::BodyEntry&>(entry) = written;
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
            entry.recordOk =
                !inTable && entry.offset <= body.length &&
                zel::readBodyRecord(view.at(0, 0, what), bodyEnd, tableAt + entry.offset,
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
    const ByteReader view(bytes.data(), bytes.size());
    LookFileInfo info;
    info.fileSize = bytes.size();
    info.fileHeader = decodeFileHeader(view);
    const std::uint64_t lookAt = info.fileHeader.lookHeaderOffset;
    info.lookHeader = decodeLookHeader(view, lookAt);

    const std::uint64_t listAt = lookAt + look_header::kLength;
    info.metadataList = decodeMetadataList(view, listAt);
    const MetadataListInfo& list = info.metadataList;
    bool extended = false;
    if (list.blockLength == zel::io::kStandardBlockLength) {
        info.layout = "standard";
    } else if (list.blockLength == zel::io::kExtendedBlockLength) {
        info.layout = "extended";
        extended = true;
    } else {
        throw DecodeError("metadata header list", "the metadata blocks are " +
                                                      std::to_string(list.blockLength) +
                                                      " bytes long; a look file's are 256 or 1440");
    }
    if (list.blockCount > kMostBlocks) {
        throw DecodeError("metadata header list", "it counts " + std::to_string(list.blockCount) +
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
