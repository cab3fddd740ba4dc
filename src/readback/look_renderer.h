#ifndef ZEL_READBACK_LOOK_RENDERER_H
#define ZEL_READBACK_LOOK_RENDERER_H

// Renders colours the way a decoded look file makes the camera render them, next to the
// way the source look renders them, through one input mapping: an input colour is a code
// value triple in the input space of the pass's cube (its encoding and primaries); the
// camera looks it up in the decoded cube at the node positions its control page gives (or,
// for the second generation, spread evenly over the cube's code range), the source look is
// looked up after the same move into its own encoding and gamut that the library makes
// when it resamples the look. Both lookups are tetrahedral.

#include <array>
#include <memory>

#include "color/color_converter.h"
#include "color/cube_builder.h"
#include "color/reference_colors.h"
#include "color/tetrahedral.h"
#include "color/transfer_curves.h"
#include "readback/look_blocks_decoder.h"

namespace zel {

// The input space of a pass: an encoding (0 Q-Enc3, 2 ACEScc, 3 ACEScct) and primaries
// (0 Q-Prims3, 1 Q-Prims3.Film, 2 ACES AP1).
struct InputSpace {
    int encoding = 0;
    int primaries = 0;
};

// True when the cube of `pass` reads another gamut or encoding than the look's own, so that
// the library moved every node into the look's space (and colours outside the look's gamut
// were limited).
bool passMovesGamut(const LookFacts& facts, int pass);

class PassRenderer {
  public:
    // `look` is the source look, a cube converter in its own encoding; it and `pass` must
    // outlive the renderer. Throws DecodeError when the pass has no cube or the facts
    // name no source encoding.
    PassRenderer(const LookFacts& facts, const LookPass& pass, const ZelColorConverter& look);

    const InputSpace& inputSpace() const { return space_; }
    // The code values the cube's nodes span on every axis.
    const CodeRange& domain() const { return domain_; }

    // The camera's output for input code values `in`.
    void camera(const double in[3], double out[3]) const;
    // The source look's output for the same input; false when the input lies outside the
    // look's own domain (its code values 0 to 1), where the look has no value of its own and
    // `out` is the lookup's edge value.
    bool source(const double in[3], double out[3]) const;
    // The code values of a linear colour of the input space.
    void encode(const Rgb& linear, double out[3]) const;

    // The fallback chain of the standard layout (colour matrix, then the second 1D LUT) at
    // a linear colour in the camera primaries of this pass (0 Q-Prims3.Film, 1 Q-Prims3);
    // false when the pass has no such chain.
    bool fallback(const Rgb& linear, double out[3]) const;
    // The reference colours of the fallback's fit, in the camera primaries of this pass
    // (the fallback's input) and in the look's own space (the look's input).
    const ReferenceSet& fallbackReferences() const;
    void sourceAtReference(std::size_t index, double out[3]) const;

  private:
    double gridCoordinate(double code) const;

    const LookFacts& facts_;
    const LookPass& pass_;
    const ZelColorConverter& look_;
    InputSpace space_;
    CodeRange domain_;
    ZelColorConverter cameraCube_;
    std::unique_ptr<TetrahedralSampler> cameraSampler_;
    std::unique_ptr<TetrahedralSampler> lookSampler_;
    bool moves_ = false;
    double (*moveDecode_)(double) = nullptr;
    Matrix3 moveMatrix_{};
};

}  // namespace zel

#endif  // ZEL_READBACK_LOOK_RENDERER_H
