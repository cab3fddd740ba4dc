#include "camera/matrix_writer.h"

#include <gtest/gtest.h>

#include "camera/register_value.h"
#include "camera_blocks.h"
#include "zel/enums.h"

using camera_test::untouched;
using camera_test::values;
using Bytes = std::vector<std::string>;

namespace {

// The four register bytes of coefficient 0 of a gain matrix whose first element is `a`.
Bytes firstCoefficientBytes(double a) {
    ZelSharedParamBuf paramBuf;
    storeMatrix({a, 0, 0, 0, 1, 0, 0, 0, 1}, paramBuf.gainMatrix0, paramBuf.gainMatrixHeader0, 3, 1,
                0);
    ZelSharedIniBuf iniBuf("CAMB-001");
    writeMatrixBlock(paramBuf, 0, zel::kCodeGainMatrix, iniBuf, false);
    return values(iniBuf.list(4), 0, 4);
}

}  // namespace

TEST(MatrixWriter, CoefficientsAreNineteenBitTwosComplementLowByteFirst) {
    EXPECT_EQ(firstCoefficientBytes(1.0), (Bytes{"00", "00", "01", "00"}));
    EXPECT_EQ(firstCoefficientBytes(-1.0), (Bytes{"00", "00", "07", "00"}));
    EXPECT_EQ(firstCoefficientBytes(-0.0781555), (Bytes{"FE", "EB", "07", "00"}));
}

TEST(MatrixWriter, CoefficientsSaturateToTheRegisterRange) {
    // 9.0 and 4.0 do not fit 19 bits with 16 fraction bits: they saturate instead of
    // turning into the negative code 0x7FFFF.
    EXPECT_EQ(firstCoefficientBytes(9.0), (Bytes{"FF", "FF", "03", "00"}));
    EXPECT_EQ(firstCoefficientBytes(4.0), (Bytes{"FF", "FF", "03", "00"}));
    EXPECT_EQ(firstCoefficientBytes(3.99999), (Bytes{"FF", "FF", "03", "00"}));
    EXPECT_EQ(firstCoefficientBytes(-9.0), (Bytes{"00", "00", "04", "00"}));
    EXPECT_EQ(firstCoefficientBytes(-4.0), (Bytes{"00", "00", "04", "00"}));
}

TEST(MatrixWriter, IdentityPageHasAddressesAndLatch) {
    ZelSharedParamBuf paramBuf;
    storeMatrix({1, 0, 0, 0, 1, 0, 0, 0, 1}, paramBuf.secondMatrix0, paramBuf.secondMatrixHeader0,
                3, 1, 0);
    ZelSharedIniBuf iniBuf("CAMB-001");
    writeMatrixBlock(paramBuf, 0, zel::kCodeSecondMatrix, iniBuf, false);
    const RegisterList& page = iniBuf.list(5);
    ASSERT_EQ(page.size(), 37u);
    for (std::size_t k = 0; k < 9; ++k) {
        const bool diagonal = k % 4 == 0;
        EXPECT_EQ(values(page, 4 * k, 4), (Bytes{"00", "00", diagonal ? "01" : "00", "00"}))
            << "coefficient " << k;
        for (std::size_t j = 0; j < 4; ++j) {
            EXPECT_EQ(page[4 * k + j].addressNumber(), 0x0700 + 4 * k + j);
        }
    }
    EXPECT_EQ(page[36], RegisterEntry("0724", "01"));
}

TEST(MatrixWriter, EachCodeAndInstanceWritesOnlyItsPage) {
    struct Case {
        std::uint32_t code;
        std::uint32_t instance;
        int block;
        const char* latch;
    };
    const Case cases[] = {{4, 0, 4, "02A4"},  {4, 1, 8, "02A4"},   {5, 0, 5, "0724"},
                          {5, 1, 9, "0724"},  {12, 0, 60, "0224"}, {12, 1, 61, "0224"},
                          {12, 2, 61, "0224"}};
    const int pages[] = {4, 5, 8, 9, 60, 61};
    for (const Case& c : cases) {
        ZelLookSettings settings;
        ZelSharedParamBuf paramBuf;
        fillParamBuffer(settings, {camera_test::identityBlock(c.code, c.instance)}, paramBuf);
        ZelSharedIniBuf iniBuf("CAMB-001");
        writeMatrixBlock(paramBuf, c.instance, c.code, iniBuf, false);
        for (int page : pages) {
            if (page == c.block) {
                EXPECT_EQ(iniBuf.list(page)[36], RegisterEntry(c.latch, "01"));
            } else {
                EXPECT_TRUE(untouched(iniBuf.list(page))) << "code " << c.code << " page " << page;
            }
        }
    }
}

TEST(MatrixWriter, RejectsOtherCodesAndSkipsMissingMatrices) {
    ZelSharedParamBuf paramBuf;
    ZelSharedIniBuf iniBuf("CAMB-001");
    EXPECT_THROW(writeMatrixBlock(paramBuf, 0, 9, iniBuf, false), ZelEnum::ZelException);
    writeMatrixBlock(paramBuf, 0, zel::kCodeColorMatrix, iniBuf, false);
    EXPECT_TRUE(untouched(iniBuf.list(60)));
    // A register image without pages takes nothing and does not fail.
    storeMatrix({1, 0, 0, 0, 1, 0, 0, 0, 1}, paramBuf.gainMatrix0, paramBuf.gainMatrixHeader0, 3, 1,
                0);
    ZelSharedIniBuf unknown("CAMX-001");
    writeMatrixBlock(paramBuf, 0, zel::kCodeGainMatrix, unknown, false);
    EXPECT_TRUE(unknown.list(4).empty());
}

TEST(MatrixWriter, NormalisedRowsKeepUnitGain) {
    ParamTable third{3, 3, {1 / 3.0, 1 / 3.0, 1 / 3.0, 0.5, 0.25, 0.25, 0.1, 0.2, 0.3}};
    QuantizedMatrix q{};
    quantizeMatrix(q, third, 16, 19, true);
    // 21845 each would lose one step; the diagonal takes it.
    EXPECT_EQ(q[0][0], 21846.0);
    EXPECT_EQ(q[0][1], 21845.0);
    EXPECT_EQ(q[1][0] + q[1][1] + q[1][2], 65536.0);
    EXPECT_EQ(q[2][0] + q[2][1] + q[2][2], 65536.0);
    quantizeMatrix(q, third, 16, 19, false);
    EXPECT_EQ(q[2][2], 19661.0);  // 0.3 x 65536 = 19660.8
}

TEST(RegisterValue, FormatsFixedWidthHex) {
    EXPECT_EQ(formatRegisterValue(-5122, 8, true, 19), "0007EBFE");
    EXPECT_EQ(formatRegisterValue(0, 4, false, 16), "0000");
    EXPECT_EQ(formatRegisterValue(70000, 4, false, 16), "FFFF");
    EXPECT_EQ(formatRegisterValue(9000, 3, false, 13), "FFF");  // clamped to 8191 = 1FFF
    EXPECT_EQ(formatRegisterValue(0x2ABCD, 4, false, 20), "ABCD");
    EXPECT_EQ(formatRegisterValue(-7, 4, false, 16), "0000");
}
