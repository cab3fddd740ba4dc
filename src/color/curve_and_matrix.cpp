#include "color/curve_and_matrix.h"

#include <cstddef>
#include <vector>

#include "color/cubic_curve.h"
#include "color/matrix_fit.h"
#include "color/reference_colors.h"
#include "color/tetrahedral.h"
#include "color/transfer_curves.h"
#include "platform/job_error.h"
#include "settings/look_settings.h"
#include "zel/enums.h"

namespace zel {

double encodeSource(std::uint8_t sourceEncoding, double linear) {
    switch (sourceEncoding) {
        case kSourceQEnc3Prims3:
        case kSourceQEnc3Film:
            return encodeQEnc3(linear);
        case kSourceAcesCc:
            return encodeAcesCc(linear);
        case kSourceAcesCct:
            return encodeAcesCct(linear);
        default:
            zel::failLattice("the source encoding of the look is not one the library knows");
    }
}

namespace {

void fillNeutralTable(const ConversionSizes& sizes, std::uint8_t sourceEncoding,
                      const TetrahedralSampler& look, ZelColorConverter& table) {
    table.inputFirst = sizes.inputFirst;
    table.inputLast = sizes.inputLast;
    const double span = static_cast<double>(sizes.inputLast - sizes.inputFirst);
    const std::int32_t columns = table.columns < 3 ? table.columns : 3;
    for (std::int32_t row = 0; row < table.rows; ++row) {
        const double code = encodeSource(sourceEncoding, static_cast<double>(row) / span);
        const double point[3] = {code, code, code};
        double value[3];
        look.sample(point, value);
        for (std::int32_t ch = 0; ch < columns; ++ch) {
            table.table(row, ch) = clampUnit(value[ch]);
        }
    }
}

// The look's neutral response read backwards, code value to linear, per channel. Only
// samples that rise in all three channels are kept, so that each curve's points rise.
std::array<CubicCurve, 3> invertNeutralResponse(const ConversionSizes& sizes,
                                                std::uint8_t sourceEncoding,
                                                const TetrahedralSampler& look) {
    std::array<CubicCurve, 3> inverse;
    const std::int32_t samples = sizes.curveSamples;
    for (std::int32_t u = 0; u < samples; ++u) {
        const double linear = static_cast<double>(u) / static_cast<double>(samples - 1);
        const double code = encodeSource(sourceEncoding, linear);
        const double point[3] = {code, code, code};
        double value[3];
        look.sample(point, value);
        const bool rises =
            u == 0 || (value[0] > inverse[0].x.back() && value[1] > inverse[1].x.back() &&
                       value[2] > inverse[2].x.back());
        if (rises) {
            for (std::size_t ch = 0; ch < 3; ++ch) {
                inverse[ch].addPoint(value[ch], linear);
            }
        }
    }
    for (CubicCurve& curve : inverse) {
        buildCubicCurve(curve);
    }
    return inverse;
}

}  // namespace

}  // namespace zel

void buildCurveAndMatrix(const ConversionSizes& sizes, std::uint8_t sourceEncoding,
                         std::uint32_t instance, const ZelColorConverter& hostLattice,
                         ZelColorConverter& table, ZelColorConverter& matrix) {
    // Both blocks must have been sized by initLattice: the table as a 1D table, the
    // matrix as a 3x3 matrix.
    const std::size_t tableSize = static_cast<std::size_t>(table.rows > 0 ? table.rows : 0) *
                                  static_cast<std::size_t>(table.columns > 0 ? table.columns : 0);
    if (table.kind != zel::kKind1d || table.table1d.size() < tableSize ||
        matrix.kind != zel::kKindMatrix || matrix.matrixTable.size() < 9) {
        zel::failLattice("a curve or matrix block of the look is incomplete");
    }
    const zel::TetrahedralSampler look(hostLattice, true);
    zel::fillNeutralTable(sizes, sourceEncoding, look, table);
    const std::array<zel::CubicCurve, 3> inverse =
        zel::invertNeutralResponse(sizes, sourceEncoding, look);

    // What the look makes of each reference colour, back in linear.
    const zel::ReferenceSet& references = zel::referenceSet(sourceEncoding);
    std::vector<zel::Rgb> observed;
    observed.reserve(references.size());
    for (const zel::Rgb& colour : references) {
        const double point[3] = {zel::encodeSource(sourceEncoding, colour[0]),
                                 zel::encodeSource(sourceEncoding, colour[1]),
                                 zel::encodeSource(sourceEncoding, colour[2])};
        double value[3];
        look.sample(point, value);
        observed.push_back({zel::evalCubicCurve(inverse[0], value[0]),
                            zel::evalCubicCurve(inverse[1], value[1]),
                            zel::evalCubicCurve(inverse[2], value[2])});
    }

    // The same colours as the camera sees them in the block's input space.
    const zel::ReferenceSet& camera = zel::referenceSet(instance == 0 ? 1 : 0);
    const std::vector<zel::Rgb> cameraColours(camera.begin(), camera.end());
    const std::vector<double> weights(cameraColours.size(), 1.0);
    const zel::Matrix3 fitted =
        zel::fitRowNormalizedMatrix(sizes, observed, cameraColours, weights);
    for (std::int32_t r = 0; r < 3; ++r) {
        for (std::int32_t c = 0; c < 3; ++c) {
            matrix.matrix(r, c) = fitted[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
        }
    }
}
