#include <gtest/gtest.h>

#include <cmath>

#include "color/cubic_curve.h"

namespace {

zel::CubicCurve curveThrough(std::initializer_list<std::pair<double, double>> points) {
    zel::CubicCurve curve;
    for (const auto& [x, y] : points) {
        curve.addPoint(x, y);
    }
    zel::buildCubicCurve(curve);
    return curve;
}

// Through (0,0), (1,1), (2,0) the natural spline is 1.5x - 0.5x^3 and its mirror image,
// continued by straight lines of slope +-1.5.
TEST(CubicCurve, MatchesKnownNaturalSplines) {
    const zel::CubicCurve hat = curveThrough({{0, 0}, {1, 1}, {2, 0}});
    EXPECT_DOUBLE_EQ(zel::evalCubicCurve(hat, 0.5), 0.6875);
    EXPECT_DOUBLE_EQ(zel::evalCubicCurve(hat, 1.5), 0.6875);
    EXPECT_DOUBLE_EQ(zel::evalCubicCurve(hat, -1.0), -1.5);
    EXPECT_DOUBLE_EQ(zel::evalCubicCurve(hat, 3.0), -1.5);

    // The textbook spline through e^x at 0, 1, 2, 3.
    const zel::CubicCurve e =
        curveThrough({{0, 1}, {1, std::exp(1.0)}, {2, std::exp(2.0)}, {3, std::exp(3.0)}});
    const double b[] = {1.46600, 2.22285, 8.80977}, c[] = {0.0, 0.75685, 5.83007},
                 d[] = {0.25228, 1.69107, -1.94336};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_NEAR(e.b[i], b[i], 1e-5);
        EXPECT_NEAR(e.c[i], c[i], 1e-5);
        EXPECT_NEAR(e.d[i], d[i], 1e-5);
        EXPECT_NEAR(zel::evalCubicCurve(e, static_cast<double>(i)), std::exp(i), 1e-12);
    }
}

TEST(CubicCurve, LinesStayLinesAndDegenerateCurvesStayFlat) {
    const zel::CubicCurve line = curveThrough({{0.1, 0.3}, {0.2, 0.5}, {0.5, 1.1}, {0.9, 1.9}});
    for (double x : {-1.0, 0.15, 0.33, 0.9, 2.0}) {
        EXPECT_NEAR(zel::evalCubicCurve(line, x), 2.0 * x + 0.1, 1e-12) << x;
    }
    const zel::CubicCurve single = curveThrough({{0.4, 0.7}});
    EXPECT_EQ(zel::evalCubicCurve(single, -5.0), 0.7);
    EXPECT_EQ(zel::evalCubicCurve(single, 3.0), 0.7);
    EXPECT_EQ(zel::evalCubicCurve(curveThrough({}), 0.5), 0.0);
}

}  // namespace
