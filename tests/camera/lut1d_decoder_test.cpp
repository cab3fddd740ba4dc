#include "camera/lut1d_decoder.h"

#include <gtest/gtest.h>

#include <random>

#include "camera/engine.h"
#include "camera/register_block.h"

namespace {

// A random rising 1D table of `rows` rows and `channels` channels over the span 0 to 400
// (fixed seed), stored for code 14 the way the colour stage hands it over.
ZelSharedParamBuf randomSecondLut(int rows, int channels) {
    std::mt19937 random(5);
    ZelSharedParamBuf paramBuf;
    ParamTable& table = paramBuf.secondLut0;
    table.rows = rows;
    table.columns = channels;
    std::vector<double> level(static_cast<std::size_t>(channels), 0.0);
    for (int row = 0; row < rows; ++row) {
        for (int c = 0; c < channels; ++c) {
            level[static_cast<std::size_t>(c)] += (random() % 1000) / 1000.0 / rows;
            table.values.push_back(level[static_cast<std::size_t>(c)]);
        }
    }
    paramBuf.secondLutHeader0 = {rows, channels, 0, 400, 0, 0, 1};
    return paramBuf;
}

// The second 1D LUT's registers in the image.
LutRegisters secondLutOf(const ZelSharedIniBuf& image) {
    using namespace zel::block;
    return {image.list(kSecondLutControl), image.group(kSecondLutHead), image.group(kSecondLutData),
            image.group(kSecondLutTail)};
}

TEST(LutDecoder, GivesTheWrittenCurveBackWithinHalfAWordAtEverySamplePosition) {
    for (const int channels : {1, 3}) {
        const ZelSharedParamBuf paramBuf = randomSecondLut(5280, channels);
        EngineConfig config;
        initEngineConfig(config, 0);
        ZelSharedIniBuf image("CAMB-001");
        write1dLutBlock(config, paramBuf, image, 0, zel::kCodeSecondLut);
        const DecodedLut1d lut = decodeLutMemory(zel::kCodeSecondLut, secondLutOf(image));

        // The curve the writer samples: the table resampled onto 16-bit codes, scaled by
        // 8192, moved up by the offset 512 in input and output.
        DenseCurve dense;
        resample1dLut(paramBuf.secondLut0, dense, channels, 5280, 400.0, 4960.0, 8192.0);
        ASSERT_EQ(lut.words.size(), static_cast<std::size_t>(channels));
        EXPECT_TRUE(lut.shiftInput && lut.addOffset);
        EXPECT_EQ(lut.positions.size(), 327u);
        for (std::size_t c = 0; c < lut.words.size(); ++c) {
            for (std::size_t i = 0; i < lut.positions.size(); ++i) {
                const std::uint32_t code = lut.positions[i];
                if (code < 512) {
                    continue;  // the straight continuation below the offset
                }
                const double expected = dense[c][code - 512] + 512.0;
                ASSERT_NEAR(lut.words[c][i], std::min(expected, 65535.0), 0.5)
                    << "channel " << c << " position " << code;
            }
        }
        EXPECT_TRUE(lut.monotonic());
        const LutRegisters again = encodeLutMemory(lut);
        const LutRegisters written = secondLutOf(image);
        EXPECT_EQ(again.control, written.control);
        EXPECT_EQ(again.head, written.head);
        EXPECT_EQ(again.data, written.data);
        EXPECT_EQ(again.tail, written.tail);
    }
}

TEST(LutDecoder, ReadsTheCamerasOwnFirstTableAsAControlPageAlone) {
    ZelSharedIniBuf image("CAMB-001");
    loadLutControl0800(image.list(zel::block::kFirstLutControl));
    const LutRegisters registers{image.list(zel::block::kFirstLutControl), {}, {}, {}};
    const DecodedLut1d lut = decodeLutMemory(zel::kCodeFirstLut, registers);
    EXPECT_TRUE(lut.words.empty());
    EXPECT_EQ(lut.positions.size(), 457u);  // segment table 1
    EXPECT_EQ(encodeLutMemory(lut).control, image.list(zel::block::kFirstLutControl));
}

TEST(LutDecoder, FindsAFallingMemoryAndRefusesAForeignHead) {
    const ZelSharedParamBuf paramBuf = randomSecondLut(5280, 3);
    EngineConfig config;
    initEngineConfig(config, 0);
    ZelSharedIniBuf image("CAMB-001");
    write1dLutBlock(config, paramBuf, image, 0, zel::kCodeSecondLut);
    LutRegisters registers = secondLutOf(image);
    registers.data[1][401].setValue("00");  // high byte of green word 200
    std::size_t memory = 9;
    std::size_t where = 0;
    EXPECT_FALSE(decodeLutMemory(zel::kCodeSecondLut, registers).monotonic(&memory, &where));
    EXPECT_EQ(memory, 1u);
    EXPECT_EQ(where, 200u);

    registers = secondLutOf(image);
    registers.head[2][2].setValue("00");  // blue memory selecting the red RAM
    EXPECT_THROW(decodeLutMemory(zel::kCodeSecondLut, registers), zel::DecodeError);
}

}  // namespace
