// `zelgen inspect`'s decoder: sound files decoded field by field, damaged ones refused
// with a message and never read past their end.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "inspect/look_file_decoder.h"
#include "support/look_jobs.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void put16(Bytes& f, std::size_t at, std::uint32_t v) {
    f[at] = static_cast<std::uint8_t>(v);
    f[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void put32(Bytes& f, std::size_t at, std::uint32_t v) {
    put16(f, at, v & 0xFFFF);
    put16(f, at + 2, v >> 16);
}
void putText(Bytes& f, std::size_t at, const std::string& text) {
    std::memcpy(f.data() + at, text.data(), text.size());
}

constexpr std::size_t kBody = 2752;         // standard header-part length
constexpr std::size_t kTable = kBody + 64;  // entry table
constexpr std::size_t kData = 256 * 32;     // first record, from the table start

// A standard look file written the way the library lays it out: one record with addresses
// (pass 0), one values-only record (pass 0), and a pass-1 entry reusing the first record.
Bytes standardLookFile() {
    Bytes f(kTable + kData + 32 + 16, 0);
    putText(f, 0, "QKDF");
    put32(f, 4, 256);
    f[8] = 1, f[9] = 16, f[10] = 1, f[11] = 1;
    put32(f, 12, 256);
    put32(f, 16, kBody);
    putText(f, 20, "CAMB-001");
    putText(f, 52, "Day_Ext.zel");
    put16(f, 180, 2026), f[182] = 3, f[183] = 5, f[184] = 14, f[185] = 7, f[186] = 9;
    putText(f, 188, "Studio");
    putText(f, 220, "tag-1");

    putText(f, 256, "LOOK");
    put32(f, 260, 896);
    f[264] = '2', f[265] = 'W', f[266] = 6;
    put16(f, 270, 4000);
    putText(f, 340, "Rec.2100(PQ)");
    putText(f, 372, "Legal");
    putText(f, 388, "Day_Ext");
    putText(f, 452, "1.0");
    putText(f, 972, "Warm");
    f[1100] = '4', f[1101] = 'T', f[1102] = 33;

    putText(f, 1152, "MDHL");
    put32(f, 1156, 64);
    put16(f, 1160, 256);
    put16(f, 1162, 6);
    for (std::uint32_t k = 0; k < 6; ++k) {
        const std::size_t e = 1164 + 8 * k;
        putText(f, e, k < 3 ? "4T" : "5T");
        put16(f, e + 2, k % 3);
        put32(f, e + 4, 64 + 256 * k);
    }
    // Block 0: Q-Enc3 source, PQ output.
    const std::uint8_t qEnc3[16] = {6, 14, 43, 52, 4, 1, 1, 6, 14, 6, 4, 1, 1, 1, 6, 4};
    const std::uint8_t pq[16] = {6, 14, 43, 52, 4, 1, 1, 13, 4, 1, 1, 1, 1, 10, 0, 0};
    f[1216] = 7, f[1217] = 4;
    std::memcpy(f.data() + 1216 + 2, qEnc3, 16);
    std::memcpy(f.data() + 1216 + 114, pq, 16);
    putText(f, 1216 + 66, "LUT:Warm");
    f[1216 + 194] = 6;

    putText(f, kBody, "CHIP");
    put32(f, kBody + 4, 64);
    put32(f, kBody + 8, 64);
    put32(f, kBody + 16, static_cast<std::uint32_t>(kData + 32 + 16));
    auto entry = [&](std::size_t slot, std::uint8_t pass, std::uint8_t type, bool valuesOnly,
                     std::uint32_t count, std::uint32_t offset) {
        const std::size_t e = kTable + 32 * slot;
        f[e + 2] = 1, f[e + 3] = pass, f[e + 4] = 1, f[e + 8] = type;
        f[e + 9] = valuesOnly ? 1 : 0, f[e + 10] = 2, f[e + 16] = 1;
        put32(f, e + 20, count);
        put32(f, e + 24, offset);
    };
    entry(0, 0, 4, false, 1, kData);
    entry(1, 0, 6, true, 2, kData + 16);
    entry(2, 1, 4, false, 1, kData);
    // Record 1: S A, address 0x0402, E A, S D, value 0x07, E D. Record 2: S R, 2 values, E R.
    const std::uint8_t first[] = {'S', 'A', 2, 4, 'E', 'A', 'S', 'D', 7, 'E', 'D'};
    const std::uint8_t second[] = {'S', 'R', 1, 2, 'E', 'R'};
    std::memcpy(f.data() + kTable + kData, first, sizeof first);
    std::memcpy(f.data() + kTable + kData + 16, second, sizeof second);
    return f;
}

TEST(LookFileDecoder, DecodesEverySectionOfASoundFile) {
    const zelgen::LookFileInfo info = zelgen::decodeLookFile(standardLookFile());
    EXPECT_EQ(info.layout, "standard");
    EXPECT_EQ(info.fileHeader.modelName, "CAMB-001");
    EXPECT_EQ(info.fileHeader.created, "2026-03-05 14:07:09");
    EXPECT_EQ(info.fileHeader.tag, "tag-1");
    EXPECT_EQ(info.lookHeader.outputEncoding, "Rec.2100(PQ)");
    EXPECT_EQ(info.lookHeader.peak, 4000);
    EXPECT_EQ(info.lookHeader.rangeName, "Legal");
    EXPECT_EQ(info.lookHeader.source, "Q-Enc3/Q-Prims3");
    EXPECT_EQ(info.lookHeader.gridSize, 33);
    EXPECT_EQ(info.lookHeader.note, "Warm");
    ASSERT_EQ(info.metadataList.entries.size(), 6u);
    EXPECT_EQ(info.metadataList.entries[4].sourceTag, "5T");
    EXPECT_EQ(info.metadataList.entries[4].offset, 64u + 4 * 256);
    ASSERT_EQ(info.metadataBlocks.size(), 6u);
    EXPECT_EQ(info.metadataBlocks[0].kindCode, "07 04");
    EXPECT_EQ(info.metadataBlocks[0].sourceTransfer, "transfer Q-Enc3");
    EXPECT_EQ(info.metadataBlocks[0].outputTransfer, "transfer PQ");
    EXPECT_EQ(info.metadataBlocks[0].lutNameB, "LUT:Warm");
    EXPECT_EQ(info.body.entries.size(), 3u);
    EXPECT_EQ(info.body.records, 2);
    EXPECT_EQ(info.body.badRecords, 0);
    EXPECT_EQ(info.body.recordBytes, 32u);
    EXPECT_EQ(info.body.passes.at(1).reused, 1);
    EXPECT_TRUE(info.problems.empty());
}

TEST(LookFileDecoder, EveryTruncationIsAnErrorNotACrash) {
    const Bytes whole = standardLookFile();
    for (std::size_t length = 0; length < whole.size(); ++length) {
        const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
        EXPECT_THROW(zelgen::decodeLookFile(cut), zel::DecodeError) << length;
    }
}

TEST(LookFileDecoder, DamagedRecordsAndOffsetsAreReportedAsProblems) {
    Bytes f = standardLookFile();
    f[kTable + kData + 9] = 'X';              // first record's closing marker
    put32(f, kTable + 32 + 24, 0xFFFFFFF0u);  // second entry points far outside
    f.push_back(0);                           // a byte after the body
    const zelgen::LookFileInfo info = zelgen::decodeLookFile(f);
    EXPECT_EQ(info.body.badRecords, 2);
    EXPECT_FALSE(info.body.entries[0].recordOk);
    EXPECT_EQ(info.problems.size(), 3u);
}

TEST(LookFileDecoder, WrongMagicsAndImpossibleFieldsAreRefusedByName) {
    struct Case {
        std::size_t at;
        int width;  // bytes of the field
        std::uint32_t value;
        const char* messagePart;
    };
    const Case cases[] = {
        {0, 4, 0x46444B51u ^ 1u, "QKDF"},
        {256, 4, 0, "LOOK"},
        {1152, 4, 0, "MDHL"},
        {1160, 2, 300, "300 bytes long"},
        {1162, 2, 0xFFFF, "damaged"},
        {12, 4, 0xFFFFFF00u, "truncated"},
        {kBody, 4, 0, "CHIP"},
        {kBody + 16, 4, 100, "too short"},
        {1156, 4, 4, "less than its own head"},
    };
    for (const Case& c : cases) {
        Bytes f = standardLookFile();
        (c.width == 2 ? put16 : put32)(f, c.at, c.value);
        try {
            zelgen::decodeLookFile(f);
            ADD_FAILURE() << "decoded with field " << c.at << " damaged";
        } catch (const zel::DecodeError& e) {
            EXPECT_NE(std::string(e.what()).find(c.messagePart), std::string::npos) << e.what();
        }
    }
}

// The look header's source and range read back as the look was made: a decoder that
// swapped two source tags or the two range codes fails here.
TEST(LookFileDecoder, NamesTheSourceAndRangeTheLookWasMadeFor) {
    const char* const sources[] = {"Q-Enc3/Q-Prims3", "Q-Enc3/Q-Prims3.Film", "ACEScc", "ACEScct"};
    for (int source = 0; source < 4; ++source) {
        const int range = source % 2;
        const zelgen::LookFileInfo info = zelgen::decodeLookFile(zeltest::makeLookFile(
            "CAMB-001", false, 3, zeltest::identityLattice(3), source, 0, range));
        EXPECT_EQ(info.lookHeader.source, sources[source]);
        EXPECT_EQ(info.lookHeader.rangeCode, range == 0 ? 2 : 6) << sources[source];
        EXPECT_EQ(info.lookHeader.rangeName, range == 0 ? "FULL" : "Legal") << sources[source];
    }
}

}  // namespace
