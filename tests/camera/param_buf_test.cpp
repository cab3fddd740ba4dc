#include "camera/param_buf.h"

#include <gtest/gtest.h>

#include "camera_blocks.h"

using camera_test::cubeBlock;
using camera_test::identityBlock;
using camera_test::rampBlock;
using Header = std::vector<std::int32_t>;

TEST(ParamBuf, FirstGenerationKeepsTwoCubesTheLaterOnesSharingTheSecond) {
    ZelLookSettings settings;
    ZelSharedParamBuf p;
    fillParamBuffer(settings, {cubeBlock(0, 3), cubeBlock(1, 5), cubeBlock(2, 4, 1)}, p);
    EXPECT_EQ(p.cubeHeader0, (Header{3, 3, 0, 0, 0}));
    EXPECT_EQ(p.cubeHeader1, (Header{4, 3, 0, 0, 1}));
    EXPECT_DOUBLE_EQ(p.cube1.values[((3 * 4 + 2) * 4 + 1) * 3 + 1], 0.02);  // node (3, 2, 1)
    EXPECT_TRUE(p.cube2.empty() && p.cubeHeader2.empty());
}

TEST(ParamBuf, SecondGenerationSkipsColourMatrixAndSecondLutButKeepsTheirOrder) {
    ZelLookSettings settings;
    settings.generationMode = zel::kSecondGeneration;
    ZelSharedParamBuf p;
    fillParamBuffer(settings,
                    {identityBlock(12, 0), rampBlock(zel::kCodeSecondLut, 3), cubeBlock(2, 2),
                     identityBlock(4, 1)},
                    p);
    std::vector<BlockOrderEntry> order{{99, 99}};
    copyBlockOrder(settings, order);
    ASSERT_EQ(order.size(), 4u);
    EXPECT_EQ(order[0].typeCode, 12u);
    EXPECT_EQ(order[1].typeCode, 14u);
    EXPECT_EQ(order[2].instance, 2u);
    EXPECT_TRUE(p.colorMatrix0.empty() && p.colorMatrixHeader0.empty());
    EXPECT_TRUE(p.secondLut0.empty() && p.secondLutHeader0.empty());
    EXPECT_EQ(p.cubeHeader2, (Header{2, 3, 0, 0, 0}));
    EXPECT_EQ(p.gainMatrixHeader1, (Header{3, 1, 0, 0}));
    EXPECT_EQ(p.gainMatrix1.values, (std::vector<double>{1, 0, 0, 0, 1, 0, 0, 0, 1}));
}

TEST(ParamBuf, FirstGenerationRoutesTablesByCodeAndInstance) {
    ZelLookSettings settings;
    ZelSharedParamBuf p;
    ZelColorConverter firstLut = rampBlock(zel::kCodeFirstLut, 1);
    firstLut.inputFirst = 4;
    firstLut.useFixedTable = 1;
    ZelColorConverter laterFirstLut = rampBlock(zel::kCodeFirstLut, 3);
    laterFirstLut.instance = 1;
    ZelColorConverter secondLut = rampBlock(zel::kCodeSecondLut, 3);
    secondLut.instance = 1;
    secondLut.headerOnly = 1;  // its header alone
    fillParamBuffer(settings,
                    {firstLut, laterFirstLut, secondLut, identityBlock(12, 3), ZelColorConverter()},
                    p);
    EXPECT_EQ(p.firstLutHeader, (Header{17, 1, 4, 16, 1, 0, 1}));
    EXPECT_EQ(p.firstLut.values.size(), 17u);
    EXPECT_EQ(p.secondLutHeader1, (Header{17, 3, 0, 16, 0, 1, 1}));
    EXPECT_TRUE(p.secondLut1.empty());
    EXPECT_EQ(p.colorMatrixHeader1, (Header{3, 1, 0, 0}));
    // The default converter (kind 0, code 0) only takes its place in the order.
    ASSERT_EQ(settings.blockOrder.size(), 5u);
    EXPECT_EQ(settings.blockOrder.back().typeCode, 0u);
}
