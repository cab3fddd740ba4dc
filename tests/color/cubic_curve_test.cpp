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

// The natural spline through (0,0), (1,1), (2,0) is 1.5x - 0.5x^3 on the first segment
// and its mirror image on the second.
TEST(CubicCurve, ThreePointNaturalSpline) {
    const zel::CubicCurve curve = curveThrough({{0, 0}, {1, 1}, {2, 0}});
    EXPECT_DOUBLE_EQ(zel::evalCubicCurve(curve, 0.5), 0.6875);
    EXPECT_DOUBLE_EQ(zel::evalCubicCurve(curve, 1.5), 0.6875);
    EXPECT_DOUBLE_EQ(zel::evalCubicCurve(curve, 1.0), 1.0);
    EXPECT_DOUBLE_EQ(curve.leftSlope, 1.5);
    EXPECT_DOUBLE_EQ(curve.rightSlope, -1.5);
    // Straight lines beyond the ends.
    EXPECT_DOUBLE_EQ(zel::evalCubicCurve(curve, -1.0), -1.5);
    EXPECT_DOUBLE_EQ(zel::evalCubicCurve(curve, 3.0), -1.5);
}

// The textbook natural spline through e^x at 0, 1, 2, 3.
TEST(CubicCurve, ExponentialSamplesMatchTextbookCoefficients) {
    const zel::CubicCurve curve =
        curveThrough({{0, 1}, {1, std::exp(1.0)}, {2, std::exp(2.0)}, {3, std::exp(3.0)}});
    const double b[] = {1.46600, 2.22285, 8.80977};
    const double c[] = {0.0, 0.75685, 5.83007};
    const double d[] = {0.25228, 1.69107, -1.94336};
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(curve.b[static_cast<std::size_t>(i)], b[i], 1e-5) << i;
        EXPECT_NEAR(curve.c[static_cast<std::size_t>(i)], c[i], 1e-5) << i;
        EXPECT_NEAR(curve.d[static_cast<std::size_t>(i)], d[i], 1e-5) << i;
    }
    EXPECT_NEAR(zel::evalCubicCurve(curve, 0.5), 1.0 + 1.46600 * 0.5 + 0.25228 * 0.125, 1e-5);
    for (int i = 0; i <= 3; ++i) {
        EXPECT_NEAR(zel::evalCubicCurve(curve, i), std::exp(i), 1e-12);
    }
}

TEST(CubicCurve, LinePointsGiveTheLineEverywhere) {
    const zel::CubicCurve curve = curveThrough({{0.1, 0.3}, {0.2, 0.5}, {0.5, 1.1}, {0.9, 1.9}});
    for (double x : {-1.0, 0.1, 0.15, 0.33, 0.9, 2.0}) {
        EXPECT_NEAR(zel::evalCubicCurve(curve, x), 2.0 * x + 0.1, 1e-12) << x;
    }
}

TEST(CubicCurve, DegenerateCurvesStayFlat) {
    const zel::CubicCurve single = curveThrough({{0.4, 0.7}});
    for (double x : {-5.0, 0.4, 3.0}) {
        EXPECT_EQ(zel::evalCubicCurve(single, x), 0.7);
    }
    const zel::CubicCurve empty = curveThrough({});
    EXPECT_EQ(zel::evalCubicCurve(empty, 0.5), 0.0);
    const zel::CubicCurve two = curveThrough({{0.0, 1.0}, {2.0, 2.0}});
    EXPECT_DOUBLE_EQ(zel::evalCubicCurve(two, 1.0), 1.5);
    EXPECT_DOUBLE_EQ(zel::evalCubicCurve(two, 4.0), 3.0);
}

}  // namespace
