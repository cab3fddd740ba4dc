#ifndef ZELGEN_LOOK_FILE_DECODER_H
#define ZELGEN_LOOK_FILE_DECODER_H

// Decodes a binary look file for `zelgen inspect`: the file header, the look header, the
// metadata header list and blocks, the body chunk's entry table and its data records. All
// reads are bounds-checked; a file too damaged to walk raises zel::DecodeError, smaller faults
// (a record whose markers are wrong, bytes after the body) are listed as problems.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/decode_error.h"
#include "readback/body_records.h"

namespace zelgen {

struct FileHeaderInfo {
    std::uint32_t length = 0;
    std::uint8_t formatBytes[4]{};
    std::uint32_t lookHeaderOffset = 0;
    std::uint32_t headerPartLength = 0;  // also where the body chunk begins
    std::string modelName;
    std::string lookFileName;
    std::string created;  // "YYYY-MM-DD hh:mm:ss", or "" when the stamp is all zero
    std::string text;
    std::string tag;
};

struct LookHeaderInfo {
    std::uint32_t length = 0;
    std::string outputClass;  // the output class and output characters, as text
    std::string outputCode;
    std::uint8_t rangeCode = 0;  // 2 full, 6 legal
    std::uint16_t peak = 0;      // output peak value
    std::string outputEncoding;  // "Rec.709", "Rec.2100(PQ)", "Rec.2100(HLG)"
    std::string rangeName;
    std::string lookName;
    std::string version;
    std::string text;
    std::string note;
    std::string sourceCode;  // the two source code bytes as hexadecimal
    std::string source;      // the source encoding they name
    std::uint8_t gridSize = 0;
};

struct MetadataListEntry {
    std::string sourceTag;  // "4T", "5T", "\x12f"
    std::uint16_t index = 0;
    std::uint32_t offset = 0;  // from the list start
};

struct MetadataListInfo {
    std::uint32_t listLength = 0;
    std::uint16_t blockLength = 0;
    std::uint16_t blockCount = 0;
    std::vector<MetadataListEntry> entries;
};

struct MetadataBlockInfo {
    std::string kindCode;  // two bytes in hexadecimal
    std::string sourceTransfer;
    std::string sourcePrimaries;
    std::string lutNameA;
    std::string lutNameB;
    std::string outputPrimaries;
    std::string outputTransfer;
    std::string outputCoding;
    std::string description;
    std::uint8_t rangeCode = 0;
    // Extended blocks only: the text identifiers and the class number.
    std::map<std::string, std::string> texts;
    int classNumber = -1;
};

// A written entry of the entry table, as the library's reader walks it, and what inspect
// found out about its record.
struct BodyEntryInfo : zel::BodyEntry {
    bool reused = false;   // points at a record an earlier entry already points at
    bool recordOk = true;  // its record lies inside the body and carries its markers
};

struct PassSummary {
    int entries = 0;
    int records = 0;  // entries with registers that point at a record of their own
    int reused = 0;   // entries with registers that point at an earlier entry's record
    int empty = 0;    // entries with no registers
};

struct BodyInfo {
    std::uint32_t headLength = 0;
    std::uint32_t entryTableOffset = 0;
    std::uint32_t length = 0;  // bytes after the head: entry table and data
    std::uint32_t entrySlots = 0;
    std::uint64_t dataLength = 0;
    std::vector<BodyEntryInfo> entries;  // the written (non-zero) entries
    std::map<int, PassSummary> passes;
    int records = 0;     // distinct records
    int badRecords = 0;  // records outside the body or with wrong markers
    std::uint64_t recordBytes = 0;
};

struct LookFileInfo {
    std::uint64_t fileSize = 0;
    std::string layout;  // "standard" or "extended"
    FileHeaderInfo fileHeader;
    LookHeaderInfo lookHeader;
    MetadataListInfo metadataList;
    std::vector<MetadataBlockInfo> metadataBlocks;
    BodyInfo body;
    std::vector<std::string> problems;
};

// Throws zel::DecodeError when the file cannot be walked.
LookFileInfo decodeLookFile(const std::vector<std::uint8_t>& bytes);

}  // namespace zelgen

#endif  // ZELGEN_LOOK_FILE_DECODER_H
