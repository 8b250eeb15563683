#include "theme/Easing.h"

#include <algorithm>
#include <cmath>

namespace qv::easing {

namespace {
// One coordinate of the cubic Bézier with end points 0 and 1.
double bezier(double p1, double p2, double s)
{
    const double u = 1.0 - s;
    return 3 * u * u * s * p1 + 3 * u * s * s * p2 + s * s * s;
}

double bezierSlope(double p1, double p2, double s)
{
    const double u = 1.0 - s;
    return 3 * u * u * p1 + 6 * u * s * (p2 - p1) + 3 * s * s * (1.0 - p2);
}
} // namespace

double easeInOut(double t)
{
    constexpr double x1 = 0.42, y1 = 0.0, x2 = 0.58, y2 = 1.0;
    if (!(t > 0.0))
        return 0.0;
    if (t >= 1.0)
        return 1.0;
    // Solve x(s) = t for the curve parameter: Newton steps, then bisection if
    // the slope is too flat to trust.
    double s = t;
    for (int i = 0; i < 8; ++i) {
        const double err = bezier(x1, x2, s) - t;
        if (std::abs(err) < 1e-9)
            return bezier(y1, y2, s);
        const double d = bezierSlope(x1, x2, s);
        if (std::abs(d) < 1e-6)
            break;
        s -= err / d;
    }
    double lo = 0.0, hi = 1.0;
    s = t;
    for (int i = 0; i < 60; ++i) {
        const double x = bezier(x1, x2, s);
        if (std::abs(x - t) < 1e-10)
            break;
        (x < t ? lo : hi) = s;
        s = (lo + hi) / 2;
    }
    return bezier(y1, y2, s);
}

double autoreverseFraction(double elapsedMs, double durationMs)
{
    if (!(durationMs > 0.0))
        return 1.0;
    if (!(elapsedMs > 0.0))
        return 0.0;
    const double phase = std::fmod(elapsedMs, 2.0 * durationMs);
    return phase <= durationMs ? phase / durationMs : 2.0 - phase / durationMs;
}

double repeatFraction(double elapsedMs, double durationMs)
{
    if (!(durationMs > 0.0))
        return 1.0;
    if (!(elapsedMs > 0.0))
        return 0.0;
    return std::fmod(elapsedMs, durationMs) / durationMs;
}

double lerp(double from, double to, double t) { return from + (to - from) * t; }

} // namespace qv::easing
