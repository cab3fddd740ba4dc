#ifndef ZEL_READBACK_LOOK_FIDELITY_H
#define ZEL_READBACK_LOOK_FIDELITY_H

// How closely the camera renders the look: the source look and the decoded camera blocks
// are evaluated over the same input colours of every pass, both through the same input
// mapping (look_renderer.h): a dense random sample of the pass's domain with a fixed seed and
// the reference colours (the colours the camera sees, on which the verdict rests), and apart
// from them every node of the camera cube. A colour that the move into the look's space takes
// outside the look's own domain is rendered as make samples the look there (extrapolated
// below 0, held at the edge above 1); the random colours inside and outside are reported
// apart. The differences are given in 10-bit code values per channel and in CIEDE2000 after
// the display conversion of display_colour.h, both outputs limited to the code range 0 to 1
// as the output signal carries them. For the standard layout the fallback chain (colour
// matrix and second 1D LUT) is measured at the reference colours.

#include <array>
#include <string>
#include <vector>

#include "color/color_converter.h"
#include "readback/look_blocks_decoder.h"

namespace zel {

// A look is rendered faithfully when, in every pass, 99 % of the colours the camera sees
// differ by at most `p99` and none by more than `max` (CIEDE2000). A pass that reads the
// look's own gamut must keep 99 % of its colours below a visible difference (1.0). A pass that
// reads another gamut also carries the error of the gamut move where it bends sharply, at the
// edge of the look's gamut, which the camera's cube cannot follow between its nodes whatever
// the look: the identity look alone reaches 4.3 (CAMB-001) and 9.6 (CAMB-002, where nearly
// half the colours lie outside the look's domain) at a few saturated colours, so 99 % must
// stay within a difference seen only side by side (2.0) and none beyond twice what the
// camera's own cube reaches (20.0).
struct DeltaELimits {
    double p99;
    double max;
};
constexpr DeltaELimits kOwnGamutLimits{1.0, 5.0};
constexpr DeltaELimits kOtherGamutLimits{2.0, 20.0};
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
    // The colours the camera will see: the random colours of the pass's domain, wherever the
    // move into the look's space takes them, and the reference colours. The verdict rests on
    // these.
    ErrorStats cube;
    // The random colours split: those the move keeps inside the look's own domain (code
    // values 0 to 1), and those it takes outside, where the look is extrapolated below 0 and
    // held at its edge above 1 and the result limited to the code range, as make samples it.
    ErrorStats inDomain;
    ErrorStats outOfDomain;
    int randomColours = 0;
    int outsideLook = 0;  // random colours outside the look's domain
    // The nodes of the camera's cube, reported apart: there the camera reads its stored
    // words and the error is about 0.
    ErrorStats nodes;
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

// Throws DecodeError when a pass cannot be rendered (no cube, no source encoding).
FidelityReport measureFidelity(const zel::DecodedLook& look, const ZelColorConverter& source,
                               int randomSamples = kRandomSamples);

// A pass's input space in words, e.g. "Q-Enc3/Q-Prims3.Film".
std::string inputSpaceName(int encoding, int primaries);

// The source look as a cube converter, from a node table of `size`^3 nodes of four floats,
// blue fastest (as the library takes a look). It reads `nodes` in place: they must outlive it.
ZelColorConverter sourceLattice(int size, const float* nodes);

}  // namespace zel

#endif  // ZEL_READBACK_LOOK_FIDELITY_H
