#include "regmaps/lut_images.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace zel::regmaps;

struct ImageCase {
    const LutImage* image;
    std::size_t positions;             // sample positions its control page describes
    std::size_t firstNonZero;          // first word of the curve's span that is not 0
    std::vector<std::uint16_t> start;  // words from firstNonZero on
    std::uint16_t last;                // the word at the last position
};

const ImageCase kCases[] = {
    {&kLutImageLogFirst, 327, 14, {131, 446, 761, 1076}, 7118},
    {&kLutImageAcesCcFirst, 511, 33, {1116, 1584, 1857, 2051}, 6722},
    {&kLutImageAcesCctFirst, 429, 22, {101, 202, 303, 403}, 6722},
    {&kLutImageLogSecond, 1017, 0, {512, 512}, 8704},
    {&kLutImageAcesCcSecond, 1017, 129, {181, 648, 922, 1116}, 7661},
    {&kLutImageAcesCctSecond, 1017, 111, {44, 107, 169, 232}, 7661},
};

TEST(LutImages, CurvesMeetTheirPositionsSpanStartAndEnd) {
    for (const ImageCase& c : kCases) {
        const LutImage& image = *c.image;
        const auto positions = zel::lutSamplePositions(
            segmentTableOf(*image.control, image.generation, image.controlBase));
        EXPECT_EQ(positions.size(), c.positions) << image.name;

        const std::vector<std::uint16_t> words = lutImageWords(image);
        ASSERT_EQ(words.size(), image.wordCount) << image.name;
        for (std::size_t i = 0; i < c.firstNonZero; ++i) {
            EXPECT_EQ(words[i], 0) << image.name << " word " << i;
        }
        for (std::size_t i = 0; i < c.start.size(); ++i) {
            EXPECT_EQ(words[c.firstNonZero + i], c.start[i]) << image.name << " word " << i;
        }
        EXPECT_EQ(words[c.positions - 1], c.last) << image.name;
        for (std::size_t i = 1; i < c.positions; ++i) {
            EXPECT_LE(words[i - 1], words[i]) << image.name << " word " << i;
        }
        for (std::size_t i = c.positions; i < words.size(); ++i) {
            EXPECT_EQ(words[i], 0) << image.name << " word " << i;
        }
    }
}

TEST(LutImages, LogImagesPutTheLogBlackAtLinearZero) {
    // Position 512 is linear 0, whose log code is 95/1023 of full scale.
    EXPECT_EQ(lutImageWords(kLutImageLogFirst)[16], 761);
    const std::vector<std::uint16_t> second = lutImageWords(kLutImageLogSecond);
    EXPECT_EQ(second[128], 512 + 761);  // position 512 is word 128 in the second generation
}

TEST(LutImages, Image0183DecodesTheLogCodeAndHoldsBlackPastItsRange) {
    const std::vector<std::uint16_t> words = lutImageWords(kLutImage0183);
    ASSERT_EQ(words.size(), 512u);
    EXPECT_EQ(std::vector<std::uint16_t>(words.begin(), words.begin() + 4),
              (std::vector<std::uint16_t>{435, 436, 436, 437}));
    EXPECT_LT(words[452], 65535);
    EXPECT_EQ(words[453], 65535);
    EXPECT_EQ(words[511], 435);
    for (std::size_t i = 1; i <= 453; ++i) {
        EXPECT_LE(words[i - 1], words[i]) << "word " << i;
    }
}

TEST(LutImages, ImageRegistersAreHeadDataTail) {
    RegisterList list;
    EXPECT_EQ(loadLutImage(kLutImageLogFirst, list), 1029u);
    EXPECT_EQ(list[0].address() + list[0].value(), "010300");
    EXPECT_EQ(list[1].address() + list[1].value(), "010901");
    EXPECT_EQ(list[2].address() + list[2].value(), "010F03");
    // Word 16 = 761 = 0x02F9, low byte at the even address.
    EXPECT_EQ(list[3 + 32].address() + list[3 + 32].value(), "9020F9");
    EXPECT_EQ(list[3 + 33].address() + list[3 + 33].value(), "902102");
    EXPECT_EQ(list[1026].address(), "93FF");
    EXPECT_EQ(list[1027].address() + list[1027].value(), "010900");
    EXPECT_EQ(list[1028].address() + list[1028].value(), "010370");

    EXPECT_EQ(loadLutImage(kLutImageAcesCcSecond, list), 2053u);
    EXPECT_EQ(list[3].address(), "8000");
    EXPECT_EQ(list[2050].address(), "87FF");

    EXPECT_EQ(loadLutImage(kLutImage0183, list), 1029u);
    EXPECT_EQ(list[0].address() + list[0].value(), "018300");
    EXPECT_EQ(list[3].address(), "9400");
    EXPECT_EQ(list[1028].address() + list[1028].value(), "018370");
}

}  // namespace
