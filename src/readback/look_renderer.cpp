#include "readback/look_renderer.h"

#include <algorithm>

#include "camera/engine.h"
#include "camera/lut1d_writer.h"

namespace zel {

namespace {

constexpr int kQEnc3 = 0;
constexpr int kPrims3 = 0;
constexpr int kFilm = 1;
constexpr int kAp1 = 2;
// The cube's input axis as the control page counts it: 8192 is code value 1.0.
constexpr double kAxisScale = 8192.0;

double encodeIn(int encoding, double linear) {
    switch (encoding) {
        case kSourceAcesCc:
            return encodeAcesCc(linear);
        case kSourceAcesCct:
            return encodeAcesCct(linear);
        default:
            return encodeQEnc3(linear);
    }
}

}  // namespace

bool passMovesGamut(const LookFacts& facts, int pass) {
    const int e = facts.sourceEncoding;
    const bool qEnc3 = e == kSourceQEnc3Prims3 || e == kSourceQEnc3Film;
    const bool otherGamut =
        (e == kSourceQEnc3Prims3 && pass == 0) || (e == kSourceQEnc3Film && pass == 1);
    return otherGamut || (facts.layout == LookLayout::Extended && qEnc3 && pass == 2);
}

PassRenderer::PassRenderer(const LookFacts& facts, const LookPass& pass,
                           const ZelColorConverter& look)
    : facts_(facts), pass_(pass), look_(look) {
    if (!pass.cube) {
        throw DecodeError("", "pass " + std::to_string(pass.pass) + " has no cube to render");
    }
    const int e = facts.sourceEncoding;
    if (e < 0 || e > 3) {
        throw DecodeError("", "the look header names no source encoding");
    }
    const auto source = static_cast<std::uint8_t>(e);
    const int n = pass.pass;
    const bool qEnc3 = e == kSourceQEnc3Prims3 || e == kSourceQEnc3Film;
    if (facts.layout == LookLayout::Standard) {
        domain_ = standardCodeRange(source);
        space_ = qEnc3 ? InputSpace{kQEnc3, n == 0 ? kFilm : kPrims3} : InputSpace{e, kAp1};
        moves_ = passMovesGamut(facts, n);
        moveDecode_ = decodeQEnc3;
        gamutMatrix(e, moveMatrix_);
    } else {
        const auto instance = static_cast<std::uint32_t>(n);
        domain_ = extendedCodeRange(source, instance);
        if (qEnc3) {
            space_ = n == 0   ? InputSpace{kQEnc3, kFilm}
                     : n == 1 ? InputSpace{kQEnc3, kPrims3}
                              : InputSpace{kSourceAcesCct, kAp1};
        } else {
            space_ = InputSpace{e, kAp1};
        }
        const bool fromAces = qEnc3 && n == 2;
        moves_ = passMovesGamut(facts, n);
        moveDecode_ = fromAces ? decodeAcesCct : decodeQEnc3;
        gamutMatrixFor(e, n, moveMatrix_);
    }
    const DecodedCube& cube = *pass.cube;
    if (cube.nodePositions.size() >= 2) {
        domain_.low = cube.nodePositions.front() / kAxisScale;
        domain_.high = cube.nodePositions.back() / kAxisScale;
    }
    cameraCube_.initLattice(kKindCube, cube.grid, 3);
    cameraCube_.cube = cube.nodes;
    cameraSampler_ = std::make_unique<TetrahedralSampler>(cameraCube_, true);
    lookSampler_ = std::make_unique<TetrahedralSampler>(look_, true);
}

double PassRenderer::gridCoordinate(double code) const {
    const DecodedCube& cube = *pass_.cube;
    const double last = static_cast<double>(cube.grid - 1);
    const std::vector<std::uint32_t>& p = cube.nodePositions;
    if (p.size() < 2) {
        const double u = (code - domain_.low) / (domain_.high - domain_.low) * last;
        return std::clamp(u, 0.0, last);
    }
    // Between two node positions the axis is straight; outside them the camera holds the
    // edge node.
    const double x = code * kAxisScale;
    if (!(x > p.front())) {
        return 0.0;
    }
    if (x >= p.back()) {
        return static_cast<double>(p.size() - 1);
    }
    const auto above =
        std::upper_bound(p.begin(), p.end(), x, [](double v, std::uint32_t q) { return v < q; });
    const auto i = static_cast<std::size_t>(above - p.begin()) - 1;
    return static_cast<double>(i) + (x - p[i]) / (static_cast<double>(p[i + 1]) - p[i]);
}

void PassRenderer::camera(const double in[3], double out[3]) const {
    const double last = static_cast<double>(pass_.cube->grid - 1);
    const double point[3] = {gridCoordinate(in[0]) / last, gridCoordinate(in[1]) / last,
                             gridCoordinate(in[2]) / last};
    cameraSampler_->sample(point, out);
}

bool PassRenderer::source(const double in[3], double out[3]) const {
    const auto inside = [](const double* p) {
        return p[0] >= 0.0 && p[0] <= 1.0 && p[1] >= 0.0 && p[1] <= 1.0 && p[2] >= 0.0 &&
               p[2] <= 1.0;
    };
    if (!moves_) {
        lookSampler_->sample(in, out);
        return inside(in);
    }
    double linear[3];
    applyMatrix(moveDecode_(in[0]), moveDecode_(in[1]), moveDecode_(in[2]), linear[0], linear[1],
                linear[2], moveMatrix_);
    const double point[3] = {encodeQEnc3(linear[0]), encodeQEnc3(linear[1]),
                             encodeQEnc3(linear[2])};
    lookSampler_->sample(point, out);
    return inside(point);
}

void PassRenderer::encode(const Rgb& linear, double out[3]) const {
    for (int a = 0; a < 3; ++a) {
        out[a] = encodeIn(space_.encoding, linear[static_cast<std::size_t>(a)]);
    }
}

const ReferenceSet& PassRenderer::fallbackReferences() const {
    // The fallback's camera colours: Q-Prims3.Film for pass 0, Q-Prims3 for pass 1.
    return referenceSet(pass_.pass == 0 ? kFilm : kPrims3);
}

void PassRenderer::sourceAtReference(std::size_t index, double out[3]) const {
    const Rgb& colour = referenceSet(facts_.sourceEncoding).at(index);
    double point[3];
    for (int a = 0; a < 3; ++a) {
        point[a] = encodeIn(facts_.sourceEncoding, colour[static_cast<std::size_t>(a)]);
    }
    lookSampler_->sample(point, out);
}

bool PassRenderer::fallback(const Rgb& linear, double out[3]) const {
    if (!pass_.colorMatrix || !pass_.secondLut || pass_.secondLut->words.empty()) {
        return false;
    }
    const DecodedMatrix& m = *pass_.colorMatrix;
    const DecodedLut1d& lut = *pass_.secondLut;
    const LutCodeFacts facts = lutCodeFacts(lut.code);
    EngineConfig config;
    initEngineConfig(config, 0);
    const double offset = config.lutOffset;
    for (std::size_t c = 0; c < 3; ++c) {
        const double t = m[c][0] * linear[0] + m[c][1] * linear[1] + m[c][2] * linear[2];
        const double code =
            std::clamp(t * facts.xMax + (lut.shiftInput ? offset : 0.0), 0.0, 65535.0);
        const std::size_t memory = lut.words.size() == 1 ? 0 : c;
        out[c] = (lut.memoryValue(memory, code) - (lut.addOffset ? offset : 0.0)) / facts.yScale;
    }
    return true;
}

}  // namespace zel
