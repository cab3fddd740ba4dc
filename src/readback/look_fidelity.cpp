#include "readback/look_fidelity.h"

#include <algorithm>
#include <cmath>
#include <random>

#include "readback/block_checks.h"
#include "readback/display_colour.h"
#include "readback/look_renderer.h"

namespace zel {

namespace {

constexpr double kCodeScale = 1023.0;
constexpr std::uint64_t kSeed = 20261206;

const char* primariesName(int primaries) {
    switch (primaries) {
        case 0:
            return "Q-Prims3";
        case 1:
            return "Q-Prims3.Film";
        default:
            return "ACES AP1";
    }
}

const char* encodingName(int encoding) {
    switch (encoding) {
        case 2:
            return "ACEScc";
        case 3:
            return "ACEScct";
        default:
            return "Q-Enc3";
    }
}

// One colour's difference between the look and the camera, both taken as the output signal
// carries them: limited to the code range.
struct Difference {
    std::array<double, 3> input{};
    std::array<double, 3> code{};  // per channel, in code values
    double deltaE = 0.0;           // CIEDE2000
};

Difference differenceOf(int curve, const double in[3], const double referenceValue[3],
                        const double renderedValue[3]) {
    double reference[3];
    double rendered[3];
    for (std::size_t c = 0; c < 3; ++c) {
        reference[c] = std::clamp(referenceValue[c], 0.0, 1.0);
        rendered[c] = std::clamp(renderedValue[c], 0.0, 1.0);
    }
    Difference d;
    d.input = {in[0], in[1], in[2]};
    for (std::size_t c = 0; c < 3; ++c) {
        d.code[c] = std::fabs(rendered[c] - reference[c]) * kCodeScale;
    }
    d.deltaE = ciede2000(displayLab(curve, reference), displayLab(curve, rendered));
    return d;
}

// Collects the per-sample differences and reduces them to statistics.
class ErrorCollector {
  public:
    explicit ErrorCollector(int curve) : curve_(curve) {}

    void add(const Difference& d) {
        for (std::size_t c = 0; c < 3; ++c) {
            code_[c].push_back(d.code[c]);
        }
        if (deltaE_.empty() || d.deltaE > worst_) {
            worst_ = d.deltaE;
            worstInput_ = d.input;
        }
        deltaE_.push_back(d.deltaE);
    }

    void add(const double in[3], const double referenceValue[3], const double renderedValue[3]) {
        add(differenceOf(curve_, in, referenceValue, renderedValue));
    }

    ErrorStats stats() {
        ErrorStats s;
        s.samples = static_cast<int>(deltaE_.size());
        if (deltaE_.empty()) {
            return s;
        }
        for (std::size_t c = 0; c < 3; ++c) {
            reduce(code_[c], s.max[c], s.mean[c], s.p99[c]);
        }
        reduce(deltaE_, s.deltaEMax, s.deltaEMean, s.deltaE99);
        s.worstInput = worstInput_;
        return s;
    }

  private:
    static void reduce(std::vector<double>& values, double& max, double& mean, double& p99) {
        double sum = 0.0;
        for (const double v : values) {
            sum += v;
        }
        mean = sum / static_cast<double>(values.size());
        max = *std::max_element(values.begin(), values.end());
        const auto rank =
            static_cast<std::size_t>(std::ceil(0.99 * static_cast<double>(values.size()))) - 1;
        std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(rank),
                         values.end());
        p99 = values[rank];
    }

    int curve_;
    std::array<std::vector<double>, 3> code_;
    std::vector<double> deltaE_;
    double worst_ = 0.0;
    std::array<double, 3> worstInput_{};
};

// A uniform number in [0, 1) from the generator's raw output, the same on every platform.
double uniform(std::mt19937_64& random) {
    return static_cast<double>(random() >> 11) * (1.0 / 9007199254740992.0);
}

PassFidelity measurePass(const zel::DecodedLook& look, const zel::LookPass& pass,
                         const ZelColorConverter& source, int randomSamples) {
    const zel::PassRenderer renderer(look.facts, pass, source);
    const int curve = look.facts.outputCurve >= 0 ? look.facts.outputCurve : 0;
    PassFidelity result;
    result.pass = pass.pass;
    result.otherGamut = zel::passMovesGamut(look.facts, pass.pass);
    result.inputSpace =
        inputSpaceName(renderer.inputSpace().encoding, renderer.inputSpace().primaries);
    const double low = renderer.domain().low;
    const double high = renderer.domain().high;
    result.domainLow = low;
    result.domainHigh = high;

    ErrorCollector seen(curve);
    ErrorCollector inside(curve);
    ErrorCollector outside(curve);
    ErrorCollector atNodes(curve);
    double in[3];
    double expected[3];
    double rendered[3];
    // Wherever the move takes a colour, the look has the value make samples there.
    auto render = [&] {
        const bool inLook = renderer.source(in, expected);
        renderer.camera(in, rendered);
        return inLook;
    };
    // Every node of the camera cube's domain.
    const DecodedCube& decoded = *pass.cube;
    std::vector<double> axis(static_cast<std::size_t>(decoded.grid));
    for (std::size_t i = 0; i < axis.size(); ++i) {
        axis[i] = decoded.nodePositions.size() == axis.size()
                      ? decoded.nodePositions[i] / 8192.0
                      : low + (high - low) * static_cast<double>(i) /
                                  static_cast<double>(axis.size() - 1);
    }
    auto trackNode = [&](std::size_t r, std::size_t g, std::size_t b) {
        for (std::size_t c = 0; c < 3; ++c) {
            const double error =
                std::fabs(std::clamp(rendered[c], 0.0, 1.0) - std::clamp(expected[c], 0.0, 1.0)) *
                kCodeScale;
            if (error > result.nodeError) {
                result.nodeError = error;
                result.worstNode = {static_cast<int>(r), static_cast<int>(g), static_cast<int>(b),
                                    static_cast<int>(c)};
            }
        }
    };
    // At a node the camera reads its stored word: it differs from the look only by the memory
    // step and the rounding of the node positions.
    for (std::size_t r = 0; r < axis.size(); ++r) {
        for (std::size_t g = 0; g < axis.size(); ++g) {
            for (std::size_t b = 0; b < axis.size(); ++b) {
                in[0] = axis[r];
                in[1] = axis[g];
                in[2] = axis[b];
                if (render()) {
                    trackNode(r, g, b);
                }
                atNodes.add(in, expected, rendered);
            }
        }
    }
    // A dense random sample of the domain.
    std::mt19937_64 random(kSeed + static_cast<std::uint64_t>(pass.pass));
    for (int s = 0; s < randomSamples; ++s) {
        for (double& v : in) {
            v = low + (high - low) * uniform(random);
        }
        const bool inLook = render();
        const Difference d = differenceOf(curve, in, expected, rendered);
        (inLook ? inside : outside).add(d);
        seen.add(d);
        ++result.randomColours;
        result.outsideLook += inLook ? 0 : 1;
    }
    // The reference colours, in the pass's input space.
    for (const zel::Rgb& colour : zel::referenceSet(renderer.inputSpace().primaries)) {
        renderer.encode(colour, in);
        render();
        seen.add(in, expected, rendered);
    }
    result.cube = seen.stats();
    result.inDomain = inside.stats();
    result.outOfDomain = outside.stats();
    result.nodes = atNodes.stats();

    // The fallback chain at the reference colours.
    ErrorCollector fallback(curve);
    const zel::ReferenceSet& cameraColours = renderer.fallbackReferences();
    for (std::size_t k = 0; k < cameraColours.size(); ++k) {
        if (!renderer.fallback(cameraColours[k], rendered)) {
            break;
        }
        renderer.sourceAtReference(k, expected);
        in[0] = cameraColours[k][0];
        in[1] = cameraColours[k][1];
        in[2] = cameraColours[k][2];
        fallback.add(in, expected, rendered);
        result.hasFallback = true;
    }
    if (result.hasFallback) {
        result.fallback = fallback.stats();
    }
    return result;
}

}  // namespace

std::string inputSpaceName(int encoding, int primaries) {
    return std::string(encodingName(encoding)) + "/" + primariesName(primaries);
}

bool PassFidelity::withinLimits() const {
    // Whether the nodes hold the words make writes is checked word for word (a node that
    // differs from the look by more is a look the words cannot hold, such as values beyond
    // the word's range), so the limits are on the colours the camera renders.
    return cube.deltaE99 <= limits().p99 && cube.deltaEMax <= limits().max;
}

bool FidelityReport::withinLimits() const {
    return std::all_of(passes.begin(), passes.end(),
                       [](const PassFidelity& p) { return p.withinLimits(); });
}

double FidelityReport::maxCodeError() const {
    double worst = 0.0;
    for (const PassFidelity& p : passes) {
        worst = std::max({worst, p.cube.max[0], p.cube.max[1], p.cube.max[2]});
    }
    return worst;
}

FidelityReport measureFidelity(const zel::DecodedLook& look, const ZelColorConverter& source,
                               int randomSamples) {
    FidelityReport report;
    for (const zel::LookPass& pass : look.passes) {
        if (pass.cube) {
            report.passes.push_back(measurePass(look, pass, source, randomSamples));
        }
    }
    return report;
}

ZelColorConverter sourceLattice(int size, const float* nodes) {
    // The look is read in place, as the job reads the host's table: a copy in doubles would
    // cost 400 MB at the largest grid.
    ZelColorConverter lattice;
    lattice.viewNodeValues(size, nodes);
    return lattice;
}

}  // namespace zel
