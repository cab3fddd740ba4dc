// The check's verdict on damage: a corpus of valid look files made with every camera,
// layout, source, output and option is never called damaged, and single-byte flips in the
// look words and register tables are found, with the look every one, without it every one
// that breaks a rule the writers keep.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <iostream>
#include <random>

#include "api/look_references.h"
#include "readback/block_checks.h"
#include "readback/body_records.h"
#include "readback/look_verification.h"
#include "support/look_jobs.h"

namespace {

using zel::LookFileBytes;
using NodeTable = zel::LookNodes;
using Look = std::function<void(double, double, double, float*)>;

NodeTable lattice(int n, const Look& look) {
    NodeTable table;
    table.size = n;
    table.values = zeltest::makeLattice(n, look);
    return table;
}

void put(float* out, double r, double g, double b) {
    out[0] = static_cast<float>(r);
    out[1] = static_cast<float>(g);
    out[2] = static_cast<float>(b);
}

// The kinds of look colourists make, each drawn with its own strength.
Look drawLook(int kind, std::mt19937& random) {
    std::uniform_real_distribution<double> u(0.0, 1.0);
    const double a = u(random);
    const double b = u(random);
    const double c = u(random);
    switch (kind) {
        case 0:  // near identity
            return [=](double r, double g, double bl, float* o) {
                put(o, r + 0.002 * a * g, g - 0.002 * b * bl, bl + 0.002 * c * r);
            };
        case 1:  // smooth random: channels mixed with a gentle curve
            return [=](double r, double g, double bl, float* o) {
                put(o, 0.8 * r + 0.2 * a * g * g + 0.1 * b, 0.7 * g + 0.3 * c * r * bl,
                    0.9 * bl + 0.1 * std::sin(3.0 * a * r));
            };
        case 2:  // strong saturation about mid grey
            return [=](double r, double g, double bl, float* o) {
                const double k = 1.5 + 1.5 * a;
                const double grey = (r + g + bl) / 3.0;
                put(o, grey + k * (r - grey), grey + k * (g - grey), grey + k * (bl - grey));
            };
        case 3:  // hard clip
            return [=](double r, double g, double bl, float* o) {
                const double k = 2.0 + a;
                auto clip = [&](double x) { return std::clamp(k * x - 0.3 - 0.4 * b, 0.0, 1.0); };
                put(o, clip(r), clip(g), clip(bl));
            };
        case 4:  // contrast S-curve
            return [=](double r, double g, double bl, float* o) {
                auto s = [&](double x) { return x + (0.3 + 0.5 * a) * (x * x * (3 - 2 * x) - x); };
                put(o, s(r), s(g), s(bl));
            };
        case 5:  // inverted channels
            return [=](double r, double g, double bl, float* o) {
                put(o, 1.0 - r, a < 0.5 ? 1.0 - g : g, 1.0 - bl);
            };
        default:  // values far outside 0 to 1, beyond the largest cube word
            return [=](double r, double g, double bl, float* o) {
                put(o, -0.5 + 10.0 * a * r * r, 2.0 * g - 0.4 - b, 9.5 * bl * c - 0.2);
            };
    }
}

struct Job {
    const char* model;
    bool extended;
};
constexpr Job kJobs[] = {{"CAMB-001", false},
                         {"CAMB-001", true},
                         {"CAMB-002", true},
                         {"CAMA-001", false},
                         {"CAMA-001", true}};
constexpr int kGrids[] = {2, 3, 5, 9};
constexpr std::uint32_t kLongChain = 1u << 4;
constexpr std::uint32_t kFullDomain = 1u << 8;

TEST(LookVerification, NoLookFileMadeByTheLibraryIsCalledDamaged) {
    std::mt19937 random(19);
    std::vector<std::string> alarms;
    for (int i = 0; i < 320; ++i) {
        const Job& job = kJobs[i % 5];
        const int source = (i / 5) % 4;
        const int curve = (i / 20) % 3;
        const int range = (i / 2) % 2;
        const std::uint32_t options =
            job.extended ? 0 : (i % 3 == 0 ? kLongChain : 0) | (i % 4 == 1 ? kFullDomain : 0);
        const int grid = kGrids[i % 4];
        const NodeTable look = lattice(grid, drawLook(i % 7, random));
        const LookFileBytes file = zeltest::makeLookFile(job.model, job.extended, grid, look.values,
                                                         source, curve, range, options);
        ASSERT_FALSE(file.empty()) << i;
        const zel::DecodedLook decoded = zel::decodeLookBlocks(file.data(), file.size());
        const std::string what = std::to_string(i) + " " + job.model +
                                 (job.extended ? " extended" : " standard") + " source " +
                                 std::to_string(source) + " curve " + std::to_string(curve) +
                                 " range " + std::to_string(range) + " options " +
                                 std::to_string(options) + " grid " + std::to_string(grid) + ": ";
        for (const std::string& line : zel::checkBlocks(decoded).damage) {
            alarms.push_back(what + line);
        }
        for (const std::string& line :
             zel::verifyLookFile(file, decoded.facts, &look, zel::referenceLookFiles).damage) {
            alarms.push_back(what + "with the look: " + line);
        }
        if (i % 4 == 0) {
            for (const std::string& line :
                 zel::verifyLookFile(file, decoded.facts, nullptr, zel::referenceLookFiles)
                     .damage) {
                alarms.push_back(what + "without the look: " + line);
            }
        }
    }
    EXPECT_TRUE(alarms.empty()) << alarms.size() << " false alarms, the first: " << alarms.front();
}

enum class WordClass { Cube, Lut, Matrix };

// The value bytes of the body's records of one class, and whether each lies in a record
// of the look's own words (which only the look can confirm).
struct Positions {
    std::vector<std::size_t> at;
    std::vector<bool> lookWord;
};

Positions valueBytes(const LookFileBytes& file, WordClass kind, int pass = -1) {
    const zel::BodySpan body = zel::locateBody(file.data(), file.size());
    Positions positions;
    for (const zel::BodyEntry& e :
         zel::readBodyEntries(file.data(), file.size(), body.tableAt, body.slots)) {
        const std::uint8_t category = kind == WordClass::Cube ? 4 : kind == WordClass::Lut ? 3 : 2;
        // Cube and 1D LUT words are the memories (records of values only); matrix words the
        // coefficient registers of a page (its last register is the latch).
        const bool words = kind == WordClass::Matrix ? !e.valuesOnly : e.valuesOnly;
        if (e.category != category || !words || e.registerCount == 0 ||
            (pass >= 0 && e.pass != pass)) {
            continue;
        }
        const bool lookWord =
            kind == WordClass::Cube
                ? e.valuesOnly
                : e.flag == 1 && e.subtype == 0 && (kind == WordClass::Matrix || e.valuesOnly);
        const std::size_t values =
            body.tableAt + e.offset + (e.valuesOnly ? 2 : 4 + 2 * std::size_t{e.registerCount} + 2);
        const std::size_t count = e.registerCount - (kind == WordClass::Matrix ? 1 : 0);
        for (std::size_t i = 0; i < count; ++i) {
            positions.at.push_back(values + i);
            positions.lookWord.push_back(lookWord);
        }
    }
    return positions;
}

bool flagged(const LookFileBytes& file, const std::vector<LookFileBytes>& references,
             bool sameLook) {
    try {
        const zel::DecodedLook decoded = zel::decodeLookBlocks(file.data(), file.size());
        return zel::checkBlocks(decoded).damaged() ||
               !zel::verifyLookFile(file, references, sameLook).damage.empty();
    } catch (const std::exception&) {
        return true;  // the file cannot be walked at all
    }
}

TEST(LookVerification, SingleByteFlipsAreFoundWithTheLookAndRuleBreaksWithout) {
    std::mt19937 random(1919);
    const Look look = drawLook(1, random);
    const NodeTable nodes = lattice(9, look);
    const std::pair<Job, const char*> files[] = {{{"CAMB-001", false}, "CAMB-001 standard"},
                                                 {{"CAMB-002", true}, "CAMB-002 extended"}};
    const std::pair<WordClass, const char*> classes[] = {
        {WordClass::Cube, "cube"}, {WordClass::Lut, "1D"}, {WordClass::Matrix, "matrix"}};
    for (const auto& [job, name] : files) {
        const LookFileBytes file = zeltest::makeLookFile(job.model, job.extended, 9, nodes.values);
        ASSERT_FALSE(file.empty());
        const zel::LookFacts facts = zel::locateBody(file.data(), file.size()).facts;
        const std::vector<LookFileBytes> withLook = zel::referenceLookFiles(facts, nodes);
        const std::vector<LookFileBytes> standIn =
            zel::referenceLookFiles(facts, zel::standInLook(facts.gridSize));
        ASSERT_FALSE(flagged(file, withLook, true));
        ASSERT_FALSE(flagged(file, standIn, false));
        for (const auto& [kind, className] : classes) {
            const Positions positions = valueBytes(file, kind);
            ASSERT_FALSE(positions.at.empty()) << name << " " << className;
            std::uniform_int_distribution<std::size_t> pick(0, positions.at.size() - 1);
            int foundWith = 0;
            int foundWithout = 0;
            int ruleBreaks = 0;
            int ruleBreaksFound = 0;
            for (int flip = 0; flip < 50; ++flip) {
                const std::size_t k = pick(random);
                LookFileBytes damaged = file;
                damaged[positions.at[k]] ^= 0xFF;
                foundWith += flagged(damaged, withLook, true) ? 1 : 0;
                const bool without = flagged(damaged, standIn, false);
                foundWithout += without ? 1 : 0;
                if (!positions.lookWord[k]) {
                    ++ruleBreaks;
                    ruleBreaksFound += without ? 1 : 0;
                }
            }
            std::cout << name << ", " << className << " words: " << foundWith
                      << "/50 flagged with the look, " << foundWithout << "/50 without ("
                      << ruleBreaksFound << " of " << ruleBreaks
                      << " outside the look's own words)\n";
            EXPECT_GE(foundWith, 49) << name << " " << className;
            EXPECT_EQ(ruleBreaksFound, ruleBreaks) << name << " " << className;
        }
    }
}

TEST(LookVerification, ACutOrLengthenedFileIsDamagedAndADamagedWordIsLocated) {
    std::mt19937 random(7);
    const NodeTable nodes = lattice(9, drawLook(6, random));
    const LookFileBytes file = zeltest::makeLookFile("CAMB-001", false, 9, nodes.values);
    const zel::LookFacts facts = zel::locateBody(file.data(), file.size()).facts;
    for (const long change : {-1L, -4L, 1L << 20}) {
        LookFileBytes other = file;
        other.resize(static_cast<std::size_t>(static_cast<long>(file.size()) + change));
        EXPECT_TRUE(flagged(other, zel::referenceLookFiles(facts, nodes), true)) << change;
        EXPECT_TRUE(flagged(other, zel::referenceLookFiles(facts, zel::standInLook(9)), false))
            << change;
    }
    // Pass 1's first cube list is red in bank 0; its word 111 is node (2, 2, 2).
    const Positions cube = valueBytes(file, WordClass::Cube, 1);
    LookFileBytes damaged = file;
    damaged[cube.at[2 * 111]] ^= 0x40;
    const zel::Verification found =
        zel::verifyLookFile(damaged, facts, &nodes, zel::referenceLookFiles);
    ASSERT_FALSE(found.damage.empty());
    EXPECT_NE(found.damage.front().find("cube of pass 1: node (red 2, green 2, blue 2) red"),
              std::string::npos)
        << found.damage.front();
}

}  // namespace
