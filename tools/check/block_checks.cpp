#include "check/block_checks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "color/cube_builder.h"
#include "io/look_renderer.h"

namespace zelgen {

namespace {

constexpr const char* kChannels[] = {"red", "green", "blue"};

std::string number(double value, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

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
                    // A damaged word makes its node stand out from all its neighbours.
                    double low = 1e300;
                    double high = -1e300;
                    const int at[3] = {r, gr, b};
                    for (int axis = 0; axis < 3; ++axis) {
                        for (int step = -1; step <= 1; step += 2) {
                            int n[3] = {at[0], at[1], at[2]};
                            n[axis] += step;
                            if (n[axis] < 0 || n[axis] >= g) {
                                continue;
                            }
                            const double w = cube.node(n[0], n[1], n[2])[c];
                            low = std::min(low, w);
                            high = std::max(high, w);
                        }
                    }
                    if (v[c] > high + kSpikeMargin || v[c] < low - kSpikeMargin) {
                        found.damagedNodes.push_back(
                            "cube of pass " + std::to_string(pass) + ": node (red " +
                            std::to_string(r) + ", green " + std::to_string(gr) + ", blue " +
                            std::to_string(b) + ") " + kChannels[c] + " reads " + number(v[c], 4) +
                            " where its neighbours read " + number(low, 4) + " to " +
                            number(high, 4) + ": a damaged cube word");
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
    report.damage = look.problems;
    for (const zel::LookPass& pass : look.passes) {
        if (pass.cube) {
            CubeFindings cube = checkCube(look.facts, pass.pass, *pass.cube);
            for (int c = 0; c < 3 && !cube.movedGamut; ++c) {
                const auto i = static_cast<std::size_t>(c);
                report.clipping = report.clipping || cube.atZero[i] >= kClippingShare ||
                                  cube.atFull[i] >= kClippingShare;
            }
            report.damage.insert(report.damage.end(), cube.damagedNodes.begin(),
                                 cube.damagedNodes.end());
            report.cubes.push_back(std::move(cube));
        }
        const std::pair<const std::optional<DecodedLut1d>*, const char*> luts[] = {
            {&pass.firstLut, "first 1D LUT"}, {&pass.secondLut, "second 1D LUT"}};
        for (const auto& [lut, name] : luts) {
            if (*lut) {
                LutFindings found = checkLut(pass.pass, name, **lut);
                if (!found.monotonic) {
                    report.damage.push_back(std::string(name) + " of pass " +
                                            std::to_string(pass.pass) +
                                            ": does not rise: " + found.fall);
                }
                report.luts.push_back(std::move(found));
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

}  // namespace zelgen
