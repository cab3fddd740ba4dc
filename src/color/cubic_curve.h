#ifndef ZEL_COLOR_CUBIC_CURVE_H
#define ZEL_COLOR_CUBIC_CURVE_H

// Natural cubic spline through a rising list of points, extended linearly beyond its
// ends. It inverts the look's neutral response (code value back to linear).

#include <vector>

namespace zel {

struct CubicCurve {
    std::vector<double> x;  // strictly rising
    std::vector<double> y;
    std::vector<double> b;  // per point: slope, half the curvature, third derivative / 6
    std::vector<double> c;
    std::vector<double> d;
    double leftSlope = 0.0;   // used left of the first point
    double rightSlope = 0.0;  // used right of the last point

    void addPoint(double px, double py) {
        x.push_back(px);
        y.push_back(py);
    }
};

// Works out b, c, d and the end slopes from the points (natural ends: no curvature at
// either end). A single point gives a flat curve; no points leave the curve empty.
void buildCubicCurve(CubicCurve& curve);

// The curve at `x`; an empty curve gives 0.0.
double evalCubicCurve(const CubicCurve& curve, double x);

}  // namespace zel

#endif  // ZEL_COLOR_CUBIC_CURVE_H
