// Everything a host observes from the exported .cube reader, pinned as 64-bit FNV-1a
// digests: the result, the size, the row count, every table value bit for bit, what it
// writes to the standard error stream and any exception with its message. The files
// mix the number spellings grading tools and hand edits produce with the odd ones the
// reader must keep answering as it always has; a changed digest means a changed answer.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "support/cube_reader_call.h"

namespace {

std::uint64_t fnv1a(const std::string& bytes, std::uint64_t hash = 0xcbf29ce484222325ull) {
    for (const char c : bytes) {
        hash ^= static_cast<std::uint8_t>(c);
        hash *= 0x100000001b3ull;
    }
    return hash;
}

// One digest of everything the reader hands back for `text`.
std::uint64_t readerDigest(const std::string& text) {
    const zeltest::CubeReaderCall call = zeltest::readCubeText(text);
    const std::string outcome = call.outcome + "|" + call.err + "|" + std::to_string(call.size) +
                                "|" + std::to_string(call.rowCount) + "|" +
                                std::to_string(call.table.size());
    std::string values;
    for (const std::vector<double>& row : call.table) {
        values += static_cast<char>(row.size());
        for (const double v : row) {
            char bits[sizeof v];
            std::memcpy(bits, &v, sizeof v);
            values.append(bits, sizeof v);
        }
    }
    return fnv1a(values, fnv1a(outcome));
}

// A number in one of the spellings found in .cube files, built from integers only so
// that the text is the same on every platform.
std::string numberText(std::mt19937_64& rng) {
    const auto digits = [&rng](int count) {
        std::string text;
        for (int i = 0; i < count; ++i) {
            text += static_cast<char>('0' + rng() % 10);
        }
        return text;
    };
    const std::string sign = rng() % 4 == 0 ? "-" : "";
    switch (rng() % 10) {
        case 0:
            return sign + "0." + digits(6);
        case 1:
            return sign + digits(1) + "." + digits(16) + "e-0" + digits(1);
        case 2:
            return rng() % 2 ? "1" : "0";
        case 3:
            return sign + "0." + digits(25);
        case 4:
            return sign + digits(3) + "e+" + std::to_string(rng() % 40);
        case 5:
            return "." + digits(1 + static_cast<int>(rng() % 8));
        case 6:
            return sign + (rng() % 2 ? "0.000000" : "0");
        case 7:
            return digits(1) + "." + (rng() % 2 ? "E" + std::to_string(rng() % 5) : "");
        case 8:
            return sign + "0." + digits(8) + "E-" + std::to_string(rng() % 300);
        default:
            return digits(1 + static_cast<int>(rng() % 3)) + "." + digits(9);
    }
}

// A 17-grid file of mixed spellings, some lines with CR LF or a trailing space, after a
// header whose comment line is longer than any read-ahead the reader might use.
std::string mixedSpellingsFile() {
    std::mt19937_64 rng(16);
    std::string text = "# " + std::string(300000, 'c') + "\nTITLE \"mixed\"\nLUT_3D_SIZE 17\n";
    for (int row = 0; row < 17 * 17 * 17; ++row) {
        text += numberText(rng) + " " + numberText(rng) + " " + numberText(rng);
        text += rng() % 16 == 0 ? " " : "";
        text += rng() % 8 == 0 ? "\r\n" : "\n";
        if (row == 4000) {
            text += "0." + std::string(200000, '0') + "1 0.5 0.5\n\n\n";
            ++row;
        }
    }
    return text;
}

struct Pinned {
    const char* name;
    std::string text;
    std::uint64_t digest;
};

// The C runtimes give a NaN read from text different sign and payload bits.
#ifdef _WIN32
constexpr std::uint64_t kNanSpellingsDigest = 0x662bbfe931ff2d22ull;
#else
constexpr std::uint64_t kNanSpellingsDigest = 0xe6e81328fad6de00ull;
#endif

TEST(CubeReaderResults, EveryObservableResultIsUnchanged) {
    const std::string nul(1, '\0');
    const Pinned cases[] = {
        {"spellings",
         "LUT_3D_SIZE 2\n+0.5 -0.25 .125\n1e-3 1E+2 "
         "5.\n0.1000000000000000055511151231257827021181583404541015625 "
         "2.2250738585072014e-308 1.7976931348623157e308\n123456789012345678901234567890 "
         "0.000000000000000000000000001 9007199254740993\n1x 2,5 3;\n",
         0x02905b6b35e9bb92ull},
        {"hex_spellings", "LUT_3D_SIZE 1\n0x1.8p1 0X10 0x.8\n", 0x0403c13fe2df8430ull},
        {"inf_spellings", "LUT_3D_SIZE 1\ninf -INF infinity\n", 0x7b511601f9382628ull},
        {"nan_spellings", "LUT_3D_SIZE 1\nnan -nan(abc) NAN\n", kNanSpellingsDigest},
        {"loose_tokens",
         "LUT_3D_SIZE 2\n1e 1e+ 0x\n1.2.3 1e5.5 5e\n0.5\t1 \t0.25\v 0.125\f\n-0 -0.0 0e999999\n"
         "00001.5 1.e5 -.5e-1\n1 2 3 4 5\n0.5" +
             nul + "junk 0.25 0.125\n7 8 9",
         0x7e633d052d03fb56ull},
        {"size_spellings", "LUT_3D_SIZE\t+2.9e0junk\n1 2 3\n", 0x78b1a24e7629068eull},
        {"size_hex", "TITLE \"a\"\r\nLUT_3D_SIZE 0x2\r\n1 1 1\r\n", 0x8429c0d8f047a3c6ull},
        {"no_size", "TITLE \"a\"\n0 0 0\n", 0x40137ebdd8d2b073ull},
        {"empty", "", 0x40137ebdd8d2b073ull},
        {"size_only", "LUT_3D_SIZE 3", 0x15dea8a44bb86733ull},
        {"subnormal", "LUT_3D_SIZE 1\n4.9e-324 0 0\n", 0xb638519385614071ull},
        {"below_smallest_normal", "LUT_3D_SIZE 1\n0 2.2250738585072011e-308 0\n",
         0xb638519385614071ull},
        {"underflow", "LUT_3D_SIZE 1\n0 0 1e-400\n", 0xb638519385614071ull},
        {"overflow", "LUT_3D_SIZE 1\n1e309 0 0\n", 0xb638519385614071ull},
        {"negative_overflow", "LUT_3D_SIZE 1\n0 -1.8e308 0\n", 0xb638519385614071ull},
        {"lone_sign", "LUT_3D_SIZE 1\n-\n", 0xfb9ff8c26da30ffbull},
        {"lone_point", "LUT_3D_SIZE 1\n0 .\n", 0xfb9ff8c26da30ffbull},
        {"exponent_only", "LUT_3D_SIZE 1\ne5 0 0\n", 0xfb9ff8c26da30ffbull},
        {"nul_token", "LUT_3D_SIZE 1\n" + nul + " 1 1\n", 0xfb9ff8c26da30ffbull},
        {"lone_cr", "LUT_3D_SIZE 1\n\r\n1 1 1\n", 0x30d7d6fc4a08fe68ull},
        {"hash_among_rows", "LUT_3D_SIZE 2\n1 1 1\n# 2 2 2\n", 0xacfc6e89d0e2e151ull},
        {"mixed_spellings", mixedSpellingsFile(), 0x4834640d37b1fd9full},
    };
    for (const Pinned& pinned : cases) {
        const std::uint64_t digest = readerDigest(pinned.text);
        EXPECT_EQ(digest, pinned.digest)
            << pinned.name << ": got 0x" << std::hex << digest << "ull";
    }
}

}  // namespace
