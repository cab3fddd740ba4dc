#include "camera/param_buf.h"

#include <gtest/gtest.h>

#include "camera_blocks.h"

using camera_test::cubeBlock;
using camera_test::identityBlock;
using camera_test::rampBlock;
using Header = std::vector<std::int32_t>;

namespace {

std::vector<std::pair<std::uint32_t, std::uint32_t>> orderOf(const ZelLookSettings& settings) {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> order;
    for (const BlockOrderEntry& entry : settings.blockOrder) {
        order.emplace_back(entry.typeCode, entry.instance);
    }
    return order;
}

}  // namespace

TEST(ParamBuf, FirstGenerationKeepsTwoCubesTheLaterOnesSharingTheSecond) {
    ZelLookSettings settings;
    settings.generationMode = zel::kFirstGeneration;
    ZelSharedParamBuf p;
    fillParamBuffer(settings, {cubeBlock(0, 3), cubeBlock(1, 5), cubeBlock(2, 4, 1)}, p);
    EXPECT_EQ(p.cubeHeader0, (Header{3, 3, 0, 0, 0}));
    EXPECT_EQ(p.cube0.values.size(), 27u * 3);
    EXPECT_EQ(p.cubeHeader1, (Header{4, 3, 0, 0, 1}));
    EXPECT_EQ(p.cube1.values.size(), 64u * 3);
    EXPECT_DOUBLE_EQ(p.cube1.values[((3 * 4 + 2) * 4 + 1) * 3 + 1], 0.02);  // node (3, 2, 1)
    EXPECT_TRUE(p.cube2.empty());
    EXPECT_TRUE(p.cubeHeader2.empty());
}

TEST(ParamBuf, SecondGenerationSkipsColourMatrixAndSecondLutButKeepsTheirOrder) {
    ZelLookSettings settings;
    settings.generationMode = zel::kSecondGeneration;
    ZelSharedParamBuf p;
    ZelColorConverter secondLut = rampBlock(zel::kCodeSecondLut, 3);
    fillParamBuffer(settings,
                    {identityBlock(12, 0), secondLut, cubeBlock(2, 2), identityBlock(4, 1),
                     identityBlock(5, 0)},
                    p);
    EXPECT_EQ(orderOf(settings),
              (decltype(orderOf(settings)){{12, 0}, {14, 0}, {9, 2}, {4, 1}, {5, 0}}));
    EXPECT_TRUE(p.colorMatrix0.empty() && p.colorMatrixHeader0.empty());
    EXPECT_TRUE(p.secondLut0.empty() && p.secondLutHeader0.empty());
    EXPECT_EQ(p.cubeHeader2, (Header{2, 3, 0, 0, 0}));
    EXPECT_EQ(p.gainMatrixHeader1, (Header{3, 1, 0, 0}));
    EXPECT_EQ(p.gainMatrix1.values, (std::vector<double>{1, 0, 0, 0, 1, 0, 0, 0, 1}));
    EXPECT_EQ(p.secondMatrix0.rows, 3);
    EXPECT_TRUE(p.gainMatrix0.empty());
}

TEST(ParamBuf, FirstGenerationRoutesTablesByCodeAndInstance) {
    ZelLookSettings settings;
    ZelSharedParamBuf p;
    ZelColorConverter firstLut = rampBlock(zel::kCodeFirstLut, 1);
    firstLut.inputFirst = 4;
    firstLut.inputLast = 20;
    firstLut.flagA = 1;
    ZelColorConverter laterFirstLut = rampBlock(zel::kCodeFirstLut, 3);
    laterFirstLut.instance = 1;
    ZelColorConverter secondLut = rampBlock(zel::kCodeSecondLut, 3);
    secondLut.instance = 1;
    fillParamBuffer(settings,
                    {firstLut, laterFirstLut, secondLut, identityBlock(12, 3), ZelColorConverter()},
                    p);
    EXPECT_EQ(p.firstLutHeader, (Header{17, 1, 4, 20, 1, 0, 1}));
    EXPECT_EQ(p.firstLut.values.size(), 17u);
    EXPECT_EQ(p.secondLutHeader1, (Header{17, 3, 0, 16, 0, 0, 1}));
    EXPECT_DOUBLE_EQ(p.secondLut1.at(16, 2), 3.0);
    EXPECT_EQ(p.colorMatrixHeader1, (Header{3, 1, 0, 0}));
    // The default converter (kind 0, code 0) only takes its place in the order.
    EXPECT_EQ(settings.blockOrder.size(), 5u);
    EXPECT_EQ(settings.blockOrder.back().typeCode, 0u);
    std::vector<BlockOrderEntry> order{{99, 99}};
    EXPECT_EQ(copyBlockOrder(settings, order).size(), 5u);
    EXPECT_EQ(order[2].typeCode, 14u);
}

TEST(ParamBuf, HeaderOnlyTableLeavesTheTableAsItWas) {
    ZelLookSettings settings;
    ZelSharedParamBuf p;
    ZelColorConverter lut = rampBlock(zel::kCodeSecondLut, 3);
    lut.flagB = 1;
    fillParamBuffer(settings, {lut}, p);
    EXPECT_TRUE(p.secondLut0.empty());
    EXPECT_EQ(p.secondLutHeader0, (Header{17, 3, 0, 16, 0, 1, 1}));
}
