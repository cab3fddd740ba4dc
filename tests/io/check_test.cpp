// The check's findings on look files made by whole jobs.

#include <gtest/gtest.h>

#include <algorithm>

#include "readback/block_checks.h"
#include "readback/display_colour.h"
#include "readback/look_fidelity.h"
#include "support/look_jobs.h"

namespace {

constexpr int kGrid = 17;

// The node table (red slowest, four floats a node) of a look that maps each channel
// through `f`.
template <typename F>
std::vector<float> lookNodes(F f) {
    std::vector<float> nodes;
    for (int r = 0; r < kGrid; ++r) {
        for (int g = 0; g < kGrid; ++g) {
            for (int b = 0; b < kGrid; ++b) {
                for (const int i : {r, g, b}) {
                    nodes.push_back(static_cast<float>(f(i / double(kGrid - 1))));
                }
                nodes.push_back(0);
            }
        }
    }
    return nodes;
}

const auto kIdentity = [](double x) { return x; };
const auto kHardClip = [](double x) { return std::clamp(2.5 * x - 0.75, 0.0, 1.0); };

zel::DecodedLook decode(const std::vector<std::uint8_t>& file) {
    return zel::decodeLookBlocks(file.data(), file.size());
}

std::vector<std::uint8_t> standardFile(const std::vector<float>& nodes) {
    return zeltest::makeLookFile("CAMB-001", false, kGrid, nodes);
}

zel::FidelityReport fidelity(const zel::DecodedLook& look, const std::vector<float>& nodes) {
    return zel::measureFidelity(look, zel::sourceLattice(kGrid, nodes.data()), 20000);
}

// Where the record of the first entry of a standard file's body that `wanted` picks lies;
// 0 when no entry is picked.
template <typename Wanted>
std::size_t recordOf(const std::vector<std::uint8_t>& file, Wanted wanted) {
    const std::size_t table = 2752 + 64;
    for (std::size_t slot = 0; slot < 256; ++slot) {
        const std::uint8_t* entry = &file[table + 32 * slot];
        if (wanted(entry)) {
            return table + (entry[24] | entry[25] << 8 | entry[26] << 16);
        }
    }
    return 0;
}

TEST(Check, IdentityLookRendersWithNearZeroErrorWhereNoGamutMoveIntervenes) {
    const std::vector<float> nodes = lookNodes(kIdentity);
    for (const auto& [model, extended] : {std::pair{"CAMB-001", false}, {"CAMB-002", true}}) {
        const zel::DecodedLook look = decode(zeltest::makeLookFile(model, extended, kGrid, nodes));
        const zel::FidelityReport report = fidelity(look, nodes);
        // Pass 1 reads the look's own gamut: only the memory step separates the two.
        const zel::PassFidelity& same = report.passes.at(1);
        EXPECT_LT(same.cube.deltaEMax, 0.1) << model;
        for (const double e : same.cube.max) {
            EXPECT_LT(e, 1.0) << model;
        }
        EXPECT_TRUE(report.withinLimits()) << model;
        EXPECT_FALSE(zel::checkBlocks(look).damaged()) << model;
        if (!extended) {
            continue;
        }
        // The CAMB-002's Film pass takes a large share of its colours outside the look's
        // domain; the camera renders them, so they count among the colours it sees, and the
        // nodes do not.
        const zel::PassFidelity& film = report.passes.at(0);
        EXPECT_EQ(film.randomColours, 20000);
        EXPECT_EQ(film.inDomain.samples + film.outOfDomain.samples, 20000);
        EXPECT_GT(film.outOfDomain.samples, 5000);
        EXPECT_EQ(film.cube.samples, 20000 + 17);
        EXPECT_EQ(film.nodes.samples, 34 * 34 * 34);
        EXPECT_LT(film.nodes.deltaEMax, 0.1);
        EXPECT_GT(film.outOfDomain.deltaEMax, 1.0);
        EXPECT_GE(film.cube.deltaEMax, film.outOfDomain.deltaEMax);
    }
}

TEST(Check, ReportsALookThatClipsAndNotOneThatDoesNot) {
    const zel::BlockReport clipping = zel::checkBlocks(decode(standardFile(lookNodes(kHardClip))));
    EXPECT_TRUE(clipping.clipping);
    EXPECT_FALSE(clipping.damaged());
    const zel::CubeFindings& cube = clipping.cubes.at(1);
    EXPECT_GT(cube.atFull[0], 0.1);
    EXPECT_GT(cube.atZero[2], 0.1);
    EXPECT_FALSE(zel::checkBlocks(decode(standardFile(lookNodes(kIdentity)))).clipping);
}

TEST(Check, RendersACorruptedCubeWordWhereItLies) {
    const std::vector<float> nodes = lookNodes(kIdentity);
    std::vector<std::uint8_t> file = standardFile(nodes);
    // Pass 1's first cube data record: red channel of bank 0. Word 111 is node (2, 2, 2);
    // its high byte is value 223 of the record.
    const std::size_t record =
        recordOf(file, [](const std::uint8_t* e) { return e[10] == 4 && e[9] == 1 && e[3] == 1; });
    ASSERT_NE(record, 0u);
    file[record + 2 + 223] ^= 0x08;

    // The renderer shows what the camera does with the damaged word.
    const zel::FidelityReport report = fidelity(decode(file), nodes);
    EXPECT_GT(report.passes.at(1).nodes.max[0], 200.0);  // 0.25 of full scale
    EXPECT_FALSE(report.withinLimits());
    EXPECT_EQ(report.passes.at(1).worstNode, (std::array<int, 4>{2, 2, 2, 0}));
}

TEST(Check, ReportsAFallingOneDimensionalLutWithoutCallingItDamage) {
    std::vector<std::uint8_t> file = standardFile(lookNodes(kIdentity));
    // The second 1D LUT's red memory of pass 0 (values only); word 200 loses its high byte.
    const std::size_t record = recordOf(file, [](const std::uint8_t* e) {
        return e[0] == 1 && e[10] == 3 && e[11] == 0 && e[9] == 1 && e[3] == 0;
    });
    ASSERT_NE(record, 0u);
    file[record + 2 + 401] = 0;
    // Inverted looks make falling curves: the fall is reported, damage is for the words
    // the look does not give (look_verification_test.cpp).
    const zel::BlockReport report = zel::checkBlocks(decode(file));
    EXPECT_FALSE(report.damaged());
    const auto falls = std::find_if(report.luts.begin(), report.luts.end(),
                                    [](const zel::LutFindings& l) { return !l.monotonic; });
    ASSERT_NE(falls, report.luts.end());
    EXPECT_EQ(falls->fall.rfind("red falls", 0), 0u) << falls->fall;
}

TEST(Check, Ciede2000MatchesPublishedPairs) {
    // Pairs from the published CIEDE2000 test data.
    EXPECT_NEAR(zel::ciede2000({50, 2.6772, -79.7751}, {50, 0, -82.7485}), 2.0425, 1e-4);
    EXPECT_NEAR(zel::ciede2000({50, 0, 0}, {50, -1, 2}), 2.3669, 1e-4);
    EXPECT_NEAR(zel::ciede2000({50, 2.5, 0}, {73, 25, -18}), 27.1492, 1e-4);
    EXPECT_NEAR(zel::ciede2000({2.0776, 0.0795, -1.135}, {0.9033, -0.0636, -0.5514}), 0.9082, 1e-4);
    const double white[3] = {1.0, 1.0, 1.0};
    EXPECT_NEAR(zel::displayLab(0, white)[0], 100.0, 1e-3);
}

}  // namespace
