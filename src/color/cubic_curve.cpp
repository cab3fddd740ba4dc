#include "color/cubic_curve.h"

#include <cstddef>

namespace zel {

void buildCubicCurve(CubicCurve& curve) {
    const std::size_t n = curve.x.size() < curve.y.size() ? curve.x.size() : curve.y.size();
    curve.b.assign(n, 0.0);
    curve.c.assign(n, 0.0);
    curve.d.assign(n, 0.0);
    curve.leftSlope = 0.0;
    curve.rightSlope = 0.0;
    if (n < 2) {
        return;
    }
    const std::vector<double>& x = curve.x;
    const std::vector<double>& y = curve.y;
    std::vector<double>& b = curve.b;
    std::vector<double>& c = curve.c;
    std::vector<double>& d = curve.d;

    std::vector<double> h(n - 1);
    for (std::size_t i = 0; i + 1 < n; ++i) {
        h[i] = x[i + 1] - x[i];
    }
    std::vector<double> alpha(n, 0.0);
    for (std::size_t i = 1; i + 1 < n; ++i) {
        alpha[i] = 3 * (y[i + 1] - y[i]) / h[i] - 3 * (y[i] - y[i - 1]) / h[i - 1];
    }

    // Forward sweep of the tridiagonal system for the curvatures.
    std::vector<double> l(n, 0.0);
    std::vector<double> mu(n, 0.0);
    std::vector<double> z(n, 0.0);
    l[0] = 1.0;
    for (std::size_t i = 1; i + 1 < n; ++i) {
        l[i] = 2 * (x[i + 1] - x[i - 1]) - h[i - 1] * mu[i - 1];
        if (l[i] == 0.0) {
            l[i] = 1e-6;
        }
        mu[i] = h[i] / l[i];
        z[i] = (alpha[i] - h[i - 1] * z[i - 1]) / l[i];
    }

    // Back substitution.
    c[n - 1] = 0.0;
    for (std::size_t j = n - 1; j-- > 0;) {
        c[j] = z[j] - mu[j] * c[j + 1];
        b[j] = (y[j + 1] - y[j]) / h[j] - h[j] * (c[j + 1] + 2 * c[j]) / 3;
        d[j] = (c[j + 1] - c[j]) / (3 * h[j]);
    }

    curve.leftSlope = b[0];
    const double last = h[n - 2];
    curve.rightSlope = b[n - 2] + 2 * c[n - 2] * last + 3 * d[n - 2] * (last * last);
}

double evalCubicCurve(const CubicCurve& curve, double x) {
    const std::size_t n = curve.x.size();
    if (n == 0 || curve.y.size() < n || curve.b.size() < n || curve.c.size() < n ||
        curve.d.size() < n) {
        return 0.0;
    }
    if (x < curve.x[0]) {
        return curve.y[0] + (x - curve.x[0]) * curve.leftSlope;
    }
    if (x > curve.x[n - 1]) {
        return curve.y[n - 1] + (x - curve.x[n - 1]) * curve.rightSlope;
    }
    std::size_t i = 0;
    while (i + 1 < n && !(x <= curve.x[i + 1])) {
        ++i;
    }
    const double dx = x - curve.x[i];
    return curve.y[i] + curve.b[i] * dx + curve.c[i] * (dx * dx) + curve.d[i] * ((dx * dx) * dx);
}

}  // namespace zel
