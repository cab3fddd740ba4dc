// The .cube writer's float text. The native build writes it with std::to_chars, the
// WebAssembly build (whose standard library has no floating-point std::to_chars) with a writer
// of its own; this test runs in both (the WebAssembly one under Node) and pins the same text,
// so both builds write the same .cube files.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

#include "cube/number_text.h"

namespace {

std::string textOf(float value) {
    std::string text;
    zelgen::appendFloat(text, value);
    return text;
}

float floatWithBits(std::uint32_t bits) {
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// The fewest digits that read back, plain or with an exponent, whichever is shorter (plain on
// a tie); a whole number written plain with its exact digits.
TEST(FloatText, ShortestTextPlainOrScientific) {
    const struct {
        float value;
        const char* text;
    } cases[] = {
        {0.1f, "0.1"},
        {1.0f / 3.0f, "0.33333334"},
        {0.99999994f, "0.99999994"},
        {1.0f, "1"},
        {-0.5f, "-0.5"},
        {0.0f, "0"},
        {-0.0f, "-0"},
        {0.001f, "0.001"},
        {0.0001f, "1e-04"},
        {0.00012f, "0.00012"},
        {1e-5f, "1e-05"},
        {-1.5e-7f, "-1.5e-07"},
        {65504.0f, "65504"},
        {100000.0f, "1e+05"},
        {10000.0f, "10000"},
        {1000000.0f, "1e+06"},
        {1.5e6f, "1500000"},
        {123456792.0f, "123456792"},
        {16777217.0f, "16777216"},
        {3e10f, "3e+10"},
        {std::numeric_limits<float>::max(), "3.4028235e+38"},
        {std::numeric_limits<float>::min(), "1.1754944e-38"},
        {std::numeric_limits<float>::denorm_min(), "1e-45"},
        {7.006492e-44f, "7e-44"},
        {std::numeric_limits<float>::infinity(), "inf"},
        {-std::numeric_limits<float>::infinity(), "-inf"},
        {std::numeric_limits<float>::quiet_NaN(), "nan"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(textOf(c.value), c.text) << c.value;
    }
}

// FNV-1a over the text of many floats: a pattern from every corner of the bit space, every
// float of one octave in the range looks live in, and the whole numbers where plain and
// scientific text trade places.
TEST(FloatText, ManyFloatsWrittenAsTheStandardTextWritesThem) {
    std::uint64_t digest = 14695981039346656037ull;
    std::uint64_t count = 0;
    const auto add = [&](float value) {
        for (const char c : textOf(value) + ' ') {
            digest = (digest ^ static_cast<unsigned char>(c)) * 1099511628211ull;
        }
        ++count;
    };
    for (std::uint64_t bits = 0; bits < (std::uint64_t{1} << 32); bits += 4099) {
        add(floatWithBits(static_cast<std::uint32_t>(bits)));
    }
    for (float v = 0.5f; v < 1.0f; v = std::nextafter(v, 2.0f)) {
        add(v);
    }
    for (double whole = 1.0; whole < 1e14; whole = std::floor(whole * 1.01) + 1.0) {
        const float value = static_cast<float>(whole);
        add(value);
        add(std::nextafter(value, 0.0f));
        add(-std::nextafter(value, 1e30f));
    }
    EXPECT_EQ(count, 9444916u);
    EXPECT_EQ(digest, 12414993491931983130ull);
}

}  // namespace
