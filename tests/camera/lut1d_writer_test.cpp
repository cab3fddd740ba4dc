#include "camera/lut1d_writer.h"

#include <gtest/gtest.h>

#include "camera_blocks.h"

using camera_test::CameraJob;
using camera_test::rampBlock;
using camera_test::untouched;
using camera_test::values;
using Bytes = std::vector<std::string>;

namespace {

// The memory word at word index i of a data list.
std::uint32_t word(const RegisterList& data, std::size_t i) {
    return data[2 * i].valueNumber() | (data[2 * i + 1].valueNumber() << 8);
}

}  // namespace

TEST(Lut1dWriter, ResampledCurveEndsAtTheTableSpan) {
    const ZelColorConverter block = rampBlock(zel::kCodeFirstLut, 1);
    ParamTable table{17, 1, block.table1d};
    DenseCurve dense;
    resample1dLut(table, dense, 1, 17, 16.0, 7008.0, 7008.0);
    EXPECT_DOUBLE_EQ(dense[0][7007], 7007.0);
    EXPECT_EQ(dense[0][7008], 0.0);
    EXPECT_EQ(dense[0][65534], 0.0);
    EXPECT_DOUBLE_EQ(dense[0][65535], 7008.0);
}

TEST(Lut1dWriter, ThreeChannelTableFillsOneMemoryPerChannel) {
    CameraJob job(0, "CAMB-001", {rampBlock(zel::kCodeFirstLut, 3)});
    const RegisterList& control = job.iniBuf.list(30);
    EXPECT_EQ(control[0x00], RegisterEntry("0800", "06"));
    EXPECT_EQ(control[0x03], RegisterEntry("0803", "70"));
    EXPECT_EQ(control[0x0F], RegisterEntry("080F", "03"));
    EXPECT_EQ(values(control, 0x2A, 2), (Bytes{"00", "02"}));
    EXPECT_EQ(values(control, 0x2C, 4), (Bytes{"00", "00", "00", "02"}));  // 0, 512
    EXPECT_EQ(control[0x3D], RegisterEntry("083D", "FF"));                 // 65535
    EXPECT_EQ(values(control, 0x3E, 3), (Bytes{"05", "05", "08"}));

    const char* ramSelect[] = {"00", "01", "02"};
    for (std::size_t c = 0; c < 3; ++c) {
        const RegisterList& head = job.iniBuf.group(32)[c];
        EXPECT_EQ(head[0], RegisterEntry("0803", "00"));
        EXPECT_EQ(head[1], RegisterEntry("0809", "01"));
        EXPECT_EQ(head[2], RegisterEntry("080F", ramSelect[c]));
        EXPECT_EQ(job.iniBuf.group(33)[c][0], RegisterEntry("0809", "00"));
        EXPECT_EQ(job.iniBuf.group(33)[c][1], RegisterEntry("0803", "70"));

        const RegisterList& data = job.iniBuf.group(31)[c];
        EXPECT_EQ(data[1023].address(), "9BFF");
        // Channel c's curve is (c + 1) x code, moved up by 512 and offset by 512; the codes
        // below 512 continue it as a straight line, never below 0.
        const double slope = static_cast<double>(c + 1);
        for (std::uint32_t i :
             {0u, 5u, 8u, 15u, 16u, 20u}) {  // positions 0, 160, 256, 480, 512, 640
            const double position = 32.0 * i;
            const double expected = std::max(0.0, slope * (position - 512.0) + 512.0);
            EXPECT_EQ(word(data, i), static_cast<std::uint32_t>(expected)) << "channel " << c;
        }
        EXPECT_EQ(word(data, 326), 512u);  // 65535: past the curve
        for (std::size_t i = 2 * 327; i < data.size(); ++i) {
            ASSERT_EQ(data[i].value(), "00") << i;
        }
    }
}

TEST(Lut1dWriter, OneChannelTableUsesTheAllChannelMemory) {
    CameraJob job(0, "CAMB-001", {rampBlock(zel::kCodeSecondLut, 1)});
    EXPECT_EQ(job.iniBuf.list(64)[0], RegisterEntry("0100", "06"));
    EXPECT_EQ(job.iniBuf.group(66)[0][2], RegisterEntry("010F", "03"));
    EXPECT_EQ(job.iniBuf.group(65)[0][1023].address(), "93FF");
    for (int block : {65, 66, 67}) {
        EXPECT_TRUE(untouched(job.iniBuf.group(block)[1]) && untouched(job.iniBuf.group(block)[2]));
    }
    std::uint32_t head[3] = {9, 9, 9};
    std::uint32_t tail[2] = {9, 9};
    testing::internal::CaptureStdout();
    EXPECT_EQ(selectLutRam(head, tail, 4, 7), "");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Error: 1D LUT\n");
}

TEST(Lut1dWriter, TableNotMarkedForMemoryLeavesTheImage) {
    CameraJob job(0, "CAMB-001", {rampBlock(zel::kCodeFirstLut, 3, 0)});
    EXPECT_TRUE(untouched(job.iniBuf.list(30)));
    EXPECT_TRUE(untouched(job.iniBuf.group(31)[0]) && untouched(job.iniBuf.group(32)[0]));
}

TEST(Lut1dWriter, SecondGenerationCopiesNoMoreThanTheMemoryHolds) {
    // The configured memory size (2048) is larger than the image and the list (1024).
    CameraJob job(zel::kSecondGeneration, "CAMB-002", {rampBlock(zel::kCodeFirstLut, 3)});
    EXPECT_EQ(job.iniBuf.group(31)[2].size(), 1024u);
    EXPECT_EQ(job.iniBuf.group(31)[2][1023].address(), "9BFF");
}

TEST(Lut1dWriter, FixedFirstLutPageHoldsSegmentTableOneAndAllChannelRam) {
    // Every register "00" except the RAM select, the boundaries and the exponents.
    RegisterList page;
    EXPECT_EQ(loadLutControl0800(page), 70);
    std::vector<std::string> written;
    for (const RegisterEntry& entry : page) {
        if (entry.value() != "00") {
            written.push_back(entry.address() + "=" + entry.value());
        }
    }
    EXPECT_EQ(written,
              (Bytes{"080F=03", "082F=04", "0831=08", "0833=0C", "0835=10", "0837=14", "0838=C0",
                     "0839=1B", "083A=CE", "083B=1B", "083C=CE", "083D=21", "083E=03", "083F=04",
                     "0840=04", "0841=04", "0842=04", "0843=05", "0844=01", "0845=09"}));
    EXPECT_EQ(page.front().address(), "0800");
    EXPECT_EQ(page.back().address(), "0845");
}
