#include "check/check_command.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <stdexcept>

#include "cube/cube_file.h"
#include "cube_reader/look_lattice.h"
#include "readback/block_checks.h"
#include "readback/look_blocks_decoder.h"
#include "readback/look_check.h"
#include "zel/zel_c.h"
#include "zelgen/exit_status.h"
#include "zelgen/input_file.h"

namespace zelgen {

namespace {

using Json = nlohmann::json;

std::string fixed(double value, int decimals) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// A figure of the report; null (a number that was not finite) reads as 0.
double number(const Json& value) {
    return value.is_number() ? value.get<double>() : 0.0;
}

std::string percent(const Json& share) {
    return fixed(100.0 * number(share), 1) + "%";
}

std::string rgb(const Json& v, int decimals) {
    return "R " + fixed(number(v[0]), decimals) + "  G " + fixed(number(v[1]), decimals) + "  B " +
           fixed(number(v[2]), decimals);
}

double largestShare(const Json& cube) {
    double share = 0.0;
    for (std::size_t c = 0; c < 3; ++c) {
        share =
            std::max(share, number(cube["shareAtBlack"][c]) + number(cube["shareAtFullScale"][c]));
    }
    return share;
}

void printBlocks(std::ostream& out, const std::string& path, const Json& report) {
    const std::string camera = report["camera"];
    out << path << ": " << (camera.empty() ? "unknown camera" : camera) << ", "
        << report["layout"].get<std::string>() << " look file, source "
        << report["source"].get<std::string>() << ", output " << report["output"].get<std::string>()
        << ", look grid " << report["gridSize"].get<int>() << "\n";
    const Json& cubes = report["cubes"];
    if (!cubes.empty()) {
        out << "\nCubes (" << cubes.front()["grid"].get<int>() << " nodes an axis)\n";
    }
    for (const Json& cube : cubes) {
        const bool moved = cube["readsAnotherGamut"];
        out << "  pass " << cube["pass"].get<int>() << ": spans code values "
            << fixed(number(cube["domain"][0]), 4) << " to " << fixed(number(cube["domain"][1]), 4)
            << (cube["positionsFromControlPage"].get<bool>()
                    ? " (node positions of its control page)"
                    : " (the cube's code range)")
            << (moved ? ";\n    reads another gamut than the look's: its nodes at black "
                        "and full scale include the colours outside the look's gamut"
                      : "")
            << "\n    nodes at black:       " << percent(cube["shareAtBlack"][0]) << " / "
            << percent(cube["shareAtBlack"][1]) << " / " << percent(cube["shareAtBlack"][2])
            << "  (red / green / blue)\n    nodes at full scale:  "
            << percent(cube["shareAtFullScale"][0]) << " / " << percent(cube["shareAtFullScale"][1])
            << " / " << percent(cube["shareAtFullScale"][2])
            << (!moved && largestShare(cube) >= zel::kClippingShare ? "  CLIPPING" : "") << "\n";
    }
    if (!report["luts"].empty()) {
        out << "\n1D LUTs\n";
    }
    for (const Json& lut : report["luts"]) {
        out << "  pass " << lut["pass"].get<int>() << " " << lut["name"].get<std::string>() << ": ";
        const int memories = lut["memories"];
        if (memories == 0) {
            out << "the camera's own table\n";
        } else {
            out << memories << (memories == 1 ? " memory" : " channel memories") << ", "
                << (lut["monotonic"].get<bool>()
                        ? "rising"
                        : "DOES NOT RISE: " + lut.value("fall", std::string()))
                << "\n";
        }
    }
    if (!report["matrices"].empty()) {
        out << "\nMatrices\n";
    }
    for (const Json& m : report["matrices"]) {
        out << "  pass " << m["pass"].get<int>() << " " << m["name"].get<std::string>() << ": ";
        if (m["identity"].get<bool>()) {
            out << "identity\n";
            continue;
        }
        for (std::size_t r = 0; r < 3; ++r) {
            const Json& row = m["matrix"][r];
            out << (r == 0 ? "" : " | ") << fixed(number(row[0]), 4) << " "
                << fixed(number(row[1]), 4) << " " << fixed(number(row[2]), 4);
        }
        out << "\n";
    }
}

void printFidelity(std::ostream& out, const std::string& sourcePath, const std::string& output,
                   const Json& fidelity) {
    const char* display = output.rfind("Rec.2100 PQ", 0) == 0    ? "PQ display"
                          : output.rfind("Rec.2100 HLG", 0) == 0 ? "HLG display"
                                                                 : "Rec.709 display";
    out << "\nFidelity against " << sourcePath << " (code value errors in 10-bit steps, "
        << "CIEDE2000 on the " << display << ")\n";
    for (const Json& p : fidelity["passes"]) {
        const Json& s = p["cube"];
        const int samples = s["samples"];
        const int random = p["randomColours"];
        const bool other = p["readsAnotherGamut"];
        out << "  pass " << p["pass"].get<int>() << " (input " << p["inputSpace"].get<std::string>()
            << "): " << samples << " colours the camera sees (" << random << " random, "
            << samples - random << " reference)\n"
            << "    code values  max  " << rgb(s["codeValueMax"], 1) << "\n"
            << "                 mean " << rgb(s["codeValueMean"], 2) << "\n"
            << "                 p99  " << rgb(s["codeValueP99"], 1) << "\n"
            << "    CIEDE2000    max " << fixed(number(s["deltaE2000Max"]), 2) << "  mean "
            << fixed(number(s["deltaE2000Mean"]), 3) << "  p99 "
            << fixed(number(s["deltaE2000P99"]), 2) << "  (largest at input "
            << fixed(number(s["worstInput"][0]), 4) << " " << fixed(number(s["worstInput"][1]), 4)
            << " " << fixed(number(s["worstInput"][2]), 4) << ")\n"
            << "    limits p99 " << fixed(number(p["limits"]["deltaE2000P99"]), 1) << ", max "
            << fixed(number(p["limits"]["deltaE2000Max"]), 1)
            << (other ? " (reads another gamut than the look's)" : " (the look's own gamut)")
            << (p["withinLimits"].get<bool>() ? ": within" : ": OUTSIDE") << "\n";
        const std::pair<const char*, const char*> parts[] = {
            {"in the look's domain:  ", "inDomain"}, {"outside its domain:    ", "outOfDomain"}};
        for (const auto& [name, key] : parts) {
            const Json& part = p[key];
            const int partSamples = part["samples"];
            out << "    " << name << fixed(random > 0 ? 100.0 * partSamples / random : 0.0, 1)
                << "% of the random colours";
            if (partSamples > 0) {
                const Json& max = part["codeValueMax"];
                out << ", CIEDE2000 max " << fixed(number(part["deltaE2000Max"]), 2) << " p99 "
                    << fixed(number(part["deltaE2000P99"]), 2) << ", code values max "
                    << fixed(std::max({number(max[0]), number(max[1]), number(max[2])}), 1);
            }
            out << "\n";
        }
        out << "    at the cube's " << p["nodes"]["samples"].get<int>() << " nodes: CIEDE2000 max "
            << fixed(number(p["nodes"]["deltaE2000Max"]), 2)
            << ", largest difference in the look's domain " << fixed(number(p["nodeError"]), 1)
            << " code values\n";
        if (p.contains("fallback")) {
            const Json& f = p["fallback"];
            out << "    fallback (colour matrix + 1D LUT) at the " << f["samples"].get<int>()
                << " reference colours: code values max " << rgb(f["codeValueMax"], 1)
                << ", CIEDE2000 max " << fixed(number(f["deltaE2000Max"]), 2) << " mean "
                << fixed(number(f["deltaE2000Mean"]), 2) << "\n";
        }
    }
    out << "  "
        << (fidelity["withinLimits"].get<bool>() ? "every pass is within its limits"
                                                 : "a pass is OUTSIDE its limits")
        << "\n";
}

// The library's check; `rows` null: without the look.
std::string libraryCheck(const std::vector<std::uint8_t>& bytes, const float* rows, int grid) {
    if (bytes.size() > UINT32_MAX) {
        throw std::runtime_error("the look file is larger than 4 GiB");
    }
    char message[512]{};
    zel_check_result* result = nullptr;
    const std::int32_t code =
        zel_check(bytes.data(), static_cast<std::uint32_t>(bytes.size()), rows, grid,
                  ZEL_ORDER_BLUE_FASTEST, &result, message, sizeof message);
    const std::string reason = message[0] != '\0' ? message : zel_error_text(code);
    if (code == ZEL_ERROR_NOT_LOOK_FILE) {
        throw zel::DecodeError("", reason);
    }
    if (code != ZEL_OK) {
        throw std::runtime_error(reason);
    }
    std::string json = zel_check_json(result);
    zel_check_result_free(result);
    return json;
}

}  // namespace

std::string checkReport(const std::vector<std::uint8_t>& bytes, const zel::io::NodeTable* look) {
    if (look == nullptr) {
        return libraryCheck(bytes, nullptr, 0);
    }
    // The node table's four floats a node as the three of a row, blue fastest.
    std::vector<float> rows(look->nodeCount() * 3);
    for (std::size_t node = 0; node < look->nodeCount(); ++node) {
        std::copy_n(look->data() + 4 * node, 3, rows.data() + 3 * node);
    }
    return libraryCheck(bytes, rows.data(), look->size());
}

std::string checkReport(const std::vector<std::uint8_t>& bytes, const std::string& sourceLook) {
    if (sourceLook.empty()) {
        return checkReport(bytes, nullptr);
    }
    // The look as make took it: at the grid the look file names (make's --grid).
    const int grid = zel::locateBody(bytes.data(), bytes.size()).facts.gridSize;
    const zel::io::NodeTable nodes = zel::io::lookLattice(
        readCubeLut(sourceLook),
        grid >= zel::io::kSmallestGridSize && grid <= zel::io::kLargestGridSize ? grid : 0);
    return checkReport(bytes, &nodes);
}

int runCheck(const std::string& path, const std::string& sourceLook, bool json) {
    try {
        const std::string text = checkReport(readWholeLookFile(path), sourceLook);
        const Json report = Json::parse(text);
        if (json) {
            std::cout << text << std::endl;
        } else {
            printBlocks(std::cout, path, report);
            if (report["damaged"].get<bool>()) {
                std::cout << "\nDamage\n";
                for (const Json& problem : report["problems"]) {
                    std::cout << "  " << problem.get<std::string>() << "\n";
                }
            }
            if (report.contains("fidelity")) {
                printFidelity(std::cout, sourceLook, report["output"], report["fidelity"]);
            }
            std::cout << "\nverdict: " << report["verdict"].get<std::string>() << std::endl;
        }
        for (const Json& problem : report["problems"]) {
            std::cerr << "zelgen: " << path << ": " << problem.get<std::string>() << std::endl;
        }
        if (!report["sound"].get<bool>()) {
            std::cerr << "zelgen: " << path << ": " << report["verdict"].get<std::string>()
                      << std::endl;
            return kExitFailed;
        }
        return kExitSuccess;
    } catch (const zel::DecodeError& e) {
        // The decoder's words say what is wrong, not with which file.
        std::cerr << "zelgen: " << path << ": " << e.what() << std::endl;
        return kExitFailed;
    } catch (const std::exception& e) {
        std::cerr << "zelgen: " << e.what() << std::endl;
        return kExitFailed;
    }
}

std::string checkMadeLook(const std::vector<std::uint8_t>& lookFile,
                          const zel::io::NodeTable& look) {
    zel::LookNodes nodes;
    nodes.size = look.size();
    nodes.borrowed = look.data();
    const zel::ReferenceMaker itself = [&lookFile](const zel::LookFacts&, const zel::LookNodes&,
                                                   const zel::ReferenceWanted&) {
        return std::vector<zel::LookFileBytes>{lookFile};
    };
    return zel::checkJson(zel::checkLookFile(lookFile.data(), lookFile.size(), &nodes, itself));
}

std::string fidelitySummary(const std::vector<std::uint8_t>& lookFile,
                            const zel::io::NodeTable& source) {
    // The library's check, as `zelgen check --look` gives it, so that both give one verdict.
    const Json report = Json::parse(checkMadeLook(lookFile, source));
    const std::string verdict = report["verdict"];
    if (!report.contains("fidelity")) {
        return "fidelity: " + verdict;
    }
    double clipped = 0.0;
    for (const Json& cube : report["cubes"]) {
        if (!cube["readsAnotherGamut"].get<bool>()) {
            clipped = std::max(clipped, largestShare(cube));
        }
    }
    double deltaE = 0.0;
    double deltaE99 = 0.0;
    double codeError = 0.0;
    for (const Json& p : report["fidelity"]["passes"]) {
        deltaE = std::max(deltaE, number(p["cube"]["deltaE2000Max"]));
        deltaE99 = std::max(deltaE99, number(p["cube"]["deltaE2000P99"]));
        for (const Json& channel : p["cube"]["codeValueMax"]) {
            codeError = std::max(codeError, number(channel));
        }
    }
    std::ostringstream line;
    line << "fidelity: " << fixed(100.0 * clipped, 1)
         << "% of cube nodes at black or full scale; error max " << fixed(codeError, 1)
         << " code values, CIEDE2000 max " << fixed(deltaE, 2) << ", 99% within "
         << fixed(deltaE99, 2) << "; " << verdict;
    return line.str();
}

}  // namespace zelgen
