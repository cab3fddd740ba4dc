#include "check/preview_command.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <stdexcept>

#include "check/bitmap_font.h"
#include "check/check_command.h"
#include "check/png_image.h"
#include "cube/cube_file.h"
#include "cube_reader/look_lattice.h"
#include "readback/block_checks.h"
#include "readback/look_fidelity.h"
#include "readback/look_renderer.h"
#include "zelgen/exit_status.h"
#include "zelgen/input_file.h"
#include "zelgen/pending_file.h"

namespace zelgen {

namespace {

using zel::FidelityReport;
using zel::inputSpaceName;
using zel::layoutName;
using zel::measureFidelity;
using zel::PassFidelity;
using zel::sourceLattice;

constexpr float kDifferenceGain = 10.0f;
constexpr int kMargin = 8;
constexpr int kLabelScale = 2;
constexpr int kLabelHeight = kGlyphHeight * kLabelScale + 2 * kMargin;
constexpr float kBackground[3] = {0.12f, 0.12f, 0.12f};
constexpr float kInk[3] = {0.9f, 0.9f, 0.9f};

// The chart, as input code values of the pass.
constexpr int kChartWidth = 768;
constexpr int kRampHeight = 32;
constexpr int kSweepHeight = 16;
constexpr int kPatchHeight = 48;
constexpr double kSaturations[] = {0.3, 0.6, 1.0};
constexpr double kStops[] = {-2.0, 0.0, 2.0};
// The marks about the largest difference, and the colours measured to find the worst pass.
constexpr std::size_t kMarkSize = 10;
constexpr int kPreviewSamples = 20000;

// A fully saturated colour of hue h (0 to 1): one channel full, one off, one between.
std::array<double, 3> hueColour(double h) {
    const double x = 6.0 * (h - std::floor(h));
    const double r = std::clamp(std::fabs(x - 3.0) - 1.0, 0.0, 1.0);
    const double g = std::clamp(2.0 - std::fabs(x - 2.0), 0.0, 1.0);
    const double b = std::clamp(2.0 - std::fabs(x - 4.0), 0.0, 1.0);
    return {r, g, b};
}

RgbImage chartInput(const zel::PassRenderer& renderer) {
    const int sweeps = 9;
    RgbImage chart;
    chart.width = kChartWidth;
    chart.height = kRampHeight + sweeps * kSweepHeight + kPatchHeight;
    chart.pixels.assign(static_cast<std::size_t>(chart.width) * chart.height * 3, 0.0f);
    auto put = [&](int x, int y, const double code[3]) {
        float* p =
            &chart
                 .pixels[(static_cast<std::size_t>(y) * chart.width + static_cast<std::size_t>(x)) *
                         3];
        p[0] = static_cast<float>(code[0]);
        p[1] = static_cast<float>(code[1]);
        p[2] = static_cast<float>(code[2]);
    };
    const double low = renderer.domain().low;
    const double high = renderer.domain().high;
    double code[3];
    // Grey ramp: 64 steps over the cube's code range.
    for (int x = 0; x < kChartWidth; ++x) {
        const double v = low + (high - low) * (x / (kChartWidth / 64)) / 63.0;
        code[0] = code[1] = code[2] = v;
        for (int y = 0; y < kRampHeight; ++y) {
            put(x, y, code);
        }
    }
    // Hue sweeps about mid grey (0.18) at three exposures and three saturations.
    int y0 = kRampHeight;
    for (const double stops : kStops) {
        for (const double saturation : kSaturations) {
            for (int x = 0; x < kChartWidth; ++x) {
                const std::array<double, 3> hue = hueColour(static_cast<double>(x) / kChartWidth);
                const double exposure = 0.18 * std::exp2(stops);
                zel::Rgb linear{};
                for (std::size_t c = 0; c < 3; ++c) {
                    linear[c] = exposure * ((1.0 - saturation) + saturation * 2.0 * hue[c]);
                }
                renderer.encode(linear, code);
                for (int y = 0; y < kSweepHeight; ++y) {
                    put(x, y0 + y, code);
                }
            }
            y0 += kSweepHeight;
        }
    }
    // The reference colours as patches.
    const zel::ReferenceSet& references = zel::referenceSet(renderer.inputSpace().primaries);
    const int patch = kChartWidth / static_cast<int>(references.size());
    for (int x = 0; x < kChartWidth; ++x) {
        const std::size_t k =
            std::min<std::size_t>(static_cast<std::size_t>(x / patch), references.size() - 1);
        renderer.encode(references[k], code);
        for (int y = 0; y < kPatchHeight; ++y) {
            put(x, y0 + y, code);
        }
    }
    return chart;
}

// Draws a hollow square of `size` pixels about (x, y) in the ink colour, inside the image.
void markSquare(RgbImage& image, std::size_t x, std::size_t y, std::size_t size) {
    const std::size_t half = size / 2;
    for (std::size_t dy = 0; dy <= size; ++dy) {
        for (std::size_t dx = 0; dx <= size; ++dx) {
            if (dx != 0 && dx != size && dy != 0 && dy != size) {
                continue;
            }
            const std::size_t px = x + dx;
            const std::size_t py = y + dy;
            if (px < half || py < half || px - half >= image.width || py - half >= image.height) {
                continue;
            }
            float* p = &image.pixels[((py - half) * image.width + (px - half)) * 3];
            p[0] = kInk[0];
            p[1] = kInk[1];
            p[2] = kInk[2];
        }
    }
}

// Stacks the three renderings of `input`, each under its label, and marks in each panel the
// pixel where the camera departs most from the look.
RgbImage comparison(const zel::PassRenderer& renderer, const RgbImage& input,
                    const std::string& title) {
    const std::string labels[] = {"source look", "camera (decoded look file)",
                                  "difference x10 (largest marked)"};
    RgbImage out;
    out.width = std::max<std::uint32_t>(input.width + 2 * kMargin, 480);
    const std::uint32_t panel = kLabelHeight + input.height;
    out.height = kLabelHeight + 3 * panel + kMargin;
    out.pixels.resize(static_cast<std::size_t>(out.width) * out.height * 3);
    for (std::size_t i = 0; i < out.pixels.size(); ++i) {
        out.pixels[i] = kBackground[i % 3];
    }
    drawText(out, kMargin, kMargin, title, kLabelScale, kInk);
    for (int k = 0; k < 3; ++k) {
        const int top = kLabelHeight + k * static_cast<int>(panel);
        drawText(out, kMargin, top + kMargin, labels[k], kLabelScale, kInk);
    }
    const std::size_t pixels = static_cast<std::size_t>(input.width) * input.height;
    double largest = 0.0;
    std::size_t worst = pixels;
    for (std::size_t p = 0; p < pixels; ++p) {
        const double in[3] = {input.pixels[3 * p], input.pixels[3 * p + 1],
                              input.pixels[3 * p + 2]};
        double source[3];
        double camera[3];
        renderer.source(in, source);
        renderer.camera(in, camera);
        const std::size_t x = p % input.width + kMargin;
        const std::size_t y = p / input.width + kLabelHeight;
        for (std::size_t c = 0; c < 3; ++c) {
            const double s = std::clamp(source[c], 0.0, 1.0);
            const double m = std::clamp(camera[c], 0.0, 1.0);
            const double values[3] = {s, m, std::fabs(m - s) * kDifferenceGain};
            if (std::fabs(m - s) > largest) {
                largest = std::fabs(m - s);
                worst = p;
            }
            for (std::size_t k = 0; k < 3; ++k) {
                const std::size_t row = y + kLabelHeight * (k + 1) + input.height * k;
                out.pixels[(row * out.width + x) * 3 + c] = static_cast<float>(values[k]);
            }
        }
    }
    // A difference below one 10-bit code value is not marked.
    if (worst < pixels && largest * 1023.0 >= 1.0) {
        const std::size_t x = worst % input.width + kMargin;
        for (std::size_t k = 0; k < 3; ++k) {
            const std::size_t y = worst / input.width + kLabelHeight * (k + 2) + input.height * k;
            markSquare(out, x, y, kMarkSize);
        }
    }
    return out;
}

// The pass to show: the one asked for; else with a frame of the user's the pass that reads
// the look's own encoding and gamut (a frame's code values need no move); else the pass
// where the camera departs most from the look.
const zel::LookPass& choosePass(const zel::DecodedLook& look, const ZelColorConverter& lattice,
                                int asked, bool frame) {
    std::vector<const zel::LookPass*> passes;
    for (const zel::LookPass& candidate : look.passes) {
        if (candidate.cube) {
            passes.push_back(&candidate);
        }
    }
    if (passes.empty()) {
        throw std::runtime_error("the look file carries no cube" +
                                 (look.problems.empty() ? "" : " (" + look.problems[0] + ")"));
    }
    if (asked >= 0) {
        for (const zel::LookPass* pass : passes) {
            if (pass->pass == asked) {
                return *pass;
            }
        }
        throw std::runtime_error("the look file has no pass " + std::to_string(asked) +
                                 " with a cube (its passes: 0 to " +
                                 std::to_string(passes.back()->pass) + ")");
    }
    if (frame) {
        for (const zel::LookPass* pass : passes) {
            if (!zel::passMovesGamut(look.facts, pass->pass)) {
                return *pass;
            }
        }
        throw std::runtime_error("no cube of the look file reads the look's own gamut");
    }
    const FidelityReport fidelity = measureFidelity(look, lattice, kPreviewSamples);
    const auto worst = std::max_element(fidelity.passes.begin(), fidelity.passes.end(),
                                        [](const PassFidelity& a, const PassFidelity& b) {
                                            return a.cube.deltaEMax < b.cube.deltaEMax;
                                        });
    for (const zel::LookPass* pass : passes) {
        if (worst != fidelity.passes.end() && pass->pass == worst->pass) {
            return *pass;
        }
    }
    return *passes.front();
}

}  // namespace

int runPreview(const std::string& lookFile, const std::string& sourceLook,
               const std::string& output, const std::string& image, int pass) {
    try {
        if (!pngSupported()) {
            throw std::runtime_error("this zelgen was built without PNG support (libspng)");
        }
        // Refused before any work: an output that is not a regular file, or is an input.
        refuseInputAsTarget(output, {lookFile, sourceLook, image});
        resolveOutputTarget(output);
        const std::vector<std::uint8_t> bytes = readWholeLookFile(lookFile);
        const zel::DecodedLook look = zel::decodeLookBlocks(bytes.data(), bytes.size());
        const zel::io::NodeTable nodes = zel::io::lookLattice(readCubeLut(sourceLook));
        const ZelColorConverter lattice = sourceLattice(nodes.size(), nodes.data());
        const zel::LookPass* shown = nullptr;
        try {
            shown = &choosePass(look, lattice, pass, !image.empty());
        } catch (const std::runtime_error& e) {
            throw std::runtime_error(lookFile + ": " + e.what());
        }
        const zel::PassRenderer renderer(look.facts, *shown, lattice);
        const std::string title =
            look.facts.model + " " + layoutName(look.facts) + ", pass " +
            std::to_string(shown->pass) + " reads " +
            inputSpaceName(renderer.inputSpace().encoding, renderer.inputSpace().primaries);
        const RgbImage input = image.empty() ? chartInput(renderer) : readPng(image);
        writePng(output, comparison(renderer, input, title));
        return kExitSuccess;
    } catch (const zel::DecodeError& e) {
        // The decoder's words say what is wrong, not with which file.
        std::cerr << "zelgen: " << lookFile << ": " << e.what() << std::endl;
        return kExitFailed;
    } catch (const std::exception& e) {
        std::cerr << "zelgen: " << e.what() << std::endl;
        return kExitFailed;
    }
}

}  // namespace zelgen
