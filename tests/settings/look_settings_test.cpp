// The camera model table and the settings builder.

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "settings/look_settings.h"
#include "zel/enums.h"

namespace {

ZelLookSettings settingsFor(const std::string& model, bool longChain, int source = 0, int curve = 0,
                            int range = 0) {
    ZelLookSettings settings;
    applyModelTable(settings, ZelSettingsSeed(static_cast<std::uint8_t>(source),
                                              static_cast<std::uint8_t>(curve),
                                              static_cast<std::uint8_t>(range), model, longChain));
    return settings;
}

std::set<int> flaggedBlocks(const PassTable& table, std::size_t pass) {
    std::set<int> flagged;
    for (std::size_t b = 0; b < table[pass].size(); ++b) {
        EXPECT_EQ(table[pass][b].size(), 1u);
        if (table[pass][b][0] != 0) {
            flagged.insert(static_cast<int>(b));
        }
    }
    return flagged;
}

}  // namespace

TEST(CameraModelTable, BlockListsFollowModelAndChainLength) {
    using List = std::vector<std::int32_t>;
    EXPECT_EQ(settingsFor("CAMB-001", false).blockList,
              (List{2, 6, 4, 5, 8, 3, 10, 9, 12, 14, 13, 16}));
    EXPECT_EQ(settingsFor("CAMB-001", true).blockList,
              (List{0, 7, 1, 2, 6, 4, 5, 8, 3, 10, 9, 11, 15, 12, 14, 13, 16}));
    EXPECT_EQ(settingsFor("CAMB-002", false).blockList, (List{2, 6, 4, 5, 8, 3, 10, 9, 17}));
    EXPECT_EQ(settingsFor("CAMB-002", true).blockList,
              (List{0, 7, 1, 2, 6, 4, 5, 8, 3, 10, 9, 17, 18}));

    const ZelLookSettings first = settingsFor("CAMB-001", true, 1, 2, 1);
    const ZelLookSettings other = settingsFor("CAMA-001", true, 1, 2, 1);
    EXPECT_EQ(first.generationMode, 0);
    EXPECT_EQ(first.blockCount, 17);
    EXPECT_EQ(first.blockListLength, 17);
    EXPECT_EQ(first.passCount, 0);
    EXPECT_EQ(first.entryTag, 0);
    EXPECT_EQ(first.blockList, other.blockList);
    EXPECT_EQ(first.generationMode, other.generationMode);
    EXPECT_EQ(first.sourceEncoding, 1);
    EXPECT_EQ(first.outputCurve, 2);
    EXPECT_EQ(first.outputRange, 1);

    const ZelLookSettings second = settingsFor("CAMB-002", false);
    EXPECT_EQ(second.generationMode, 2);
    EXPECT_EQ(second.blockCount, 19);
    EXPECT_EQ(second.passCount, 3);
}

TEST(CameraModelTable, ModelNamesMatchExactly) {
    for (const char* model : {"camb-001", "CAMB-001 ", "CAMB-0010", "Q7", "", "CAMB"}) {
        const ZelLookSettings settings = settingsFor(model, true);
        EXPECT_EQ(settings.generationMode, 0) << model;
        EXPECT_EQ(settings.blockCount, 0) << model;
        EXPECT_TRUE(settings.blockList.empty()) << model;
        EXPECT_EQ(settings.blockListLength, 0) << model;
    }
}

TEST(SettingsBuilder, PassTablesFlagTheReusedBlocks) {
    ZelLookSettings first = settingsFor("CAMB-001", false);
    PassTable out;
    buildLookSettings(first, out);
    EXPECT_EQ(first.entryTag, 1);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out, first.passTable);
    EXPECT_EQ(out[0].size(), 17u);
    EXPECT_EQ(flaggedBlocks(out, 0), (std::set<int>{11, 13, 15, 16}));
    EXPECT_EQ(flaggedBlocks(out, 1),
              (std::set<int>{0, 1, 3, 4, 5, 6, 7, 8, 10, 11, 13, 14, 15, 16}));

    ZelLookSettings second = settingsFor("CAMB-002", true);
    buildLookSettings(second, out);
    EXPECT_EQ(second.entryTag, 1);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0].size(), 19u);
    EXPECT_TRUE(flaggedBlocks(out, 0).empty());
    EXPECT_EQ(flaggedBlocks(out, 1), (std::set<int>{0, 1, 3, 5, 8, 10}));
    EXPECT_EQ(flaggedBlocks(out, 2), (std::set<int>{0, 1, 3, 5, 8, 10}));
}

TEST(SettingsBuilder, RejectsOnlyOutputCurvesAboveTwoForKnownSources) {
    PassTable out;
    ZelLookSettings curve3 = settingsFor("CAMB-001", false, 0, 3, 0);
    EXPECT_THROW(buildLookSettings(curve3, out), ZelEnum::ZelException);

    // The builder itself lets these through; the job's own check rejects them.
    ZelLookSettings unknownSource = settingsFor("CAMB-001", false, 7, 3, 0);
    EXPECT_NO_THROW(buildLookSettings(unknownSource, out));
    EXPECT_THROW(validateJobSelectors(unknownSource, "CAMB-001"), ZelEnum::ZelException);

    ZelLookSettings range5 = settingsFor("CAMB-002", false, 0, 0, 5);
    EXPECT_NO_THROW(buildLookSettings(range5, out));
    EXPECT_EQ(range5.outputRange, 5);
    EXPECT_THROW(validateJobSelectors(range5, "CAMB-002"), ZelEnum::ZelException);

    ZelLookSettings fine = settingsFor("CAMA-001", true, 3, 2, 1);
    EXPECT_NO_THROW(buildLookSettings(fine, out));
    EXPECT_NO_THROW(validateJobSelectors(fine, "CAMA-001"));
    EXPECT_THROW(validateJobSelectors(fine, "CAMA-002"), ZelEnum::ZelException);
}

TEST(SettingsBuilder, AnUnknownGenerationModeIsRejected) {
    ZelLookSettings settings = settingsFor("CAMB-001", false);
    settings.generationMode = 1;
    PassTable out;
    try {
        buildLookSettings(settings, out);
        FAIL() << "mode 1 accepted";
    } catch (ZelEnum::ZelException e) {
        EXPECT_EQ(e, ZelEnum::ZEL_EXCEPTION_SETTINGS);
    }
}
