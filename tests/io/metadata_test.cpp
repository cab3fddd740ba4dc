#include <gtest/gtest.h>

#include "look_file_fixtures.h"

namespace {

using namespace zel::test;

// Label bytes as a loader expects them, first byte first: a shared seven-byte prefix, then
// the label's own nine bytes.
std::string label(const char (&tail)[10]) {
    return std::string("\x06\x0E\x2B\x34\x04\x01\x01", 7) + std::string(tail, 9);
}
const std::string kPqTransfer = label("\x0D\x04\x01\x01\x01\x01\x0A\x00\x00");
const std::string kRec2020Primaries = label("\x0D\x04\x01\x01\x01\x03\x04\x00\x00");
const std::string kRec2020Coding = label("\x0D\x04\x01\x01\x01\x02\x06\x00\x00");
const std::string kQEnc3Transfer = label("\x06\x0E\x06\x04\x01\x01\x01\x06\x04");
const std::string kAcesCctTransfer = label("\x06\x0E\x06\x04\x01\x01\x01\x07\x06");
const std::string kAcesAp1Primaries = label("\x06\x0E\x06\x04\x01\x01\x03\x03\x02");
const std::string kRec709Transfer = label("\x01\x04\x01\x01\x01\x01\x02\x00\x00");
const std::string kLinearTransfer = label("\x06\x04\x01\x01\x01\x01\x06\x00\x00");

constexpr std::size_t kStandardBlocks = 1216;
constexpr std::size_t kExtendedBlocks = 1280;

ZelGenInput warmCoolInput(const char* model, int source) {
    ZelGenInput input = makeInput(model, source, 1, 1);
    setText(input.lookHeaderNote, "Warm");
    setText(input.metadataName, "Cool");
    setText(input.metadataNameLong, "Cool");
    return input;
}

// A Film source swaps the names between the classes.
TEST(Metadata, StandardBlocksNameTheLookPerClassForQEnc3) {
    for (const int source : {0, 1}) {
        const std::vector<std::uint8_t> file = runStandard(warmCoolInput("CAMB-001", source));
        const std::string own = padded(source == 0 ? "LUT:Warm" : "LUT:Cool", 32);
        const std::string other = padded(source == 0 ? "LUT:Cool" : "LUT:Warm", 32);
        const std::string none = padded("none", 32);
        const std::string slotB[] = {own, own, none, other, other, none};
        const std::string slotA[] = {none, none, own, none, none, other};
        for (int k = 0; k < 6; ++k) {
            SCOPED_TRACE("source " + std::to_string(source) + " block " + std::to_string(k));
            const std::uint8_t* block = &file[kStandardBlocks + 256 * static_cast<std::size_t>(k)];
            EXPECT_EQ(fieldAt(block + 34, 32), slotA[k]);
            EXPECT_EQ(fieldAt(block + 66, 32), slotB[k]);
            EXPECT_EQ(fieldAt(block + 98, 16), kRec2020Primaries);
            EXPECT_EQ(fieldAt(block + 114, 16), kPqTransfer);
            EXPECT_EQ(fieldAt(block + 130, 16), kPqTransfer);
            EXPECT_EQ(fieldAt(block + 146, 16), kRec2020Coding);
            EXPECT_EQ(fieldAt(block + 162, 32), padded("ZEL:Day_Ext.zel", 32));
            EXPECT_EQ(block[194], 6);
        }
    }
    const std::vector<std::uint8_t> file = runStandard(warmCoolInput("CAMB-001", 0));
    EXPECT_EQ(fieldAt(&file[kStandardBlocks], 2), "\x07\x04");
    EXPECT_EQ(fieldAt(&file[kStandardBlocks + 2], 16), kQEnc3Transfer);
    EXPECT_EQ(fieldAt(&file[kStandardBlocks + 3 * 256], 2), "\x08\x05");
    EXPECT_EQ(fieldAt(&file[kStandardBlocks + 2 * 256], 2), "\x0A\x02");
    EXPECT_EQ(fieldAt(&file[kStandardBlocks + 5 * 256], 2), "\x0A\x02");
}

TEST(Metadata, StandardNamesTakeFixedByteCountsWithoutTerminator) {
    ZelGenInput input = warmCoolInput("CAMB-001", 0);
    std::memcpy(input.lookHeaderNote, "ab\0cd", 5);
    std::memset(input.lookFileName, 'F', sizeof input.lookFileName);
    const std::vector<std::uint8_t> file = runStandard(input);
    EXPECT_EQ(fieldAt(&file[kStandardBlocks + 66], 32), padded(std::string("LUT:ab\0cd", 9), 32));
    EXPECT_EQ(fieldAt(&file[kStandardBlocks + 162], 32), "ZEL:" + std::string(28, 'F'));
}

TEST(Metadata, UnknownSourceLeavesOnlyOutputFieldsInStandardBlocks) {
    const std::vector<std::uint8_t> file = runStandard(warmCoolInput("CAMB-001", 7));
    for (int k = 0; k < 6; ++k) {
        const std::uint8_t* block = &file[kStandardBlocks + 256 * static_cast<std::size_t>(k)];
        EXPECT_EQ(fieldAt(block, 2), k % 3 == 2 ? "\x0A\x02" : std::string(2, '\0')) << k;
        EXPECT_TRUE(allZero(block + 2, 96)) << "block " << k;
        EXPECT_EQ(fieldAt(block + 114, 16), kPqTransfer) << "block " << k;
        EXPECT_TRUE(allZero(block + 162, 94)) << "block " << k;
    }
}

TEST(Metadata, FirstGenerationExtendedTextsAreLimitedTo32Bytes) {
    ZelGenInput input = warmCoolInput("CAMB-001", 0);
    setText(input.lookFileName, "A_very_long_look_file_name_for_testing.zel");
    setText(input.lookHeaderNote, std::string(40, 'N'));
    setText(input.metadataNameLong, std::string(40, 'C'));
    const ExtendedRun run = runExtended(input);
    const std::uint8_t* block = run.part() + kExtendedBlocks + 1440;
    EXPECT_EQ(fieldAt(block + 338, 64), padded("ZEL:QE3QP3;A_very_long_look_file", 64));
    EXPECT_EQ(fieldAt(block + 744, 64), fieldAt(block + 338, 64));
    EXPECT_EQ(fieldAt(block + 210, 64), padded("LUT:" + std::string(28, 'N'), 64));
    EXPECT_EQ(fieldAt(block + 584, 64), fieldAt(block + 210, 64));
    EXPECT_EQ(fieldAt(block + 3 * 1440 + 210, 64), padded("LUT:" + std::string(28, 'C'), 64));
}

TEST(Metadata, LaterModelsTake63ByteNames) {
    ZelGenInput input = warmCoolInput("CAMB-002", 0);
    setText(input.lookHeaderNote, std::string(129, 'N'));
    const ExtendedRun run = runExtended(input);
    EXPECT_EQ(fieldAt(run.part() + kExtendedBlocks + 210, 64),
              padded("LUT:" + std::string(59, 'N'), 64));
    EXPECT_EQ(fieldAt(run.part() + kExtendedBlocks + 338, 64),
              padded("ZEL:QE3QP3;Day_Ext.zel", 64));
}

TEST(Metadata, NineBlockJobDescribesTheAcesCctClass) {
    const ExtendedRun run = runExtended(warmCoolInput("CAMB-002", 0));
    for (int k = 6; k < 9; ++k) {
        const std::uint8_t* block =
            run.part() + kExtendedBlocks + 1440 * static_cast<std::size_t>(k);
        EXPECT_EQ(fieldAt(block + 112, 2), k == 8 ? "\x0A\x02" : "\x06\x08") << k;
        EXPECT_EQ(fieldAt(block + 114, 16), kAcesCctTransfer) << k;
        EXPECT_EQ(fieldAt(block + 130, 16), kAcesAp1Primaries) << k;
        EXPECT_EQ(fieldAt(block + 904, 7), std::string("\x00\x02\x02\x02\x02\x02\x01", 7)) << k;
        EXPECT_EQ(fieldAt(block + 911, 16), kAcesCctTransfer) << k;
        EXPECT_EQ(fieldAt(block + 927, 16), kAcesAp1Primaries) << k;
        EXPECT_EQ(fieldAt(block + 1010, 48), fieldAt(block + 911, 48)) << k;
        EXPECT_EQ(block[1058], 5) << k;
        EXPECT_EQ(fieldAt(block + 1059, 24), padded("aces-cct ", 24)) << k;
        EXPECT_EQ(fieldAt(block + 1083, 24), padded("aces-ap1", 24)) << k;
        EXPECT_EQ(fieldAt(block + 472, 24), padded("aces-cct ", 24)) << k;
        EXPECT_EQ(fieldAt(block + 424, 24), padded(k == 8 ? "smpte2084" : "aces-proxy", 24)) << k;
        EXPECT_EQ(fieldAt(block + 1160, 7), std::string("\x00\x09\x10\x09\x09\x10\x09", 7)) << k;
        EXPECT_EQ(block[1314], 6) << k;
    }
    const std::uint8_t* first = run.part() + kExtendedBlocks;
    EXPECT_EQ(first[1058], 2);
    EXPECT_EQ(fieldAt(first + 904, 7), std::string("\x01\x02\x02\x02\x02\x02\x01", 7));
    EXPECT_EQ(fieldAt(first + 832, 16), kLinearTransfer);
    EXPECT_EQ(fieldAt(first + 864, 24), padded("scene-linear", 24));
}

TEST(Metadata, Mode3RewritesOutputDescriptionAndFirstBlockSlots) {
    const ExtendedRun run = runExtended(warmCoolInput("CAMA-001", 0));
    const std::string cameraCodes = std::string("\x01\x02\x02\x02", 4) + "fff";
    for (int k = 0; k < 6; ++k) {
        const std::uint8_t* block =
            run.part() + kExtendedBlocks + 1440 * static_cast<std::size_t>(k);
        EXPECT_EQ(fieldAt(block + 904, 7), cameraCodes) << k;
        EXPECT_EQ(fieldAt(block + 1160, 7), cameraCodes) << k;
        EXPECT_EQ(fieldAt(block + 1167, 16), kQEnc3Transfer) << k;
        EXPECT_EQ(fieldAt(block + 1266, 16), kRec709Transfer) << k;
        EXPECT_EQ(fieldAt(block + 1315, 24), padded("q-enc3", 24)) << k;
        EXPECT_EQ(fieldAt(block + 1339, 24), padded("q-prims3", 24)) << k;
        EXPECT_EQ(fieldAt(block + 1363, 24), padded("rec709", 24)) << k;
        EXPECT_EQ(block[1058], 6) << k;
    }
    const std::uint8_t* first = run.part() + kExtendedBlocks;
    EXPECT_EQ(fieldAt(first + 146, 64), padded("LUT:Warm", 64));
    EXPECT_EQ(fieldAt(first + 210, 64), padded("none", 64));
    EXPECT_EQ(fieldAt(first + 520, 128), fieldAt(first + 146, 128));
    const std::uint8_t* second = first + 1440;
    EXPECT_EQ(fieldAt(second + 146, 64), padded("none", 64));
    EXPECT_EQ(fieldAt(second + 210, 64), padded("LUT:Warm", 64));
}

TEST(Metadata, Mode3WritesLinearDescriptionEvenForUnknownSource) {
    const ExtendedRun run = runExtended(warmCoolInput("CAMA-001", 9));
    const std::uint8_t* block = run.part() + kExtendedBlocks;
    EXPECT_EQ(fieldAt(block + 832, 16), kLinearTransfer);
    EXPECT_EQ(block[1314], 6);
    EXPECT_TRUE(allZero(block + 112, 112)) << "source fields and slots stay zero";
}

TEST(Metadata, UnknownOutputCurveZeroesEveryExtendedOutputField) {
    const ExtendedRun run = runExtended(makeInput("CAMB-001", 0, 3, 0));
    const std::uint8_t* block = run.part() + kExtendedBlocks + 2 * 1440;
    const std::pair<std::size_t, std::size_t> outputFields[] = {
        {112, 2}, {274, 64}, {424, 48}, {648, 96}, {1160, 7 + 48}, {1266, 48}, {1315, 72}};
    for (const auto& [at, length] : outputFields) {
        EXPECT_TRUE(allZero(block + at, length)) << "at " << at;
    }
    EXPECT_EQ(block[1314], 2);
}

}  // namespace
