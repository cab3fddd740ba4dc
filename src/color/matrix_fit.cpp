#include "color/matrix_fit.h"

#include <algorithm>
#include <cstddef>

namespace zel {

Matrix3 fitRowNormalizedMatrix(const ConversionSizes& sizes, const std::vector<Rgb>& target,
                               const std::vector<Rgb>& source, const std::vector<double>& weights) {
    std::size_t count = std::min({target.size(), source.size(), weights.size()});
    if (sizes.referenceCount >= 0) {
        count = std::min(count, static_cast<std::size_t>(sizes.referenceCount));
    }
    // With the third coefficient fixed to 1 - a - b, a row predicts
    // a u + b v + s2 with u = s0 - s2 and v = s1 - s2.
    double suu = 0.0;
    double suv = 0.0;
    double svv = 0.0;
    double su[3] = {0.0, 0.0, 0.0};
    double sv[3] = {0.0, 0.0, 0.0};
    for (std::size_t k = 0; k < count; ++k) {
        const Rgb& s = source[k];
        const double w2 = weights[k] * weights[k];
        const double u = s[0] - s[2];
        const double v = s[1] - s[2];
        suu += w2 * (u * u);
        suv += w2 * u * v;
        svv += w2 * (v * v);
        for (std::size_t row = 0; row < 3; ++row) {
            const double residual = s[2] - target[k][row];
            su[row] += w2 * u * residual;
            sv[row] += w2 * v * residual;
        }
    }
    Matrix3 matrix{};
    for (std::size_t row = 0; row < 3; ++row) {
        const double b = (sv[row] * suu - su[row] * suv) / ((suv * suv) - svv * suu);
        const double a = -(b * suv + su[row]) / suu;
        matrix[row] = {a, b, 1 - a - b};
    }
    return matrix;
}

}  // namespace zel
