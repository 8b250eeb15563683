#pragma once

namespace qv::easing {

// The ease-in-out timing curve: the cubic Bézier through (0, 0), (0.42, 0),
// (0.58, 1), (1, 1), evaluated at the time fraction t (clamped to [0, 1]).
double easeInOut(double t);

// Time fraction of a forward-then-back animation repeated forever: rises from
// 0 to 1 over `durationMs`, falls back to 0 over the next `durationMs`, and so
// on. A non-positive duration gives 1.
double autoreverseFraction(double elapsedMs, double durationMs);

// Time fraction of an animation repeated forever without reversing.
double repeatFraction(double elapsedMs, double durationMs);

double lerp(double from, double to, double t);

} // namespace qv::easing
