#include "camera/matrix_writer.h"

#include <gtest/gtest.h>

#include "camera/register_value.h"
#include "camera_blocks.h"
#include "platform/job_error.h"
#include "zel/enums.h"

using camera_test::untouched;
using camera_test::values;
using Bytes = std::vector<std::string>;

TEST(MatrixWriter, CoefficientsAreSaturatedNineteenBitTwosComplementLowByteFirst) {
    // 9.0 and 4.0 do not fit 19 bits with 16 fraction bits: they saturate to the largest
    // positive code instead of turning into the negative code 7FFFF.
    const std::pair<double, Bytes> cases[] = {
        {1.0, {"00", "00", "01", "00"}},        {-1.0, {"00", "00", "07", "00"}},
        {-0.0781555, {"FE", "EB", "07", "00"}}, {9.0, {"FF", "FF", "03", "00"}},
        {4.0, {"FF", "FF", "03", "00"}},        {3.99999, {"FF", "FF", "03", "00"}},
        {-9.0, {"00", "00", "04", "00"}}};
    for (const auto& [coefficient, bytes] : cases) {
        ZelSharedParamBuf paramBuf;
        storeMatrix({0, 0, 0, 0, coefficient, 0, 0, 0, 0}, paramBuf.gainMatrix0,
                    paramBuf.gainMatrixHeader0, 3, 1, 0);
        ZelSharedIniBuf iniBuf("CAMB-001");
        writeMatrixBlock(paramBuf, 0, zel::kCodeGainMatrix, iniBuf, false);
        EXPECT_EQ(values(iniBuf.list(4), 16, 4), bytes) << coefficient;
        EXPECT_EQ(iniBuf.list(4)[16].address(), "0290");
    }
}

TEST(MatrixWriter, EachCodeAndInstanceWritesOnlyItsPage) {
    struct Case {
        std::uint32_t code, instance;
        int page;
        const char* latch;
    };
    const Case cases[] = {{4, 0, 4, "02A4"},  {4, 1, 8, "02A4"},   {5, 0, 5, "0724"},
                          {5, 1, 9, "0724"},  {12, 0, 60, "0224"}, {12, 1, 61, "0224"},
                          {12, 2, 61, "0224"}};
    for (const Case& c : cases) {
        ZelLookSettings settings;
        ZelSharedParamBuf paramBuf;
        fillParamBuffer(settings, {camera_test::identityBlock(c.code, c.instance)}, paramBuf);
        ZelSharedIniBuf iniBuf("CAMB-001");
        writeMatrixBlock(paramBuf, c.instance, c.code, iniBuf, false);
        for (int page : {4, 5, 8, 9, 60, 61}) {
            EXPECT_EQ(untouched(iniBuf.list(page)), page != c.page) << c.code << " " << page;
        }
        const RegisterList& written = iniBuf.list(c.page);
        EXPECT_EQ(values(written, 32, 4), (Bytes{"00", "00", "01", "00"}));
        EXPECT_EQ(written[35].addressNumber() - written[0].addressNumber(), 35u);
        EXPECT_EQ(written[36], RegisterEntry(c.latch, "01"));
    }
}

TEST(MatrixWriter, RejectsOtherCodesAndSkipsMissingMatrices) {
    ZelSharedParamBuf paramBuf;
    ZelSharedIniBuf iniBuf("CAMB-001");
    EXPECT_THROW(writeMatrixBlock(paramBuf, 0, 9, iniBuf, false), zel::JobError);
    writeMatrixBlock(paramBuf, 0, zel::kCodeColorMatrix, iniBuf, false);
    EXPECT_TRUE(untouched(iniBuf.list(60)));
}

TEST(MatrixWriter, NormalisedRowsKeepUnitGain) {
    const ParamTable m{3, 3, {1 / 3.0, 1 / 3.0, 1 / 3.0, 0.5, 0.25, 0.25, 0.1, 0.2, 0.3}};
    QuantizedMatrix q{};
    quantizeMatrix(q, m, 16, 19, true);
    EXPECT_EQ(q[0],
              (std::array<double, 3>{21846, 21845, 21845}));  // the diagonal takes the lost step
    EXPECT_EQ(q[2][0] + q[2][1] + q[2][2], 65536.0);
    quantizeMatrix(q, m, 16, 19, false);
    EXPECT_EQ(q[2][2], 19661.0);  // 0.3 x 65536 = 19660.8
}

TEST(RegisterValue, FormatsFixedWidthHex) {
    EXPECT_EQ(formatRegisterValue(9000, 3, false, 13), "FFF");  // 8191 = 1FFF
    EXPECT_EQ(formatRegisterValue(0x2ABCD, 4, false, 20), "ABCD");
    EXPECT_EQ(formatRegisterValue(-7, 4, false, 16), "0000");
}
