#ifndef ZELGEN_FIDELITY_H
#define ZELGEN_FIDELITY_H

// How closely the camera renders the look: the source look and the decoded camera blocks
// are evaluated over the same input colours of every pass (every node of the camera
// cube's domain, a dense random sample of the domain with a fixed seed, and the reference
// colours), both through the same input mapping (look_renderer.h). The differences are
// given in 10-bit code values per channel and in CIEDE2000 after the display conversion of
// display_colour.h, both outputs limited to the code range 0 to 1 as the output signal
// carries them. Input colours outside the look's own domain are left out and counted. For the
// standard layout the fallback chain (colour matrix and second 1D LUT) is measured at the reference
// colours.

#include <array>
#include <string>
#include <vector>

#include "color/color_converter.h"
#include "io/look_blocks_decoder.h"

namespace zelgen {

// A look is rendered faithfully when, in every pass, 99 % of the sampled colours differ
// by at most `p99` and none by more than `max` (CIEDE2000). A pass that reads the look's own
// gamut must keep 99 % of its colours below a visible difference (1.0). A pass that reads
// another gamut also carries the error of the gamut move where it bends sharply, at the
// edge of the look's gamut, which no look avoids: it may reach a difference seen only side
// by side (2.0). Above the largest difference allowed a block is wrong, not resampled.
struct DeltaELimits {
    double p99;
    double max;
};
constexpr DeltaELimits kOwnGamutLimits{1.0, 5.0};
constexpr DeltaELimits kOtherGamutLimits{2.0, 10.0};
// At its nodes a cube that reads the look's own gamut holds the look to within the memory
// step and the rounding of its node positions (about one 10-bit code value for the steepest
// looks); a node further off holds a damaged word.
constexpr double kNodeErrorLimit = 4.0;
constexpr int kRandomSamples = 100000;

struct ErrorStats {
    int samples = 0;
    std::array<double, 3> max{};  // 10-bit code values, per channel
    std::array<double, 3> mean{};
    std::array<double, 3> p99{};
    double deltaEMax = 0.0;
    double deltaEMean = 0.0;
    double deltaE99 = 0.0;
    std::array<double, 3> worstInput{};  // input code values of the largest CIEDE2000
};

struct PassFidelity {
    int pass = 0;
    std::string inputSpace;  // e.g. "Q-Enc3/Q-Prims3.Film"
    double domainLow = 0.0;
    double domainHigh = 0.0;
    ErrorStats cube;  // nodes, random sample and reference colours together
    // Input colours the move into the look's space takes outside the look's own domain:
    // the look has no value there, so they are left out.
    int outsideLook = 0;
    bool otherGamut = false;  // the pass reads another gamut than the look's
    // The largest difference at a node of the cube (10-bit code values) and where: red,
    // green and blue node index and the channel.
    double nodeError = 0.0;
    std::array<int, 4> worstNode{};
    bool hasFallback = false;
    ErrorStats fallback;  // the reference colours through the fallback chain
    const DeltaELimits& limits() const { return otherGamut ? kOtherGamutLimits : kOwnGamutLimits; }
    bool withinLimits() const;
};

struct FidelityReport {
    std::vector<PassFidelity> passes;
    bool withinLimits() const;
    // The largest channel error in 10-bit code values over all passes.
    double maxCodeError() const;
};

// Throws LookDecodeError when a pass cannot be rendered (no cube, no source encoding).
FidelityReport measureFidelity(const zel::DecodedLook& look, const ZelColorConverter& source,
                               int randomSamples = kRandomSamples);

// The source look as a cube converter, from a node table of `size`^3 nodes of four floats,
// blue fastest (as the library takes a look).
ZelColorConverter sourceLattice(int size, const float* nodes);

}  // namespace zelgen

#endif  // ZELGEN_FIDELITY_H
