#include "color/cube_builder.h"
#include "color/transfer_curves.h"

#include <cstddef>
#include <vector>

#include "color/grid_resampler.h"
#include "color/transfer_curves.h"
#include "platform/job_error.h"
#include "settings/look_settings.h"
#include "zel/enums.h"

namespace zel {

namespace {

// Code value of Q-Enc3 linear 0, and of ACEScct linear 0.
constexpr double kQEnc3Black = 0.09286412512218964;
constexpr double kAcesCctBlack = 0.0729055341958355;
// Encodings of linear 13.109475806451613: the top of the standard cubes.
constexpr double kQEnc3StandardTop = 0.8689981698283972;
constexpr double kAcesStandardTop = 0.7580214041533171;
// ACEScct top of the extended cubes.
constexpr double kAcesCctExtendedTop = 0.881338760026449;

// Per-axis code values of a cube grid: n / (N - 1), mapped onto the range unless the
// cube spans 0 to 1 directly.
std::vector<double> cubeAxis(std::int32_t gridSize, const CodeRange& range, bool fullDomain) {
    const std::size_t n = gridSize > 0 ? static_cast<std::size_t>(gridSize) : 0;
    std::vector<double> axis(n);
    for (std::size_t idx = 0; idx < n; ++idx) {
        double p = static_cast<double>(idx) / static_cast<double>(gridSize - 1);
        if (!fullDomain) {
            p = p * (range.high - range.low) + range.low;
        }
        axis[idx] = p;
    }
    return axis;
}

void setDomain(ZelColorConverter& cube, const CodeRange& range) {
    cube.domainOffset = -range.low;
    cube.domainScale = 1.0 / (range.high - range.low);
}

void resampleIntoCube(const ZelColorConverter& hostLattice, ZelColorConverter& cube,
                      const std::vector<double>& axis, const GamutMove* move, bool clamp) {
    // The grid never runs past the cube's storage, whatever the sizes said.
    const std::size_t n = axis.size();
    if (cube.cube.size() < n * n * n * 3) {
        zel::failLattice("a cube block is smaller than its grid");
    }
    double* nodes = cube.cube.data();
    const TetrahedralSampler look(hostLattice, true);
    resampleGrid(axis, move, look, [nodes, clamp](std::size_t node, const double* value) {
        double* out = nodes + node * 3;
        for (int ch = 0; ch < 3; ++ch) {
            out[ch] = clamp ? clampUnit(value[ch]) : value[ch];
        }
    });
}

}  // namespace

CodeRange standardCodeRange(std::uint8_t sourceEncoding) {
    switch (sourceEncoding) {
        case kSourceQEnc3Prims3:
        case kSourceQEnc3Film:
            return {kQEnc3Black, kQEnc3StandardTop};
        case kSourceAcesCc:
            return {0.0, kAcesStandardTop};
        case kSourceAcesCct:
            return {kAcesCctBlack, kAcesStandardTop};
        default:
            zel::failLattice("the source encoding of the look is not one the library knows");
    }
}

CodeRange extendedCodeRange(std::uint8_t sourceEncoding, std::uint32_t instance) {
    switch (sourceEncoding) {
        case kSourceQEnc3Prims3:
        case kSourceQEnc3Film:
            return instance == 2 ? CodeRange{kAcesCctBlack, kAcesCctExtendedTop}
                                 : CodeRange{kQEnc3Black, 1.0};
        case kSourceAcesCc:
            return {0.0, kAcesCctExtendedTop};
        case kSourceAcesCct:
            return {kAcesCctBlack, kAcesCctExtendedTop};
        default:
            zel::failLattice("the source encoding of the look is not one the library knows");
    }
}

}  // namespace zel

void buildCubeStandard(const ConversionSizes&, std::uint8_t sourceEncoding, std::uint32_t instance,
                       const ZelColorConverter& hostLattice, ZelColorConverter& cube,
                       bool fullDomain) {
    const zel::CodeRange range = zel::standardCodeRange(sourceEncoding);
    // Only the Q-Enc3 looks have a gamut move: into Q-Prims3 from the Q-Prims3.Film cube,
    // into Q-Prims3.Film from the Q-Prims3 cube. The same-gamut cube and both ACES cubes
    // look the table up directly.
    const bool moves = (sourceEncoding == zel::kSourceQEnc3Prims3 && instance == 0) ||
                       (sourceEncoding == zel::kSourceQEnc3Film && instance == 1);
    zel::GamutMove move;
    move.decode = zel::decodeQEnc3;
    zel::gamutMatrix(sourceEncoding, move.matrix);
    zel::resampleIntoCube(hostLattice, cube, zel::cubeAxis(cube.rows, range, fullDomain),
                          moves ? &move : nullptr, true);
    zel::setDomain(cube, range);
}

void buildCubeExtended(const ConversionSizes&, std::uint8_t sourceEncoding, std::uint32_t instance,
                       const ZelColorConverter& hostLattice, ZelColorConverter& cube) {
    const zel::CodeRange range = zel::extendedCodeRange(sourceEncoding, instance);
    const bool qEnc3Look =
        sourceEncoding == zel::kSourceQEnc3Prims3 || sourceEncoding == zel::kSourceQEnc3Film;
    // A Q-Enc3 look is reached from the other Q-Prims gamut (instance 0 for a Q-Prims3
    // look, 1 for a Q-Prims3.Film look) and from ACEScct/AP1 (instance 2).
    const bool otherGamut = (sourceEncoding == zel::kSourceQEnc3Prims3 && instance == 0) ||
                            (sourceEncoding == zel::kSourceQEnc3Film && instance == 1);
    const bool fromAces = qEnc3Look && instance == 2;
    zel::GamutMove move;
    move.decode = fromAces ? zel::decodeAcesCct : zel::decodeQEnc3;
    zel::gamutMatrixFor(sourceEncoding, static_cast<int>(instance), move.matrix);
    zel::resampleIntoCube(hostLattice, cube, zel::cubeAxis(cube.rows, range, false),
                          otherGamut || fromAces ? &move : nullptr, false);
    zel::setDomain(cube, range);
}
