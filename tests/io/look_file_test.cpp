#include <gtest/gtest.h>

#include "look_file_fixtures.h"

namespace {

using namespace zel::test;

TEST(LookFile, StandardHeadersDescribePqLegalOutput) {
    const std::vector<std::uint8_t> file = runStandard(makeInput("CAMB-001", 0, 1, 1));

    EXPECT_EQ(fieldAt(&file[0], 4), "QKDF");
    EXPECT_EQ(getU32le(&file[4]), 256u);
    EXPECT_EQ(fieldAt(&file[8], 4), std::string("\x01\x10\x01\x01", 4));
    EXPECT_EQ(getU32le(&file[12]), 256u);
    EXPECT_EQ(getU32le(&file[16]), 2752u);
    EXPECT_EQ(fieldAt(&file[20], 32), padded("CAMB-001", 32));
    EXPECT_TRUE(allZero(&file[180], 8)) << "the time stamp is written after the body";

    EXPECT_EQ(fieldAt(&file[256], 4), "LOOK");
    EXPECT_EQ(getU32le(&file[260]), 896u);
    EXPECT_EQ(fieldAt(&file[264], 3), "2W\x06");
    EXPECT_EQ(getU16le(&file[270]), 4000);
    EXPECT_EQ(getU32le(&file[272]), 896u);
    EXPECT_EQ(fieldAt(&file[340], 32), padded("Rec.2100(PQ)", 32));
    EXPECT_EQ(fieldAt(&file[372], 16), padded("Legal", 16));
    EXPECT_EQ(fieldAt(&file[452], 4), std::string("1.0\0", 4));
    EXPECT_EQ(fieldAt(&file[1100], 3), std::string("4T\x21", 3));
    EXPECT_EQ(fieldAt(&file[388], 64), padded("Day_Ext", 64)) << "the file name less .zel";
}

TEST(LookFile, FullRangeIsFULLInStandardAndFullInExtendedFiles) {
    const ZelGenInput input = makeInput("CAMB-001", 0, 0, 0);
    const std::vector<std::uint8_t> standard = runStandard(input);
    const ExtendedRun extended = runExtended(input);

    EXPECT_EQ(fieldAt(&standard[372], 16), padded("FULL", 16));
    EXPECT_EQ(fieldAt(extended.part() + 372, 16), padded("Full", 16));
    // Apart from the range name, format bytes, lengths and time stamp the look headers agree.
    EXPECT_EQ(fieldAt(&standard[256], 116), fieldAt(extended.part() + 256, 116));
    EXPECT_EQ(fieldAt(&standard[388], 764), fieldAt(extended.part() + 388, 764));
}

TEST(LookFile, UnknownOutputCurveAndRangeLeaveTheirFieldsZero) {
    const std::vector<std::uint8_t> file = runStandard(makeInput("CAMB-001", 0, 3, 2));
    EXPECT_TRUE(allZero(&file[264], 3));
    EXPECT_EQ(getU16le(&file[270]), 0);
    EXPECT_TRUE(allZero(&file[340], 48));
}

TEST(LookFile, MetadataListOffsetsCountFromTheListStart) {
    const std::vector<std::uint8_t> standard = runStandard(makeInput("CAMB-001", 0, 0, 0));
    const std::uint8_t* list = &standard[1152];
    EXPECT_EQ(fieldAt(list, 4), "MDHL");
    EXPECT_EQ(getU32le(list + 4), 64u);
    EXPECT_EQ(getU16le(list + 8), 256);
    EXPECT_EQ(getU16le(list + 10), 6);
    const char* tags[] = {"4T", "4T", "4T", "5T", "5T", "5T"};
    for (int k = 0; k < 6; ++k) {
        const std::uint8_t* entry = list + 12 + 8 * k;
        EXPECT_EQ(fieldAt(entry, 2), tags[k]);
        EXPECT_EQ(getU16le(entry + 2), k % 3);
        EXPECT_EQ(getU32le(entry + 4), 64u + 256u * static_cast<std::uint32_t>(k));
    }
    EXPECT_TRUE(allZero(list + 60, 4));
    // The first block lies at file offset 1152 + 64.
    EXPECT_EQ(standard[1216], 0x07);
}

// Per model, the extended file's format bytes, header part length (it follows the block
// count), metadata list (nine named blocks except in mode 3) and the section lengths its
// writer prints in modes 0 and 3.
TEST(LookFile, ExtendedHeadersFollowTheModel) {
    const std::string sections = "zelFileHeader256\nzelLookHeader896\nzelMetadataHeaderList128\n";
    const struct {
        const char* model;
        std::string format;
        std::uint32_t length;
        int count;
        int entries;
        std::string printed;
    } cases[] = {
        {"CAMB-001", std::string("\x00\x10\x00\x00", 4), 9920, 6, 9,
         sections + "zelMetadataData12960\n"},
        {"CAMA-001", "\x01\x10\x02\x03", 9920, 6, 6, sections + "zelMetadataData8640\n"},
        {"CAMB-002", "\x01\x10\x02\x02", 14240, 9, 9, ""},
    };
    for (const auto& c : cases) {
        const ExtendedRun run = runExtended(makeInput(c.model, 0, 0, 0));
        EXPECT_EQ(fieldAt(run.part() + 8, 4), c.format) << c.model;
        EXPECT_EQ(run.output->headerSize, c.length) << c.model;
        EXPECT_EQ(getU32le(run.part() + 16), c.length) << c.model;
        EXPECT_EQ(run.printed, c.printed) << c.model;
        const std::uint8_t* list = run.part() + 1152;
        EXPECT_EQ(getU32le(list + 4), 128u) << c.model;
        EXPECT_EQ(getU16le(list + 8), 1440) << c.model;
        EXPECT_EQ(getU16le(list + 10), c.count) << c.model;
        for (int k = 0; k < c.entries; ++k) {
            EXPECT_EQ(getU32le(list + 16 + 8 * k), 128u + 1440u * static_cast<std::uint32_t>(k));
        }
        const std::string lastTag = c.entries == 9 ? std::string("\x12", 1) + "f" : "";
        EXPECT_EQ(fieldAt(list + 12 + 8 * 8, 2), padded(lastTag, 2)) << c.model;
        EXPECT_TRUE(allZero(list + 12 + 8 * c.entries, 116 - 8 * c.entries)) << c.model;
    }
    // The standard file's header part has room for six blocks on every model.
    EXPECT_EQ(getU32le(&runStandard(makeInput("CAMB-002", 0, 0, 0))[16]), 2752u);
}

TEST(LookFile, TimeStampRecordsLocalTimeLittleEndianClampedIntoItsFields) {
    auto output = std::make_unique<ZelGenOutput>();
    writeStandardTimeStamp(output->zel, march5th2026());
    const std::string expected("\xEA\x07\x03\x05\x0E\x07\x09\x00", 8);
    EXPECT_EQ(fieldAt(output->zel.fileHeader + 180, 8), expected);
    EXPECT_EQ(fieldAt(runExtended(makeInput("CAMB-001", 0, 0, 0)).part() + 180, 8), expected);

    output->zel.fileHeader[188] = 0x5A;
    writeStandardTimeStamp(output->zel, {70000, 13, 0, -1, 300, 61});
    EXPECT_EQ(fieldAt(output->zel.fileHeader + 180, 9),
              std::string("\xFF\xFF\x0C\x01\x00\x3B\x3C\x00\x5A", 9));
}

TEST(LookFile, HostTextFieldsAreCopiedByteForByteUpToTheFileFieldWidth) {
    ZelGenInput input = makeInput("CAMB-001", 0, 0, 0);
    std::memset(input.modelName, 'M', sizeof input.modelName);
    std::memset(input.lookHeaderText, 'T', sizeof input.lookHeaderText);
    std::memcpy(input.fileHeaderText, "ab\0cd", 5);
    std::memset(input.fileHeaderTag, 'G', sizeof input.fileHeaderTag);
    setText(input.lookHeaderNote, "Note");
    const std::vector<std::uint8_t> file = runStandard(input);

    EXPECT_EQ(fieldAt(&file[20], 32), std::string(32, 'M'));
    EXPECT_EQ(file[52], 'D') << "the model name carries no terminator into the file name";
    EXPECT_EQ(fieldAt(&file[188], 32), padded(std::string("ab\0cd", 5), 32));
    EXPECT_EQ(fieldAt(&file[220], 16), std::string(16, 'G'));
    EXPECT_TRUE(allZero(&file[236], 20));
    EXPECT_EQ(fieldAt(&file[460], 512), std::string(512, 'T'));
    EXPECT_EQ(fieldAt(&file[972], 128), padded("Note", 128));
}

TEST(LookFile, ExtendedWriterClearsWhatAnEarlierLongerHeaderLeft) {
    ExtendedRun run = runExtended(makeInput("CAMB-002", 0, 0, 0));
    {
        const zeltest::StreamCapture discard(std::cout);
        writeExtendedLookHeaders(makeInput("CAMB-001", 0, 0, 0), *run.output, march5th2026());
    }
    EXPECT_EQ(run.output->headerSize, 9920u);
    EXPECT_TRUE(allZero(run.part() + 9920, sizeof run.output->headerBytes - 9920));
}

}  // namespace
