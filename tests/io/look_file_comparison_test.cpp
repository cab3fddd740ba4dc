// The places the comparison names in a look file, where a golden digest's first changed
// byte is reported.

#include <gtest/gtest.h>

#include <algorithm>

#include "io/record_category.h"
#include "readback/body_records.h"
#include "readback/look_blocks_decoder.h"
#include "readback/look_file_comparison.h"
#include "support/look_jobs.h"

namespace {

using zel::describeFirstDifference;

std::vector<std::uint8_t> warmLookFile(const char* model, bool extended) {
    const std::vector<std::uint8_t> file =
        zeltest::makeLookFile(model, extended, 9, zeltest::warmLattice(9));
    EXPECT_FALSE(file.empty());
    return file;
}

std::string placeOf(const std::vector<std::uint8_t>& file, std::size_t at) {
    return zel::describeLookFileByte(file.data(), file.size(), at);
}

// The first written entry of the body with the given record category and kind of record.
zel::BodyEntry entryOf(const std::vector<std::uint8_t>& file, std::uint8_t category,
                       bool valuesOnly) {
    const zel::BodySpan body = zel::locateBody(file.data(), file.size());
    for (const zel::BodyEntry& entry :
         zel::readBodyEntries(file.data(), file.size(), body.tableAt, body.slots)) {
        if (entry.category == category && entry.valuesOnly == valuesOnly) {
            return entry;
        }
    }
    ADD_FAILURE() << "no such entry";
    return {};
}

TEST(LookFilePlaces, NameTheHeadersTheMetadataAndTheBodysParts) {
    const std::vector<std::uint8_t> file = warmLookFile("CAMB-001", false);
    const zel::BodySpan body = zel::locateBody(file.data(), file.size());
    EXPECT_EQ(placeOf(file, 180), "the file header, byte 180 of 256");
    EXPECT_EQ(placeOf(file, 300), "the look header, byte 44 of 896");
    EXPECT_EQ(placeOf(file, 1152 + 3), "the metadata header list, byte 3 of 64");
    EXPECT_EQ(placeOf(file, 1152 + 64 + 256 + 5), "metadata block 1, byte 5 of 256");
    EXPECT_EQ(placeOf(file, body.bodyAt + 8), "the body's chunk head, byte 8 of 64");
    EXPECT_EQ(placeOf(file, body.tableAt + 3 * 32 + 20),
              "entry 3 of the body's entry table, byte 20 of 32");
    EXPECT_EQ(placeOf(file, file.size() + 4).rfind("past the end", 0), 0u);

    // A cube memory list holds values only; a matrix record addresses and values.
    const zel::BodyEntry cube = entryOf(file, zel::kCubeRecord, true);
    const std::size_t cubeAt = body.tableAt + static_cast<std::size_t>(cube.offset);
    EXPECT_EQ(placeOf(file, cubeAt + 2 + 5)
                  .rfind("cube record of entry " + std::to_string(cube.slot) + " (pass " +
                             std::to_string(cube.pass) + "), the value of register 5, byte 7 of ",
                         0),
              0u)
        << placeOf(file, cubeAt + 7);
    const zel::BodyEntry table = entryOf(file, zel::kMatrixRecord, false);
    const std::size_t tableRecordAt = body.tableAt + static_cast<std::size_t>(table.offset);
    EXPECT_NE(placeOf(file, tableRecordAt + 2 + 2 * 3).find("the address of register 3"),
              std::string::npos)
        << placeOf(file, tableRecordAt + 8);
    EXPECT_NE(placeOf(file, tableRecordAt).find("its start marker SA"), std::string::npos);
}

TEST(LookFilePlaces, TheExtendedFilesMetadataBlocksAreLonger) {
    const std::vector<std::uint8_t> file = warmLookFile("CAMB-002", true);
    EXPECT_EQ(placeOf(file, 1152 + 100), "the metadata header list, byte 100 of 128");
    EXPECT_EQ(placeOf(file, 1152 + 128 + 2 * 1440 + 1), "metadata block 2, byte 1 of 1440");
}

TEST(LookFilePlaces, TheFirstDifferenceNamesItsByteItsPlaceAndBothValues) {
    const std::vector<std::uint8_t> reference = warmLookFile("CAMB-001", false);
    std::vector<std::uint8_t> file = reference;
    EXPECT_EQ(describeFirstDifference(file.data(), file.size(), reference.data(), reference.size()),
              "");

    const zel::BodySpan body = zel::locateBody(reference.data(), reference.size());
    const zel::BodyEntry cube = entryOf(reference, zel::kCubeRecord, true);
    const std::size_t at = body.tableAt + static_cast<std::size_t>(cube.offset) + 2 + 40;
    file[at] = static_cast<std::uint8_t>(reference[at] ^ 0x5A);
    file[at + 100] ^= 1;  // a later difference does not hide the first
    const std::string text =
        describeFirstDifference(file.data(), file.size(), reference.data(), reference.size());
    EXPECT_EQ(text.rfind("first difference at byte " + std::to_string(at) +
                             " (cube record of entry " + std::to_string(cube.slot),
                         0),
              0u)
        << text;
    EXPECT_NE(text.find("the value of register 40"), std::string::npos) << text;
    char values[64];
    std::snprintf(values, sizeof values, "): 0x%02X where the reference has 0x%02X", file[at],
                  reference[at]);
    EXPECT_NE(text.find(values), std::string::npos) << text;

    const std::vector<std::uint8_t> shorter(reference.begin(), reference.end() - 16);
    EXPECT_EQ(
        describeFirstDifference(shorter.data(), shorter.size(), reference.data(), reference.size()),
        "the first " + std::to_string(shorter.size()) + " bytes agree; the file has " +
            std::to_string(shorter.size()) + " bytes, the reference " +
            std::to_string(reference.size()));
}

}  // namespace
