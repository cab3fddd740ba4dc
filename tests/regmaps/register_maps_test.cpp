#include "regmaps/register_maps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "regmaps/lut_images.h"
#include "regmaps/register_tables.h"

namespace {

using namespace zel::regmaps;

ZelLookSettings settingsFor(std::int32_t mode, std::int32_t source, std::int32_t target,
                            std::int32_t range) {
    ZelLookSettings settings;
    settings.generationMode = mode;
    settings.sourceEncoding = source;
    settings.outputCurve = target;
    settings.outputRange = range;
    return settings;
}

RegisterList page(const RegisterPage& table) {
    RegisterList list;
    loadRegisterPage(table, list);
    return list;
}
RegisterList matrix(const MatrixPage& table) {
    RegisterList list;
    loadMatrixPage(table, list);
    return list;
}
// The data part of an image: entries 3 to size - 3.
RegisterList imageData(const LutImage& lut) {
    RegisterList list;
    loadLutImage(lut, list);
    return RegisterList(list.begin() + 3, list.end() - 2);
}

bool untouched(const RegisterList& list) {
    return std::all_of(list.begin(), list.end(),
                       [](const RegisterEntry& entry) { return entry.addressEmpty(); });
}

TEST(RegisterMaps, FirstGenerationFillsItsBlocksForSource1HlgLegal) {
    ZelSharedIniBuf iniBuf("CAMB-001");
    loadRegisterMaps(settingsFor(0, 1, 2, 1), iniBuf);

    EXPECT_EQ(iniBuf.list(0), page(kTable0086));
    EXPECT_EQ(iniBuf.list(1), page(kTable0043));
    EXPECT_EQ(iniBuf.list(26), page(kLutControl0180));
    EXPECT_EQ(iniBuf.list(27), imageData(kLutImage0183));
    EXPECT_EQ(iniBuf.list(2), matrix(kMatrix0200Identity));
    EXPECT_EQ(iniBuf.list(6), matrix(kMatrix0200Identity));
    EXPECT_EQ(iniBuf.list(3), matrix(kGain0240Legal));
    EXPECT_EQ(iniBuf.list(62), matrix(kGain0240Legal));
    EXPECT_EQ(iniBuf.list(14), page(kLutControl0100Log));
    EXPECT_EQ(iniBuf.list(15), imageData(kLutImageLogFirst));
    EXPECT_EQ(iniBuf.list(16)[2].address(), "010F");
    EXPECT_EQ(iniBuf.list(17)[1].value(), "70");

    RegisterList luma;
    loadLumaChromaPage(kLumaChromaFirst, kLumaChromaRec2020First, 1, luma);
    EXPECT_EQ(iniBuf.list(57), luma);
    EXPECT_EQ(iniBuf.list(74), luma);
    EXPECT_EQ(iniBuf.list(57)[0].value(), "0A");
    EXPECT_EQ(iniBuf.list(57)[5].value(), "01");

    // Blocks of the second generation and of the engine stay as created.
    for (const int block : {4, 5, 8, 9, 10, 12, 42, 47, 60}) {
        EXPECT_TRUE(untouched(iniBuf.list(block))) << block;
    }
}

TEST(RegisterMaps, SecondGenerationChoosesVariantsBySource) {
    ZelSharedIniBuf log("CAMB-002");
    loadRegisterMaps(settingsFor(2, 0, 0, 0), log);
    EXPECT_EQ(log.list(15), imageData(kLutImageLogSecond));
    EXPECT_EQ(log.list(19), imageData(kLutImageLogSecond));
    EXPECT_EQ(log.list(23), imageData(kLutImageAcesCctSecond));
    for (const int control : {14, 18, 22}) {
        EXPECT_EQ(log.list(control), page(kLutControl0100Second)) << control;
    }
    EXPECT_EQ(log.list(10), matrix(kMatrix0200M2));
    EXPECT_EQ(log.list(4), matrix(kGain0280For1102371));
    EXPECT_EQ(log.list(12), matrix(kGain0280For1236954));
    EXPECT_EQ(log.list(35), page(kLutControl0A00Log));
    EXPECT_EQ(log.list(37), page(kLutControl0A00AcesCct));
    for (const int cube : {42, 47, 52}) {
        EXPECT_TRUE(untouched(log.list(cube))) << cube;  // the 3D LUT writer's page
    }
    EXPECT_EQ(log.list(57).size(), 21u);
    EXPECT_EQ(log.list(57)[3].value(), "B3");  // Rec.709 luma R 435

    ZelSharedIniBuf acesCc("CAMB-002");
    loadRegisterMaps(settingsFor(2, 2, 1, 0), acesCc);
    EXPECT_EQ(acesCc.list(10), matrix(kMatrix0200M2));
    EXPECT_EQ(acesCc.list(2), matrix(kMatrix0200M1));
    EXPECT_EQ(acesCc.list(4), matrix(kGain0280For1134644));
    EXPECT_EQ(acesCc.list(8), matrix(kGain0280For1134644));
    EXPECT_EQ(acesCc.list(12), matrix(kGain0280For1134644));
    EXPECT_EQ(acesCc.list(23), imageData(kLutImageAcesCcSecond));
    EXPECT_EQ(acesCc.list(37), page(kLutControl0A00AcesCc));
}

TEST(RegisterMaps, OtherModesLeaveEveryBlockAsCreated) {
    for (const std::int32_t mode : {1, 3, -1}) {
        ZelSharedIniBuf iniBuf("CAMB-002");
        loadRegisterMaps(settingsFor(mode, 0, 0, 0), iniBuf);
        for (const int block : {0, 1, 2, 3, 14, 15, 26, 27, 35, 42, 57, 62, 74}) {
            EXPECT_TRUE(untouched(iniBuf.list(block))) << "mode " << mode << " block " << block;
        }
    }
}

TEST(RegisterMaps, OutOfRangeSelectorsLeaveTheirBlocksUntouched) {
    ZelSharedIniBuf badSource("CAMB-001");
    loadRegisterMaps(settingsFor(0, 4, 0, 0), badSource);
    for (const int block : {2, 6, 14, 15, 16, 17}) {
        EXPECT_TRUE(untouched(badSource.list(block))) << block;
    }
    EXPECT_EQ(badSource.list(3), matrix(kGain0240Identity));
    EXPECT_EQ(badSource.list(0), page(kTable0086));

    ZelSharedIniBuf badTargetAndRange("CAMB-002");
    loadRegisterMaps(settingsFor(2, 3, 3, 0), badTargetAndRange);
    EXPECT_TRUE(untouched(badTargetAndRange.list(57)));
    EXPECT_EQ(badTargetAndRange.list(4), matrix(kGain0280For1236954));

    ZelSharedIniBuf badRange("CAMB-002");
    loadRegisterMaps(settingsFor(2, 5, 0, 2), badRange);
    for (const int block : {3, 57, 2, 10, 15, 42}) {
        EXPECT_TRUE(untouched(badRange.list(block))) << block;
    }
    EXPECT_EQ(badRange.list(14), page(kLutControl0100Second));  // the same for every source
}

TEST(RegisterMaps, UnknownModelGetsTablesButNoImageSplitsPastItsEmptyBlocks) {
    ZelSharedIniBuf iniBuf("CAMZ-999");
    loadRegisterMaps(settingsFor(0, 0, 0, 0), iniBuf);
    EXPECT_EQ(iniBuf.list(0), page(kTable0086));
    EXPECT_TRUE(iniBuf.list(15).empty());  // the image's data has nowhere to go
}

}  // namespace
