#include "camera/engine.h"

#include <gtest/gtest.h>

#include "camera_blocks.h"

using camera_test::CameraJob;
using camera_test::cubeBlock;
using camera_test::identityBlock;
using camera_test::untouched;

TEST(Engine, LookWithoutBlocksOnlyCopiesTheLutHeaders) {
    ZelColorConverter lut = camera_test::rampBlock(zel::kCodeSecondLut, 3);
    lut.headerOnly = 1;  // its header alone
    ZelLookSettings settings;
    ZelSharedParamBuf paramBuf;
    fillParamBuffer(settings, {lut}, paramBuf);
    EngineConfig config;
    ZelSharedIniBuf iniBuf("CAMB-001");
    runEngine(initEngineConfig(config, 0), {}, 0, 0, paramBuf, iniBuf);
    EXPECT_EQ(iniBuf.header(72), paramBuf.secondLutHeader0);
    EXPECT_TRUE(untouched(iniBuf.list(64)) && untouched(iniBuf.group(45)[0]));
}

TEST(Engine, SecondGenerationExtendedJobWritesItsBlocks) {
    std::vector<ZelColorConverter> blocks = camera_test::secondGenerationJob();
    blocks.push_back(identityBlock(12, 0));
    blocks.push_back(camera_test::rampBlock(zel::kCodeSecondLut, 3));
    CameraJob job(zel::kSecondGeneration, "CAMB-002", blocks);
    for (int matrixPage : {4, 5, 8, 9}) {
        EXPECT_EQ(job.iniBuf.list(matrixPage)[2].value(), "01") << matrixPage;
    }
    for (int cubeMemory : {45, 50, 55}) {
        EXPECT_EQ(job.iniBuf.group(cubeMemory)[23][9825].value(), "0A") << cubeMemory;
    }
    EXPECT_EQ(job.iniBuf.list(30)[0x45], RegisterEntry("0845", "09"));  // the fixed page
    EXPECT_EQ(job.iniBuf.header(34), job.paramBuf.firstLutHeader);
    // The colour matrix and the second 1D LUT have no place in this camera.
    EXPECT_TRUE(untouched(job.iniBuf.list(60)) && untouched(job.iniBuf.list(64)));
    EXPECT_TRUE(untouched(job.iniBuf.group(65)[0]));
}

TEST(Engine, EveryCubeTakesTheDomainOptionOfTheFirst) {
    CameraJob job(zel::kFirstGeneration, "CAMB-001", {cubeBlock(0, 17, 1), cubeBlock(1, 17, 0)});
    EXPECT_EQ(job.iniBuf.list(47)[0].value(), "03");  // computed
    CameraJob fixed(zel::kFirstGeneration, "CAMB-001", {cubeBlock(0, 17, 0), cubeBlock(1, 17, 1)});
    EXPECT_EQ(fixed.iniBuf.list(47)[0x1C].value(), "55");  // ACEScct table
}

TEST(Engine, HostileHeadersStayInsideTheirTables) {
    ZelSharedParamBuf p;
    p.firstLutHeader = {17, 3, 16, 0, 0, 0, 1};  // more rows than stored, a negative span
    p.firstLut = ParamTable{2, 3, {0, 1, 2, 3, 4, 5}};
    p.secondLutHeader0 = {4, 5};  // too short to say anything
    p.secondLut0 = ParamTable{1, 1, {1}};
    p.secondLutHeader1 = {3, 9, 0, 2, 0, 0, 1};  // nine channels
    p.secondLut1 = ParamTable{3, 9, std::vector<double>(27, 0.5)};
    p.gainMatrix0 = ParamTable{2, 2, {1, 0, 0, 1}};
    p.cubeHeader0 = {17};  // a cube of 17 announced, 5 stored
    p.cube0 = ParamCube{5, std::vector<double>(125 * 3, 0.5)};
    p.cube1 = ParamCube{5, std::vector<double>(125 * 3, 0.5)};  // no header at all
    const std::vector<BlockOrderEntry> order = {{8, 0}, {14, 0}, {14, 1}, {4, 0}, {9, 0},
                                                {9, 1}, {13, 0}, {99, 0}, {12, 1}};
    for (const char* model : {"CAMB-001", "CAMA-001", "CAMB-002", "CAMX-001"}) {
        for (std::int32_t mode : {0, 2}) {
            EngineConfig config;
            ZelSharedIniBuf iniBuf(model);
            runEngine(initEngineConfig(config, mode), order, 0, 0, p, iniBuf);
            if (std::string(model) == "CAMB-001") {
                EXPECT_TRUE(untouched(iniBuf.list(4)) && untouched(iniBuf.group(45)[0]));
                EXPECT_EQ(iniBuf.group(65)[2][1].value(), "12");  // 0.5 x 8192 + 512 = 1200
            }
        }
    }
}
