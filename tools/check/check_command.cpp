#include "check/check_command.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <stdexcept>

#include "check/block_checks.h"
#include "check/fidelity.h"
#include "check/look_reference.h"
#include "cube/cube_parser.h"
#include "cube/look_lattice.h"
#include "io/look_blocks_decoder.h"
#include "zelgen/input_file.h"

namespace zelgen {

namespace {

constexpr int kExitSound = 0;
constexpr int kExitProblem = 1;

std::string fixed(double value, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string percent(double share) {
    return fixed(100.0 * share, 1) + "%";
}

std::string rgb(const std::array<double, 3>& v, int decimals) {
    return "R " + fixed(v[0], decimals) + "  G " + fixed(v[1], decimals) + "  B " +
           fixed(v[2], decimals);
}

double largestShare(const CubeFindings& cube) {
    double share = 0.0;
    for (std::size_t c = 0; c < 3; ++c) {
        share = std::max(share, cube.atZero[c] + cube.atFull[c]);
    }
    return share;
}

void printBlocks(std::ostream& out, const std::string& path, const BlockReport& report) {
    const zel::LookFacts& f = report.facts;
    out << path << ": " << (f.model.empty() ? "unknown camera" : f.model) << ", " << layoutName(f)
        << " look file, source " << sourceName(f.sourceEncoding) << ", output "
        << outputName(f.outputCurve, f.outputRange) << ", look grid " << f.gridSize << "\n";
    if (!report.cubes.empty()) {
        out << "\nCubes (" << report.cubes.front().grid << " nodes an axis)\n";
    }
    for (const CubeFindings& cube : report.cubes) {
        out << "  pass " << cube.pass << ": spans code values " << fixed(cube.domainLow, 4)
            << " to " << fixed(cube.domainHigh, 4)
            << (cube.positionsFromPage ? " (node positions of its control page)"
                                       : " (the cube's code range)")
            << (cube.movedGamut ? ";\n    reads another gamut than the look's: its nodes at black "
                                  "and full scale include the colours outside the look's gamut"
                                : "")
            << "\n    nodes at black:       " << percent(cube.atZero[0]) << " / "
            << percent(cube.atZero[1]) << " / " << percent(cube.atZero[2])
            << "  (red / green / blue)\n    nodes at full scale:  " << percent(cube.atFull[0])
            << " / " << percent(cube.atFull[1]) << " / " << percent(cube.atFull[2])
            << (!cube.movedGamut && largestShare(cube) >= kClippingShare ? "  CLIPPING" : "")
            << "\n";
    }
    if (!report.luts.empty()) {
        out << "\n1D LUTs\n";
    }
    for (const LutFindings& lut : report.luts) {
        out << "  pass " << lut.pass << " " << lut.name << ": ";
        if (lut.memories == 0) {
            out << "the camera's own table\n";
        } else {
            out << lut.memories << (lut.memories == 1 ? " memory" : " channel memories") << ", "
                << (lut.monotonic ? "rising" : "DOES NOT RISE: " + lut.fall) << "\n";
        }
    }
    if (!report.matrices.empty()) {
        out << "\nMatrices\n";
    }
    for (const MatrixFindings& m : report.matrices) {
        out << "  pass " << m.pass << " " << m.name << ": ";
        if (m.identity) {
            out << "identity\n";
            continue;
        }
        for (std::size_t r = 0; r < 3; ++r) {
            out << (r == 0 ? "" : " | ") << fixed(m.matrix[r][0], 4) << " "
                << fixed(m.matrix[r][1], 4) << " " << fixed(m.matrix[r][2], 4);
        }
        out << "\n";
    }
}

void printFidelity(std::ostream& out, const std::string& sourcePath, int curve,
                   const FidelityReport& fidelity) {
    const char* display[] = {"Rec.709 display", "PQ display", "HLG display"};
    out << "\nFidelity against " << sourcePath << " (code value errors in 10-bit steps, "
        << "CIEDE2000 on the " << display[curve >= 0 && curve <= 2 ? curve : 0] << ")\n";
    for (const PassFidelity& p : fidelity.passes) {
        const ErrorStats& s = p.cube;
        const int reference = s.samples - p.randomColours;
        out << "  pass " << p.pass << " (input " << p.inputSpace << "): " << s.samples
            << " colours the camera sees (" << p.randomColours << " random, " << reference
            << " reference)\n"
            << "    code values  max  " << rgb(s.max, 1) << "\n"
            << "                 mean " << rgb(s.mean, 2) << "\n"
            << "                 p99  " << rgb(s.p99, 1) << "\n"
            << "    CIEDE2000    max " << fixed(s.deltaEMax, 2) << "  mean "
            << fixed(s.deltaEMean, 3) << "  p99 " << fixed(s.deltaE99, 2) << "  (largest at input "
            << fixed(s.worstInput[0], 4) << " " << fixed(s.worstInput[1], 4) << " "
            << fixed(s.worstInput[2], 4) << ")\n"
            << "    limits p99 " << fixed(p.limits().p99, 1) << ", max " << fixed(p.limits().max, 1)
            << (p.otherGamut ? " (reads another gamut than the look's)" : " (the look's own gamut)")
            << (p.withinLimits() ? ": within" : ": OUTSIDE") << "\n";
        const std::pair<const char*, const ErrorStats*> parts[] = {
            {"in the look's domain:  ", &p.inDomain}, {"outside its domain:    ", &p.outOfDomain}};
        for (const auto& [name, part] : parts) {
            const double share =
                p.randomColours > 0 ? static_cast<double>(part->samples) / p.randomColours : 0.0;
            out << "    " << name << percent(share) << " of the random colours";
            if (part->samples > 0) {
                out << ", CIEDE2000 max " << fixed(part->deltaEMax, 2) << " p99 "
                    << fixed(part->deltaE99, 2) << ", code values max "
                    << fixed(std::max({part->max[0], part->max[1], part->max[2]}), 1);
            }
            out << "\n";
        }
        out << "    at the cube's " << p.nodes.samples << " nodes: CIEDE2000 max "
            << fixed(p.nodes.deltaEMax, 2) << ", largest difference in the look's domain "
            << fixed(p.nodeError, 1) << " code values\n";
        if (p.hasFallback) {
            out << "    fallback (colour matrix + 1D LUT) at the " << p.fallback.samples
                << " reference colours: code values max " << rgb(p.fallback.max, 1)
                << ", CIEDE2000 max " << fixed(p.fallback.deltaEMax, 2) << " mean "
                << fixed(p.fallback.deltaEMean, 2) << "\n";
        }
    }
    out << "  "
        << (fidelity.withinLimits() ? "every pass is within its limits"
                                    : "a pass is OUTSIDE its limits")
        << "\n";
}

// The one verdict, last: damage first, then the limits.
std::string verdictText(const BlockReport& report, bool measured, bool withinLimits,
                        bool lookGiven) {
    if (report.damaged()) {
        return "the look file is DAMAGED (it differs from what make writes); do not load it, "
               "make it again";
    }
    if (!report.noColourBlocks.empty()) {
        return report.noColourBlocks + ": the camera shows no look from it";
    }
    if (measured && !withinLimits) {
        return "the look file is sound, but the camera does NOT render the look within the "
               "limits";
    }
    if (measured) {
        return "the look file is sound and the camera renders the look faithfully";
    }
    if (lookGiven) {
        return "the look file is sound (every word is what make writes from the look)";
    }
    return "the look file's structure is sound; without the look (--look) its cube and 1D LUT "
           "words cannot be told from damaged ones";
}

nlohmann::json statsJson(const ErrorStats& s) {
    return {{"samples", s.samples},         {"codeValueMax", s.max},
            {"codeValueMean", s.mean},      {"codeValueP99", s.p99},
            {"deltaE2000Max", s.deltaEMax}, {"deltaE2000Mean", s.deltaEMean},
            {"deltaE2000P99", s.deltaE99},  {"worstInput", s.worstInput}};
}

nlohmann::json reportJson(const std::string& path, const BlockReport& report,
                          const FidelityReport* fidelity, bool lookWordsVerified,
                          const std::string& verdict) {
    const zel::LookFacts& f = report.facts;
    nlohmann::json j;
    j["file"] = path;
    j["camera"] = f.model;
    j["layout"] = layoutName(f);
    j["source"] = sourceName(f.sourceEncoding);
    j["output"] = outputName(f.outputCurve, f.outputRange);
    j["gridSize"] = f.gridSize;
    j["damaged"] = report.damaged();
    j["problems"] = report.damage;
    j["lookWordsVerified"] = lookWordsVerified;
    j["verdict"] = verdict;
    j["clipping"] = report.clipping;
    j["cubes"] = nlohmann::json::array();
    for (const CubeFindings& c : report.cubes) {
        j["cubes"].push_back({{"pass", c.pass},
                              {"grid", c.grid},
                              {"domain", {c.domainLow, c.domainHigh}},
                              {"positionsFromControlPage", c.positionsFromPage},
                              {"readsAnotherGamut", c.movedGamut},
                              {"shareAtBlack", c.atZero},
                              {"shareAtFullScale", c.atFull}});
    }
    j["luts"] = nlohmann::json::array();
    for (const LutFindings& l : report.luts) {
        j["luts"].push_back({{"pass", l.pass},
                             {"name", l.name},
                             {"memories", l.memories},
                             {"monotonic", l.monotonic}});
    }
    j["matrices"] = nlohmann::json::array();
    for (const MatrixFindings& m : report.matrices) {
        j["matrices"].push_back(
            {{"pass", m.pass}, {"name", m.name}, {"matrix", m.matrix}, {"identity", m.identity}});
    }
    if (fidelity != nullptr) {
        nlohmann::json passes = nlohmann::json::array();
        for (const PassFidelity& p : fidelity->passes) {
            nlohmann::json pass = {
                {"pass", p.pass},
                {"inputSpace", p.inputSpace},
                {"domain", {p.domainLow, p.domainHigh}},
                {"outsideLook", p.outsideLook},
                {"randomColours", p.randomColours},
                {"cube", statsJson(p.cube)},
                {"inDomain", statsJson(p.inDomain)},
                {"outOfDomain", statsJson(p.outOfDomain)},
                {"nodes", statsJson(p.nodes)},
                {"readsAnotherGamut", p.otherGamut},
                {"nodeError", p.nodeError},
                {"worstNode", p.worstNode},
                {"limits", {{"deltaE2000P99", p.limits().p99}, {"deltaE2000Max", p.limits().max}}},
                {"withinLimits", p.withinLimits()}};
            if (p.hasFallback) {
                pass["fallback"] = statsJson(p.fallback);
            }
            passes.push_back(pass);
        }
        j["fidelity"] = {{"passes", passes}, {"withinLimits", fidelity->withinLimits()}};
    }
    return j;
}

}  // namespace

std::vector<std::uint8_t> readLookFileBytes(const std::string& path) {
    return readWholeLookFile(path);
}

CheckOutcome checkLookFile(const std::vector<std::uint8_t>& bytes, const NodeTable* look) {
    CheckOutcome outcome;
    const zel::DecodedLook decoded = zel::decodeLookBlocks(bytes.data(), bytes.size());
    outcome.report = checkBlocks(decoded);
    const Verification verified = verifyLookFile(bytes, decoded.facts, look);
    BlockReport& report = outcome.report;
    report.damage.insert(report.damage.end(), verified.damage.begin(), verified.damage.end());
    outcome.lookWordsVerified = verified.lookWordsVerified;
    outcome.measured = look != nullptr && !decoded.passes.empty() && !report.damaged();
    if (outcome.measured) {
        outcome.fidelity = measureFidelity(decoded, sourceLattice(look->size(), look->data()));
    }
    const bool within = outcome.measured && outcome.fidelity.withinLimits();
    outcome.verdict = verdictText(report, outcome.measured, within, look != nullptr);
    outcome.sound =
        !report.damaged() && report.noColourBlocks.empty() && (!outcome.measured || within);
    return outcome;
}

CheckOutcome checkLookFile(const std::vector<std::uint8_t>& bytes, const std::string& sourceLook) {
    if (sourceLook.empty()) {
        return checkLookFile(bytes, nullptr);
    }
    // The look as make took it: at the grid the look file names (make's --grid).
    const int grid = zel::locateBody(bytes.data(), bytes.size()).facts.gridSize;
    const NodeTable nodes = lookLattice(
        readCubeLut(sourceLook), grid >= kSmallestGridSize && grid <= kLargestGridSize ? grid : 0);
    return checkLookFile(bytes, &nodes);
}

std::string checkJson(const CheckOutcome& outcome, const std::string& path) {
    nlohmann::json j =
        reportJson(path, outcome.report, outcome.measured ? &outcome.fidelity : nullptr,
                   outcome.lookWordsVerified, outcome.verdict);
    j["sound"] = outcome.sound;
    return j.dump(2, ' ', false, nlohmann::json::error_handler_t::replace);
}

int runCheck(const std::string& path, const std::string& sourceLook, bool json) {
    try {
        const CheckOutcome outcome = checkLookFile(readLookFileBytes(path), sourceLook);
        const BlockReport& report = outcome.report;
        if (json) {
            std::cout << checkJson(outcome, path) << std::endl;
        } else {
            printBlocks(std::cout, path, report);
            if (report.damaged()) {
                std::cout << "\nDamage\n";
                for (const std::string& problem : report.damage) {
                    std::cout << "  " << problem << "\n";
                }
            }
            if (outcome.measured) {
                printFidelity(std::cout, sourceLook, report.facts.outputCurve, outcome.fidelity);
            }
            std::cout << "\nverdict: " << outcome.verdict << std::endl;
        }
        for (const std::string& problem : report.damage) {
            std::cerr << "zelgen: " << path << ": " << problem << std::endl;
        }
        if (!outcome.sound) {
            std::cerr << "zelgen: " << path << ": " << outcome.verdict << std::endl;
            return kExitProblem;
        }
        return kExitSound;
    } catch (const zel::LookDecodeError& e) {
        // The decoder's words say what is wrong, not with which file.
        std::cerr << "zelgen: " << path << ": " << e.what() << std::endl;
        return kExitProblem;
    } catch (const std::exception& e) {
        std::cerr << "zelgen: " << e.what() << std::endl;
        return kExitProblem;
    }
}

std::string fidelitySummary(const std::vector<std::uint8_t>& lookFile, const NodeTable& source) {
    // The same check as `zelgen check --look`, so that both give the same verdict.
    const CheckOutcome outcome = checkLookFile(lookFile, &source);
    if (!outcome.measured) {
        return "fidelity: " + outcome.verdict;
    }
    double clipped = 0.0;
    for (const CubeFindings& cube : outcome.report.cubes) {
        if (!cube.movedGamut) {
            clipped = std::max(clipped, largestShare(cube));
        }
    }
    double deltaE = 0.0;
    double deltaE99 = 0.0;
    for (const PassFidelity& p : outcome.fidelity.passes) {
        deltaE = std::max(deltaE, p.cube.deltaEMax);
        deltaE99 = std::max(deltaE99, p.cube.deltaE99);
    }
    std::ostringstream line;
    line << "fidelity: " << percent(clipped) << " of cube nodes at black or full scale; error "
         << "max " << fixed(outcome.fidelity.maxCodeError(), 1) << " code values, CIEDE2000 max "
         << fixed(deltaE, 2) << ", 99% within " << fixed(deltaE99, 2) << "; " << outcome.verdict;
    return line.str();
}

}  // namespace zelgen
