#include "readback/display_colour.h"

#include <algorithm>
#include <cmath>

namespace zel {

namespace {

constexpr double kPi = 3.14159265358979323846;

// RGB (linear, relative to white) to CIE XYZ, D65.
constexpr double kRec709ToXyz[3][3] = {
    {0.4123907992659595, 0.357584339383878, 0.1804807884018343},
    {0.21263900587151, 0.715168678767756, 0.07219231536073371},
    {0.01933081871559182, 0.119194779794626, 0.9505321522496606}};
constexpr double kRec2020ToXyz[3][3] = {
    {0.6369580483012914, 0.1446169035862083, 0.1688809751641721},
    {0.2627002120112671, 0.6779980715188708, 0.05930171646986196},
    {0.0, 0.02807269304908743, 1.060985057710791}};
constexpr double kWhite[3] = {0.95047, 1.0, 1.08883};

double pqToNits(double v) {
    constexpr double m1 = 2610.0 / 16384.0;
    constexpr double m2 = 2523.0 / 4096.0 * 128.0;
    constexpr double c1 = 3424.0 / 4096.0;
    constexpr double c2 = 2413.0 / 4096.0 * 32.0;
    constexpr double c3 = 2392.0 / 4096.0 * 32.0;
    const double p = std::pow(std::max(v, 0.0), 1.0 / m2);
    return 10000.0 * std::pow(std::max(p - c1, 0.0) / (c2 - c3 * p), 1.0 / m1);
}

double hlgToScene(double v) {
    constexpr double a = 0.17883277;
    constexpr double b = 0.28466892;
    constexpr double c = 0.55991073;
    v = std::max(v, 0.0);
    return v <= 0.5 ? v * v / 3.0 : (std::exp((v - c) / a) + b) / 12.0;
}

double labCurve(double t) {
    constexpr double d = 6.0 / 29.0;
    return t > d * d * d ? std::cbrt(t) : t / (3.0 * d * d) + 4.0 / 29.0;
}

}  // namespace

Lab displayLab(int curve, const double code[3]) {
    double rgb[3];
    const double(*toXyz)[3] = kRec2020ToXyz;
    if (curve == 0) {
        toXyz = kRec709ToXyz;
        for (int c = 0; c < 3; ++c) {
            rgb[c] = std::pow(std::clamp(code[c], 0.0, 1.0), 2.4);
        }
    } else if (curve == 1) {
        for (int c = 0; c < 3; ++c) {
            rgb[c] = pqToNits(std::min(code[c], 1.0)) / 203.0;
        }
    } else {
        double scene[3];
        for (int c = 0; c < 3; ++c) {
            scene[c] = hlgToScene(std::min(code[c], 1.0));
        }
        const double ys = 0.2627 * scene[0] + 0.678 * scene[1] + 0.0593 * scene[2];
        const double gain = ys > 0.0 ? std::pow(ys, 0.2) : 0.0;
        for (int c = 0; c < 3; ++c) {
            rgb[c] = 1000.0 * gain * scene[c] / 203.0;
        }
    }
    double xyz[3];
    for (int r = 0; r < 3; ++r) {
        xyz[r] = toXyz[r][0] * rgb[0] + toXyz[r][1] * rgb[1] + toXyz[r][2] * rgb[2];
    }
    const double fx = labCurve(xyz[0] / kWhite[0]);
    const double fy = labCurve(xyz[1] / kWhite[1]);
    const double fz = labCurve(xyz[2] / kWhite[2]);
    return {116.0 * fy - 16.0, 500.0 * (fx - fy), 200.0 * (fy - fz)};
}

double ciede2000(const Lab& a, const Lab& b) {
    const double c1 = std::hypot(a[1], a[2]);
    const double c2 = std::hypot(b[1], b[2]);
    const double cMean = (c1 + c2) / 2.0;
    const double c7 = std::pow(cMean, 7.0);
    const double g = 0.5 * (1.0 - std::sqrt(c7 / (c7 + std::pow(25.0, 7.0))));
    const double a1 = (1.0 + g) * a[1];
    const double a2 = (1.0 + g) * b[1];
    const double cp1 = std::hypot(a1, a[2]);
    const double cp2 = std::hypot(a2, b[2]);
    auto hue = [](double y, double x) {
        if (x == 0.0 && y == 0.0) {
            return 0.0;
        }
        const double h = std::atan2(y, x) * 180.0 / kPi;
        return h < 0.0 ? h + 360.0 : h;
    };
    const double h1 = hue(a[2], a1);
    const double h2 = hue(b[2], a2);

    const double dL = b[0] - a[0];
    const double dC = cp2 - cp1;
    double dh = 0.0;
    if (cp1 * cp2 != 0.0) {
        dh = h2 - h1;
        if (dh > 180.0) {
            dh -= 360.0;
        } else if (dh < -180.0) {
            dh += 360.0;
        }
    }
    const double dH = 2.0 * std::sqrt(cp1 * cp2) * std::sin(dh * kPi / 360.0);

    const double lMean = (a[0] + b[0]) / 2.0;
    const double cpMean = (cp1 + cp2) / 2.0;
    double hMean = h1 + h2;
    if (cp1 * cp2 != 0.0) {
        if (std::fabs(h1 - h2) <= 180.0) {
            hMean /= 2.0;
        } else {
            hMean = h1 + h2 < 360.0 ? (h1 + h2 + 360.0) / 2.0 : (h1 + h2 - 360.0) / 2.0;
        }
    }
    const double rad = kPi / 180.0;
    const double t =
        1.0 - 0.17 * std::cos((hMean - 30.0) * rad) + 0.24 * std::cos(2.0 * hMean * rad) +
        0.32 * std::cos((3.0 * hMean + 6.0) * rad) - 0.20 * std::cos((4.0 * hMean - 63.0) * rad);
    const double dTheta = 30.0 * std::exp(-std::pow((hMean - 275.0) / 25.0, 2.0));
    const double cp7 = std::pow(cpMean, 7.0);
    const double rc = 2.0 * std::sqrt(cp7 / (cp7 + std::pow(25.0, 7.0)));
    const double l50 = (lMean - 50.0) * (lMean - 50.0);
    const double sl = 1.0 + 0.015 * l50 / std::sqrt(20.0 + l50);
    const double sc = 1.0 + 0.045 * cpMean;
    const double sh = 1.0 + 0.015 * cpMean * t;
    const double rt = -std::sin(2.0 * dTheta * rad) * rc;
    const double l = dL / sl;
    const double c = dC / sc;
    const double h = dH / sh;
    return std::sqrt(l * l + c * c + h * h + rt * c * h);
}

}  // namespace zel
