// The camera model table and the settings builder.

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "platform/job_error.h"
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

    const ZelLookSettings first = settingsFor("CAMB-001", true);
    EXPECT_EQ(first.generationMode, 0);
    EXPECT_EQ(first.blockCount, 17);
    EXPECT_EQ(first.blockListLength, 17);
    EXPECT_EQ(first.blockList, settingsFor("CAMA-001", true).blockList);
    const ZelLookSettings second = settingsFor("CAMB-002", false);
    EXPECT_EQ(second.generationMode, 2);
    EXPECT_EQ(second.blockCount, 19);
    EXPECT_EQ(second.passCount, 3);
    // Model names match exactly; anything else gets no blocks (the job refuses it).
    EXPECT_TRUE(settingsFor("CAMB-0010", true).blockList.empty());
    EXPECT_EQ(settingsFor("camb-001", true).blockCount, 0);
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

// The builder refuses output curves above 2 for known sources only; the job's own check
// (see the job validation tests) refuses the rest.
TEST(SettingsBuilder, RejectsOnlyOutputCurvesAboveTwoForKnownSources) {
    PassTable out;
    ZelLookSettings curve3 = settingsFor("CAMB-001", false, 0, 3, 0);
    EXPECT_THROW(buildLookSettings(curve3, out), zel::JobError);
    ZelLookSettings unknownSource = settingsFor("CAMB-001", false, 7, 3, 0);
    EXPECT_NO_THROW(buildLookSettings(unknownSource, out));
    ZelLookSettings fine = settingsFor("CAMA-001", true, 3, 2, 1);
    EXPECT_NO_THROW(buildLookSettings(fine, out));
    EXPECT_NO_THROW(validateJobSelectors(fine, "CAMA-001"));
}

TEST(SettingsBuilder, AnUnknownGenerationModeIsRejected) {
    ZelLookSettings settings = settingsFor("CAMB-001", false);
    settings.generationMode = 1;
    PassTable out;
    try {
        buildLookSettings(settings, out);
        FAIL() << "mode 1 accepted";
    } catch (const zel::JobError& e) {
        EXPECT_EQ(e.code(), ZelEnum::ZEL_EXCEPTION_SETTINGS);
    }
}
