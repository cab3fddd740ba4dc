#include "readback/block_checks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "color/cube_builder.h"
#include "readback/look_renderer.h"

namespace zel {

namespace {

constexpr const char* kChannels[] = {"red", "green", "blue"};

CubeFindings checkCube(const zel::LookFacts& facts, int pass, const DecodedCube& cube) {
    CubeFindings found;
    found.pass = pass;
    found.grid = cube.grid;
    found.positionsFromPage = cube.nodePositions.size() >= 2;
    found.movedGamut = zel::passMovesGamut(facts, pass);
    if (found.positionsFromPage) {
        found.domainLow = cube.nodePositions.front() / 8192.0;
        found.domainHigh = cube.nodePositions.back() / 8192.0;
    } else if (facts.sourceEncoding >= 0 && facts.sourceEncoding <= 3) {
        const auto source = static_cast<std::uint8_t>(facts.sourceEncoding);
        const zel::CodeRange range =
            facts.layout == zel::LookLayout::Standard
                ? zel::standardCodeRange(source)
                : zel::extendedCodeRange(source, static_cast<std::uint32_t>(pass));
        found.domainLow = range.low;
        found.domainHigh = range.high;
    }
    const int g = cube.grid;
    const double nodes = static_cast<double>(g) * g * g;
    for (int r = 0; r < g; ++r) {
        for (int gr = 0; gr < g; ++gr) {
            for (int b = 0; b < g; ++b) {
                const double* v = cube.node(r, gr, b);
                for (int c = 0; c < 3; ++c) {
                    if (v[c] <= 0.0) {
                        found.atZero[static_cast<std::size_t>(c)] += 1.0 / nodes;
                    } else if (v[c] >= 1.0) {
                        found.atFull[static_cast<std::size_t>(c)] += 1.0 / nodes;
                    }
                }
            }
        }
    }
    return found;
}

LutFindings checkLut(int pass, const char* name, const DecodedLut1d& lut) {
    LutFindings found;
    found.pass = pass;
    found.name = name;
    found.memories = static_cast<int>(lut.words.size());
    std::size_t memory = 0;
    std::size_t where = 0;
    found.monotonic = lut.monotonic(&memory, &where);
    if (!found.monotonic) {
        const char* memoryName = lut.words.size() == 1 ? "all channels" : kChannels[memory];
        found.fall = std::string(memoryName) + " falls at input code " +
                     std::to_string(lut.positions[where]) + " (word " +
                     std::to_string(lut.words[memory][where - 1]) + " then " +
                     std::to_string(lut.words[memory][where]) + ")";
    }
    return found;
}

MatrixFindings checkMatrix(int pass, const char* name, const DecodedMatrix& m) {
    MatrixFindings found;
    found.pass = pass;
    found.name = name;
    found.matrix = m;
    found.identity = true;
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            found.identity =
                found.identity &&
                m[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] == (r == c ? 1.0 : 0.0);
        }
    }
    return found;
}

}  // namespace

BlockReport checkBlocks(const zel::DecodedLook& look) {
    BlockReport report;
    report.facts = look.facts;
    if (look.noColourBlocks) {
        // A file made so is sound; it just carries no look for the camera.
        report.noColourBlocks = look.problems.front();
    } else {
        report.damage = look.problems;
    }
    for (const zel::LookPass& pass : look.passes) {
        if (pass.cube) {
            CubeFindings cube = checkCube(look.facts, pass.pass, *pass.cube);
            for (int c = 0; c < 3 && !cube.movedGamut; ++c) {
                const auto i = static_cast<std::size_t>(c);
                report.clipping = report.clipping || cube.atZero[i] >= kClippingShare ||
                                  cube.atFull[i] >= kClippingShare;
            }
            report.cubes.push_back(std::move(cube));
        }
        const std::pair<const std::optional<DecodedLut1d>*, const char*> luts[] = {
            {&pass.firstLut, "first 1D LUT"}, {&pass.secondLut, "second 1D LUT"}};
        for (const auto& [lut, name] : luts) {
            if (*lut) {
                // A falling curve is what some looks make (inverted channels): reported,
                // not taken as damage.
                report.luts.push_back(checkLut(pass.pass, name, **lut));
            }
        }
        const std::pair<const std::optional<DecodedMatrix>*, const char*> matrices[] = {
            {&pass.colorMatrix, "colour matrix"},
            {&pass.gainMatrix, "gain matrix"},
            {&pass.secondMatrix, "second matrix"}};
        for (const auto& [matrix, name] : matrices) {
            if (*matrix) {
                report.matrices.push_back(checkMatrix(pass.pass, name, **matrix));
            }
        }
    }
    return report;
}

std::string layoutName(const zel::LookFacts& facts) {
    return facts.layout == zel::LookLayout::Standard ? "standard" : "extended";
}

std::string sourceName(int encoding) {
    switch (encoding) {
        case 0:
            return "Q-Enc3/Q-Prims3";
        case 1:
            return "Q-Enc3/Q-Prims3.Film";
        case 2:
            return "ACEScc";
        case 3:
            return "ACEScct";
        default:
            return "unknown";
    }
}

std::string outputName(int curve, int range) {
    const char* curves[] = {"Rec.709", "Rec.2100 PQ", "Rec.2100 HLG"};
    const std::string name = curve >= 0 && curve <= 2 ? curves[curve] : "unknown output";
    return name + (range == 0 ? ", full range" : range == 1 ? ", legal range" : "");
}

}  // namespace zel
