// The .cube reader's numbers: a whole token, the nearest float, the same under every locale.
#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "cube_reader/number_reading.h"

namespace {

using zel::io::NumberStatus;
using zel::io::parseFloat;

// Beyond the float range, size decides: a tiny value is its nearest float, a huge one is
// refused, however far beyond even the double range either lies and however it is spelled.
TEST(NumberReading, TinyValuesRoundAndHugeOnesAreRefused) {
    const std::string manyZeros(400, '0');
    const struct {
        std::string text;
        NumberStatus status;
        float value;
    } cases[] = {
        {"1e-40", NumberStatus::ok, 1e-40f},
        {"-1e-400", NumberStatus::ok, 0.0f},
        {"1e-99999", NumberStatus::ok, 0.0f},
        {"1e-99999999999999999999999", NumberStatus::ok, 0.0f},
        {"0." + manyZeros + "1", NumberStatus::ok, 0.0f},
        {"0." + manyZeros + "1e400", NumberStatus::ok, 0.1f},
        {"1e39", NumberStatus::outOfRange, 0.0f},
        {"1e400", NumberStatus::outOfRange, 0.0f},
        {"-1e400", NumberStatus::outOfRange, 0.0f},
        {"+1e99999", NumberStatus::outOfRange, 0.0f},
        {"1" + manyZeros, NumberStatus::outOfRange, 0.0f},
        {"0.001e99999999999999999999999", NumberStatus::outOfRange, 0.0f},
    };
    for (const auto& c : cases) {
        float value = -7.0f;
        EXPECT_EQ(parseFloat(c.text, value), c.status) << c.text;
        if (c.status == NumberStatus::ok) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
}

TEST(NumberReading, TakesOnlyWholeFiniteDecimals) {
    const struct {
        const char* text;
        NumberStatus status;
    } cases[] = {
        {"0.5", NumberStatus::ok},         {"+.5", NumberStatus::ok},
        {"-0", NumberStatus::ok},          {"1x", NumberStatus::notANumber},
        {"0,5", NumberStatus::notANumber}, {"", NumberStatus::notANumber},
        {"+-1", NumberStatus::notANumber}, {"0x1p3", NumberStatus::notANumber},
        {"nan", NumberStatus::notFinite},  {"-inf", NumberStatus::notFinite},
    };
    for (const auto& c : cases) {
        float value = 0.0f;
        EXPECT_EQ(parseFloat(c.text, value), c.status) << c.text;
    }
    long long whole = 0;
    EXPECT_EQ(zel::io::parseWholeNumber("33", whole), NumberStatus::ok);
    EXPECT_EQ(whole, 33);
    EXPECT_EQ(zel::io::parseWholeNumber("+33", whole), NumberStatus::notANumber);
    EXPECT_EQ(zel::io::parseWholeNumber("33.0", whole), NumberStatus::notANumber);
    EXPECT_EQ(zel::io::parseWholeNumber("99999999999999999999", whole), NumberStatus::outOfRange);
}

// A table's numbers take a quicker road than the standard conversion; it must reach the
// same float and stop at the same character, also for decimals that lie on or a hair beside
// the halfway point between two floats, which a double rounds onto the tie.
TEST(NumberReading, TableNumbersReadAsTheStandardConversionReadsThem) {
    std::vector<std::string> texts = {
        "16777217.0",
        "16777219.0",
        "1.00000005960464478",
        "1.00000005960464477",
        "1.000000059604644775",
        "0.5 ",
        "-0.731215\n",
        "0.0",
        "-0.0",
        "123.",
        ".5",
        "1.5e3",
        "2.5E-3",
        "0.1.2",
        "9007199254740993.0",
        "0.0000000000000000000000001",
        "12345678901234567890.5",
        "3.4028235e38",
        "8.000000476837159",
        "8.000000476837158",
    };
    // Decimals of 15 to 17 digits around the midpoints between neighbouring floats.
    std::mt19937 pick(7);
    for (int i = 0; i < 100000; ++i) {
        const float low = std::ldexp(1.0f + static_cast<float>(pick() % 8388608) / 8388608.0f,
                                     static_cast<int>(pick() % 40) - 20);
        const double midpoint = (static_cast<double>(low) + std::nextafter(low, 1e30f)) / 2.0;
        char text[40];
        std::snprintf(text, sizeof text, "%.*f", static_cast<int>(pick() % 4) + 14, midpoint);
        texts.emplace_back(text);
    }
    std::mt19937_64 random(20261207);
    for (int i = 0; i < 200000; ++i) {
        const int digits = 1 + static_cast<int>(random() % 19);
        std::string text = std::to_string(random() % 10);
        for (int d = 1; d < digits; ++d) {
            text += static_cast<char>('0' + random() % 10);
        }
        const std::size_t point = 1 + random() % static_cast<std::size_t>(digits);
        text.insert(std::min(point, text.size() - 1), ".");
        texts.push_back((random() % 4 == 0 ? "-" : "") + text + (random() % 2 ? " " : ""));
    }
    for (const std::string& text : texts) {
        const char* first = text.data();
        const char* last = first + text.size();
        float quick = -7.0f;
        float standard = -7.0f;
        const std::from_chars_result a = zel::io::readFloatPrefix(first, last, quick);
        const std::from_chars_result b = std::from_chars(first, last, standard);
        ASSERT_EQ(a.ptr, b.ptr) << text;
        ASSERT_EQ(a.ec, b.ec) << text;
        ASSERT_EQ(std::signbit(quick), std::signbit(standard)) << text;
        ASSERT_EQ(quick, standard) << text;
    }
}

}  // namespace
