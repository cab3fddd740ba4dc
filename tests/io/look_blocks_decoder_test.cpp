#include "readback/look_blocks_decoder.h"

#include <gtest/gtest.h>

#include "camera/lut3d_writer.h"
#include "color/cube_builder.h"
#include "support/look_jobs.h"

namespace {

zel::DecodedLook decode(const std::vector<std::uint8_t>& file) {
    return zel::decodeLookBlocks(file.data(), file.size());
}

TEST(LookBlocksDecoder, ReadsEveryColourBlockOfAStandardLookFile) {
    const std::vector<std::uint8_t> file =
        zeltest::makeLookFile("CAMB-001", false, 9, zeltest::identityLattice(9));
    ASSERT_FALSE(file.empty());
    const zel::DecodedLook look = decode(file);
    EXPECT_TRUE(look.problems.empty()) << look.problems.front();
    EXPECT_EQ(look.facts.layout, zel::LookLayout::Standard);
    EXPECT_EQ(look.facts.sourceEncoding, 0);
    EXPECT_EQ(look.facts.gridSize, 9);
    ASSERT_EQ(look.passes.size(), 2u);
    for (const zel::LookPass& pass : look.passes) {
        EXPECT_TRUE(pass.cube && pass.colorMatrix && pass.secondLut && pass.firstLut &&
                    pass.gainMatrix && pass.secondMatrix)
            << "pass " << pass.pass;
    }
    // Pass 1 holds the cube read in the look's own gamut: for an identity look, the ramp of
    // the code range on every axis.
    const DecodedCube& cube = *look.passes[1].cube;
    const zel::CodeRange range = zel::standardCodeRange(0);
    for (int i = 0; i < cube.grid; ++i) {
        const double expected = range.low + (range.high - range.low) * i / (cube.grid - 1);
        EXPECT_NEAR(cube.node(i, 0, cube.grid - 1 - i)[0], expected, kCubeWordStep);
        EXPECT_NEAR(cube.node(0, i, 0)[1], expected, kCubeWordStep);
        EXPECT_NEAR(cube.node(3, 5, i)[2], expected, kCubeWordStep);
    }
    EXPECT_TRUE(look.passes[1].secondLut->monotonic());
}

// The facts come back as they were asked for: a decoder that swapped full and legal range,
// or two source encodings, or two curves, fails here.
TEST(LookBlocksDecoder, ReadsBackTheSourceCurveAndRangeTheLookWasMadeFor) {
    struct Case {
        int source, curve, range;
    };
    for (const Case c : {Case{0, 0, 1}, Case{1, 1, 0}, Case{2, 2, 1}, Case{3, 0, 0}}) {
        const zel::DecodedLook look = decode(zeltest::makeLookFile(
            "CAMB-001", false, 5, zeltest::identityLattice(5), c.source, c.curve, c.range));
        EXPECT_EQ(look.facts.sourceEncoding, c.source);
        EXPECT_EQ(look.facts.outputCurve, c.curve) << "source " << c.source;
        EXPECT_EQ(look.facts.outputRange, c.range) << "source " << c.source;
        EXPECT_EQ(look.facts.generation, zel::kFirstGeneration);
        EXPECT_EQ(look.facts.gridSize, 5);
    }
}

// The 3D LUT writer owns the second generation's cube control page: what it writes is what
// every pass of the file carries, for every source encoding (no later stage overwrites it).
// The three passes each hold a cube of 34 nodes an axis and no fallback chain.
TEST(LookBlocksDecoder, TheFilesCubeControlPagesAreTheWritersPage) {
    RegisterList written;
    loadCubeControlSecondGeneration(written);
    std::vector<std::uint8_t> page;
    for (const RegisterEntry& entry : written) {
        page.push_back(static_cast<std::uint8_t>(entry.valueNumber()));
    }
    for (int source = 0; source < 4; ++source) {
        const zel::DecodedLook look =
            decode(zeltest::makeLookFile("CAMB-002", true, 9, zeltest::warmLattice(9), source));
        EXPECT_TRUE(look.problems.empty()) << look.problems.front();
        ASSERT_EQ(look.passes.size(), 3u) << source;
        for (const zel::LookPass& pass : look.passes) {
            ASSERT_TRUE(pass.cube) << "pass " << pass.pass;
            EXPECT_EQ(pass.cube->control, page) << "source " << source << ", pass " << pass.pass;
            EXPECT_EQ(pass.cube->grid, 34);
            EXPECT_FALSE(pass.colorMatrix);
        }
    }
}

TEST(LookBlocksDecoder, NamesMissingAndDamagedBlocks) {
    // (A body without records, as a first-generation camera's extended file has, is the
    // command-line case check-without-colour-blocks.)
    // A cube data record whose end marker is overwritten.
    std::vector<std::uint8_t> file =
        zeltest::makeLookFile("CAMB-001", false, 9, zeltest::identityLattice(9));
    const std::size_t table = 2752 + 64;  // the body's entry table
    bool damaged = false;
    for (std::size_t slot = 0; slot < 256 && !damaged; ++slot) {
        const std::uint8_t* entry = &file[table + 32 * slot];
        if (entry[10] == 4 && entry[9] == 1 && entry[3] == 0) {  // pass 0 cube values
            const std::size_t at = table + (entry[24] | entry[25] << 8 | entry[26] << 16);
            const std::size_t count = entry[20] | entry[21] << 8;
            file[at + 2 + count] = 'X';
            damaged = true;
        }
    }
    ASSERT_TRUE(damaged);
    const zel::DecodedLook look = decode(file);
    ASSERT_FALSE(look.problems.empty());
    EXPECT_NE(look.problems[0].find("cube of pass 0"), std::string::npos) << look.problems[0];
    EXPECT_FALSE(look.passes[0].cube);
    EXPECT_TRUE(look.passes[1].cube);

    EXPECT_THROW(decode(std::vector<std::uint8_t>(100, 0)), zel::DecodeError);
}

// A file cut anywhere in its headers, body head or entry table is refused with the place
// it ends in; cut inside its records it is read with the cut named, never past its end.
TEST(LookBlocksDecoder, EveryCutIsRefusedOrNamedNeverReadPast) {
    const std::vector<std::uint8_t> file =
        zeltest::makeLookFile("CAMB-001", false, 3, zeltest::identityLattice(3));
    const std::size_t tableEnd = 2752 + 64 + 256 * 32;
    for (std::size_t length = 0; length < file.size(); length += length < tableEnd ? 1 : 997) {
        const std::vector<std::uint8_t> cut(file.begin(),
                                            file.begin() + static_cast<std::ptrdiff_t>(length));
        try {
            const zel::DecodedLook look = decode(cut);
            EXPECT_GE(length, tableEnd);
            ASSERT_FALSE(look.problems.empty()) << length;
            EXPECT_NE(look.problems[0].find("cut short"), std::string::npos) << look.problems[0];
        } catch (const zel::DecodeError& e) {
            EXPECT_LT(length, tableEnd);
            EXPECT_FALSE(e.where().empty() && length >= 4) << length << ": " << e.what();
            EXPECT_FALSE(e.why().empty());
        }
    }
}

}  // namespace
