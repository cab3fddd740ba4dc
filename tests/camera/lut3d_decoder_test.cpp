#include "camera/lut3d_decoder.h"

#include <gtest/gtest.h>

#include <random>

#include "camera/engine.h"
#include "camera/lut3d_writer.h"
#include "camera/register_block.h"

namespace {

// Writes a random cube of `size` nodes (values 0 to 1.2, fixed seed) the way the engine
// does, and returns its registers and the cube.
struct WrittenCube {
    CubeRegisters registers;
    ParamCube cube;
};

WrittenCube writeRandomCube(const char* model, int mode, int size, std::int32_t flagD) {
    std::mt19937 random(7);
    ZelSharedParamBuf paramBuf;
    paramBuf.cube0.size = size;
    for (int i = 0; i < size * size * size * 3; ++i) {
        paramBuf.cube0.values.push_back(1.2 * (random() % 100000) / 100000.0);
    }
    paramBuf.cubeHeader0 = {size, 3, 0, 0, flagD};
    EngineConfig config;
    initEngineConfig(config, mode);
    ZelSharedIniBuf image(model);
    writeCubeBlock(config, paramBuf, image, 0, 0, flagD, static_cast<std::uint32_t>(mode));
    WrittenCube out{{image.list(zel::block::kCubeControl), image.list(zel::block::kCubeBegin),
                     image.group(zel::block::kCubeSelect), image.group(zel::block::kCubeMemory),
                     image.list(zel::block::kCubeEnd)},
                    paramBuf.cube0};
    return out;
}

TEST(CubeDecoder, GivesEveryNodeBackWithinOneMemoryStepInBothGenerations) {
    for (const auto& [model, mode, grid] : {std::tuple{"CAMB-001", 0, 20}, {"CAMB-002", 2, 34}}) {
        const WrittenCube written = writeRandomCube(model, mode, grid, 0);
        const DecodedCube decoded = decodeCubeMemory(written.registers, grid);
        ASSERT_EQ(decoded.grid, grid);
        for (int r = 0; r < grid; ++r) {
            for (int g = 0; g < grid; ++g) {
                for (int b = 0; b < grid; ++b) {
                    const double* value =
                        &written.cube
                             .values[((static_cast<std::size_t>(r) * grid + g) * grid + b) * 3];
                    for (int c = 0; c < 3; ++c) {
                        ASSERT_NEAR(decoded.node(r, g, b)[c], value[c], 0.5 * kCubeWordStep + 1e-6)
                            << model << " node " << r << " " << g << " " << b << " channel " << c;
                    }
                }
            }
        }
    }
}

TEST(CubeDecoder, StoringTheDecodedCubeGivesTheSameRegisters) {
    for (const auto& [model, mode, grid] : {std::tuple{"CAMB-001", 0, 20}, {"CAMB-002", 2, 34}}) {
        const WrittenCube written = writeRandomCube(model, mode, grid, 0);
        const CubeRegisters again = encodeCubeMemory(decodeCubeMemory(written.registers, grid));
        EXPECT_EQ(again.control, written.registers.control) << model;
        EXPECT_EQ(again.begin, written.registers.begin) << model;
        EXPECT_EQ(again.select, written.registers.select) << model;
        EXPECT_EQ(again.data, written.registers.data) << model;
        EXPECT_EQ(again.end, written.registers.end) << model;
    }
}

TEST(CubeDecoder, ReadsTheNodePositionsOfTheControlPage) {
    // The fixed page of the log encodings, and the page computed for a 17-node cube that
    // spans the whole code range, whose last three grid nodes are padding.
    const DecodedCube fixed = decodeCubeMemory(writeRandomCube("CAMB-001", 0, 20, 0).registers, 20);
    ASSERT_EQ(fixed.nodePositions.size(), 20u);
    EXPECT_EQ(fixed.nodePositions.front(), 760u);
    EXPECT_EQ(fixed.nodePositions.back(), 7118u);

    const DecodedCube computed =
        decodeCubeMemory(writeRandomCube("CAMB-001", 0, 17, 1).registers, 20);
    ASSERT_EQ(computed.nodePositions.size(), 17u);
    EXPECT_EQ(computed.nodePositions[1], 512u);
    EXPECT_EQ(computed.nodePositions.back(), 8191u);
    EXPECT_DOUBLE_EQ(computed.node(19, 0, 0)[0], 0xE000 * kCubeWordStep);

    // The second generation's page carries none.
    EXPECT_TRUE(decodeCubeMemory(writeRandomCube("CAMB-002", 2, 34, 0).registers, 34)
                    .nodePositions.empty());
}

TEST(CubeDecoder, NamesTheListOfAMisplacedOrMissingRegister) {
    WrittenCube written = writeRandomCube("CAMB-001", 0, 20, 0);
    written.registers.data[13][40].setAddressNumber(0xA123);
    try {
        decodeCubeMemory(written.registers, 20);
        FAIL() << "a wrong data address was accepted";
    } catch (const zel::DecodeError& e) {
        EXPECT_NE(std::string(e.what()).find("cube list 13 (channel 1, bank 5)"), std::string::npos)
            << e.what();
    }
    written = writeRandomCube("CAMB-001", 0, 20, 0);
    written.registers.end.clear();
    EXPECT_THROW(decodeCubeMemory(written.registers, 20), zel::DecodeError);
}

}  // namespace
