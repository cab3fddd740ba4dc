#ifndef ZEL_TESTS_SUPPORT_LOOK_FORMAT_TEXTS_H
#define ZEL_TESTS_SUPPORT_LOOK_FORMAT_TEXTS_H

// The same looks written in each format a colourist meets, for the tests and benchmarks of
// the look reader: a 3D table, per-channel 1D curves and ASC CDL corrections.
//
// The 3D table's outputs are 12-bit steps (k / 4095), which every format holds exactly: the
// integer formats (.3dl) as k, the decimal ones with nine significant digits.

#include <array>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace zeltest {

using Rgb = std::array<double, 3>;

// A smooth, non-separable look with every output inside 0 to 1.
inline Rgb sampleLook(double r, double g, double b) {
    return {0.9 * std::pow(r, 0.9) + 0.05 * g, 0.8 * g * g + 0.1 * b + 0.05,
            0.2 + 0.7 * b - 0.1 * r + 0.05 * r * g};
}

inline long twelveBit(double v) {
    return std::lround(v * 4095.0);
}

// Node (r, g, b) of the table at grid n, in 12-bit steps.
inline std::array<long, 3> tableNode(int n, int r, int g, int b) {
    const double last = n - 1;
    const Rgb v = sampleLook(r / last, g / last, b / last);
    return {twelveBit(v[0]), twelveBit(v[1]), twelveBit(v[2])};
}

inline std::string decimalRow(const std::array<long, 3>& node, const char* end = "\n") {
    char line[96];
    std::snprintf(line, sizeof line, "%.9g %.9g %.9g%s", node[0] / 4095.0, node[1] / 4095.0,
                  node[2] / 4095.0, end);
    return line;
}

// Visits the table's nodes red fastest (.cube, .csp) or blue fastest (.3dl, CLF).
inline void forEachNode(int n, bool redFastest, const std::function<void(int, int, int)>& visit) {
    for (int slow = 0; slow < n; ++slow) {
        for (int middle = 0; middle < n; ++middle) {
            for (int fast = 0; fast < n; ++fast) {
                if (redFastest) {
                    visit(fast, middle, slow);
                } else {
                    visit(slow, middle, fast);
                }
            }
        }
    }
}

inline std::string cubeTable(int n) {
    std::string text = "TITLE \"sample\"\nLUT_3D_SIZE " + std::to_string(n) + "\n";
    forEachNode(n, true, [&](int r, int g, int b) { text += decimalRow(tableNode(n, r, g, b)); });
    return text;
}

inline std::string threeDlTable(int n) {
    // The input line: the 10-bit code values of the table's nodes.
    std::string text;
    for (int i = 0; i < n; ++i) {
        text += std::to_string(std::lround(i * 1023.0 / (n - 1))) + (i + 1 < n ? " " : "\n");
    }
    forEachNode(n, false, [&](int r, int g, int b) {
        const std::array<long, 3> node = tableNode(n, r, g, b);
        text += std::to_string(node[0]) + " " + std::to_string(node[1]) + " " +
                std::to_string(node[2]) + "\n";
    });
    return text;
}

inline std::string clfTable(int n) {
    const std::string size = std::to_string(n);
    std::string text =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<ProcessList id=\"sample\" compCLFversion=\"3\">\n"
        "  <LUT3D id=\"table\" inBitDepth=\"32f\" outBitDepth=\"32f\">\n"
        "    <Array dim=\"" +
        size + " " + size + " " + size + " 3\">\n";
    forEachNode(n, false, [&](int r, int g, int b) { text += decimalRow(tableNode(n, r, g, b)); });
    return text + "    </Array>\n  </LUT3D>\n</ProcessList>\n";
}

inline std::string cspTable(int n) {
    const std::string size = std::to_string(n);
    std::string text = "CSPLUTV100\n3D\n\n";
    for (int c = 0; c < 3; ++c) {
        text += "2\n0.0 1.0\n0.0 1.0\n";
    }
    text += "\n" + size + " " + size + " " + size + "\n";
    forEachNode(n, true, [&](int r, int g, int b) { text += decimalRow(tableNode(n, r, g, b)); });
    return text;
}

inline std::string spi3dTable(int n) {
    const std::string size = std::to_string(n);
    std::string text = "SPILUT 1.0\n3 3\n" + size + " " + size + " " + size + "\n";
    forEachNode(n, false, [&](int r, int g, int b) {
        text += std::to_string(r) + " " + std::to_string(g) + " " + std::to_string(b) + " " +
                decimalRow(tableNode(n, r, g, b));
    });
    return text;
}

// Per-channel curves of a 1D look: red x^0.6, green x^0.8, blue 1 - (1 - x)^1.5, as `size`
// entries over the input 0 to 1, in float steps.
inline std::vector<Rgb> curveEntries(int size) {
    std::vector<Rgb> entries;
    for (int i = 0; i < size; ++i) {
        const double x = i / double(size - 1);
        entries.push_back({double(float(std::pow(x, 0.6))), double(float(std::pow(x, 0.8))),
                           double(float(1.0 - std::pow(1.0 - x, 1.5)))});
    }
    return entries;
}

inline std::string entryRows(const std::vector<Rgb>& entries, const char* prefix = "") {
    std::string text;
    char line[96];
    for (const Rgb& e : entries) {
        std::snprintf(line, sizeof line, "%s%.9g %.9g %.9g\n", prefix, e[0], e[1], e[2]);
        text += line;
    }
    return text;
}

inline std::string cubeCurves(int size) {
    return "LUT_1D_SIZE " + std::to_string(size) + "\n" + entryRows(curveEntries(size));
}

inline std::string spi1dCurves(int size) {
    return "Version 1\nFrom 0.0 1.0\nLength " + std::to_string(size) + "\nComponents 3\n{\n" +
           entryRows(curveEntries(size), " ") + "}\n";
}

inline std::string clfCurves(int size) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<ProcessList id=\"curves\" compCLFversion=\"3\">\n"
           "  <LUT1D id=\"curve\" inBitDepth=\"32f\" outBitDepth=\"32f\">\n"
           "    <Array dim=\"" +
           std::to_string(size) + " 3\">\n" + entryRows(curveEntries(size)) +
           "    </Array>\n  </LUT1D>\n</ProcessList>\n";
}

// An ASC CDL correction: slope, offset, power per channel and saturation.
struct Correction {
    std::string id;
    Rgb slope, offset, power;
    double saturation;
};

inline const std::vector<Correction>& sampleCorrections() {
    static const std::vector<Correction> corrections{
        {"shot_a", {1.1, 1.0, 0.9}, {0.01, 0.0, -0.02}, {1.2, 1.0, 0.8}, 0.8},
        {"shot_b", {0.9, 1.05, 1.2}, {-0.01, 0.02, 0.0}, {0.9, 1.1, 1.0}, 1.2},
    };
    return corrections;
}

// The ASC CDL formula: out = clamp(in * slope + offset) ^ power per channel, then the
// saturation about the Rec.709 luma, clamped to 0 to 1.
inline Rgb ascCdl(const Correction& c, const Rgb& in) {
    Rgb v{};
    for (int i = 0; i < 3; ++i) {
        const double sop = std::fmin(std::fmax(in[i] * c.slope[i] + c.offset[i], 0.0), 1.0);
        v[i] = std::pow(sop, c.power[i]);
    }
    const double luma = 0.2126 * v[0] + 0.7152 * v[1] + 0.0722 * v[2];
    for (double& x : v) {
        x = std::fmin(std::fmax(luma + c.saturation * (x - luma), 0.0), 1.0);
    }
    return v;
}

inline std::string triple(const Rgb& v) {
    char text[96];
    std::snprintf(text, sizeof text, "%.9g %.9g %.9g", v[0], v[1], v[2]);
    return text;
}

inline std::string correctionXml(const Correction& c) {
    char sat[32];
    std::snprintf(sat, sizeof sat, "%.9g", c.saturation);
    return "  <ColorCorrection id=\"" + c.id + "\">\n    <SOPNode>\n      <Slope>" +
           triple(c.slope) + "</Slope>\n      <Offset>" + triple(c.offset) +
           "</Offset>\n      <Power>" + triple(c.power) +
           "</Power>\n    </SOPNode>\n    <SATNode>\n      <Saturation>" + sat +
           "</Saturation>\n    </SATNode>\n  </ColorCorrection>\n";
}

inline std::string ccText(const Correction& c) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + correctionXml(c);
}

inline std::string cccText() {
    std::string text =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<ColorCorrectionCollection xmlns=\"urn:ASC:CDL:v1.01\">\n";
    for (const Correction& c : sampleCorrections()) {
        text += correctionXml(c);
    }
    return text + "</ColorCorrectionCollection>\n";
}

inline std::string cdlText() {
    std::string text =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<ColorDecisionList xmlns=\"urn:ASC:CDL:v1.01\">\n";
    for (const Correction& c : sampleCorrections()) {
        text += " <ColorDecision>\n" + correctionXml(c) + " </ColorDecision>\n";
    }
    return text + "</ColorDecisionList>\n";
}

}  // namespace zeltest

#endif  // ZEL_TESTS_SUPPORT_LOOK_FORMAT_TEXTS_H
