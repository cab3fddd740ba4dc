// The .cube reader's numbers: a whole token, the nearest float, the same under every locale.
#include <gtest/gtest.h>

#include <string>

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

}  // namespace
