#pragma once

namespace kf {

// Square root of n >= 0 by Newton's method, iterated until it settles. The whole part of the
// result is exactly the integer square root of n, so a movement adds the whole part of its true
// length; a perfect square comes out exact. Negative n gives 0.
double ApproxSqrt(long long n);

// What a pointer movement of (dx, dy) adds to the run's distance: the whole part of its length.
// The squares are formed in 64 bits, so no movement overflows.
long moveDistance(int dx, int dy);

// Average speed in pixels per second over a run of `distance` pixels in `timeMs` milliseconds,
// truncated toward zero and held within the range of long. A time of 0 or less keeps `previous`.
long averageSpeed(long distance, int timeMs, long previous);

} // namespace kf
