#include "color/transfer_curves.h"

#include <algorithm>
#include <cmath>

namespace zel {

namespace {
constexpr double kSceneScale = 0.9;
constexpr double kQEnc3LinearSlope = 76.21029469289999;  // 171.2102946929 - 95
constexpr double kQEnc3Knee = 0.16736099187966763;       // 171.2102946929 / 1023
constexpr double kAcesCctSlope = 10.5402377416545;
constexpr double kAcesCctOffset = 0.0729055341958355;
constexpr double kHalfMax = 65504.0;
}  // namespace

const Matrix3 kFilmToPrims3 = {{{0.85569151821615, 0.16240736994812, -0.01809888816427},
                                {-0.02294089192852, 1.06715130738904, -0.04421041546052},
                                {-0.02164180679685, -0.02832882364767, 1.04997063044452}}};
const Matrix3 kPrims3ToFilm = {{{1.16422349443855, -0.17684550243096, 0.01262200799241},
                                {0.02605095112398, 0.93416570086239, 0.03978334801363},
                                {0.02469963633579, 0.02155923084376, 0.95374113282045}}};
const Matrix3 kAp1ToPrims3 = {{{0.91849853280199, 0.0255149223608, 0.05598654483721},
                               {0.02459124517341, 0.84620637053508, 0.12920238429151},
                               {0.00302159782805, 0.00140489759939, 0.99557350457256}}};
const Matrix3 kAp1ToFilm = {{{1.06502685901927, -0.11992498605762, 0.05489812703835},
                             {0.04702026744593, 0.79121754673059, 0.16176218582348},
                             {0.02609857020205, 0.02021367641521, 0.95368775338274}}};

double decodeQEnc3(double code) {
    const double cv = 1023.0 * std::min(std::max(code, 0.0), 1.0);
    if (code >= kQEnc3Knee) {
        return (std::pow(10.0, (cv - 420.0) / 261.5) * 0.19 - 0.01) / kSceneScale;
    }
    return ((cv - 95.0) * 0.01125 / kQEnc3LinearSlope) / kSceneScale;
}

double encodeAcesCc(double linear) {
    const double y = kSceneScale * linear;
    double m;
    if (y <= 0.0) {
        m = std::pow(2.0, -16.0);
    } else if (y < std::pow(2.0, -15.0)) {
        m = y * 0.5 + std::pow(2.0, -16.0);
    } else {
        m = y;
    }
    return (std::log2(m) + 9.72) / 17.52;
}

double encodeAcesCct(double linear) {
    const double y = kSceneScale * linear;
    if (y <= 0.0078125) {
        return y * kAcesCctSlope + kAcesCctOffset;
    }
    return (std::log2(y) + 9.72) / 17.52;
}

double decodeAcesCct(double code) {
    double r;
    if (code <= 0.155251141552511) {
        r = (code - kAcesCctOffset) / kAcesCctSlope;
    } else if (code < (std::log2(kHalfMax) + 9.72) / 17.52) {
        r = std::pow(2.0, code * 17.52 - 9.72);
    } else {
        r = kHalfMax;
    }
    return r / kSceneScale;
}

void gamutMatrix(int selector, Matrix3& matrix) {
    if (selector == 0) {
        matrix = kFilmToPrims3;
    } else if (selector == 1) {
        matrix = kPrims3ToFilm;
    }
}

void gamutMatrixFor(int hostGamut, int blockInstance, Matrix3& matrix) {
    if (hostGamut == 0 && blockInstance == 0) {
        matrix = kFilmToPrims3;
    } else if (hostGamut == 0 && blockInstance == 2) {
        matrix = kAp1ToPrims3;
    } else if (hostGamut == 1 && blockInstance == 1) {
        matrix = kPrims3ToFilm;
    } else if (hostGamut == 1 && blockInstance == 2) {
        matrix = kAp1ToFilm;
    }
}

void applyMatrix(double x0, double x1, double x2, double& out0, double& out1, double& out2,
                 Matrix3 m) {
    out0 = m[0][0] * x0 + m[0][1] * x1 + m[0][2] * x2;
    out1 = m[1][0] * x0 + m[1][1] * x1 + m[1][2] * x2;
    out2 = m[2][0] * x0 + m[2][1] * x1 + m[2][2] * x2;
}

}  // namespace zel
