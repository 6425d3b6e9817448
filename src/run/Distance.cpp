#include "run/Distance.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

namespace kf {

namespace {

// Newton's method for the square root of n > 0. The first step may overshoot from below (for
// n < 4 the start n / 2 lies under the root); from then on the iterates fall towards the root,
// and the loop stops once a step no longer lowers the value. The cap only guards against an
// endless loop; convergence takes far fewer steps.
double newtonSqrt(double n) {
    double g = n * 0.5;
    g = (n / g + g) * 0.5;
    for (int step = 0; step < 200; ++step) {
        const double next = (n / g + g) * 0.5;
        if (!(next < g))
            break;
        g = next;
    }
    return g;
}

// Rounding leaves the settled value within a few units in the last place of the root. That
// could put it just below an integer root, and for very large n it does put it on the integer
// just above a root that is slightly smaller. The whole part is put right with exact integer
// arithmetic; the fraction is left as Newton's method gave it.
double sqrtWithExactWholePart(std::uint64_t n) {
    if (n == 0)
        return 0.0;
    double g = newtonSqrt(static_cast<double>(n));
    // Callers pass at most 2^63, so g stays near 3.04e9 at most and converts safely, and
    // (r + 1) squared stays below 2^64.
    std::uint64_t r = static_cast<std::uint64_t>(g);
    while (r * r > n)
        --r;
    while ((r + 1) * (r + 1) <= n)
        ++r;
    const double whole = static_cast<double>(r);
    const double nextWhole = static_cast<double>(r + 1);
    if (g < whole)
        g = whole;
    else if (g >= nextWhole)
        g = std::nextafter(nextWhole, 0.0);
    return g;
}

} // namespace

double ApproxSqrt(long long n) {
    if (n <= 0)
        return 0.0;
    return sqrtWithExactWholePart(static_cast<std::uint64_t>(n));
}

long moveDistance(int dx, int dy) {
    const auto ux = static_cast<std::uint64_t>(std::llabs(static_cast<long long>(dx)));
    const auto uy = static_cast<std::uint64_t>(std::llabs(static_cast<long long>(dy)));
    // Each square is at most 2^62, so the sum fits an unsigned 64-bit value.
    const double length = sqrtWithExactWholePart(ux * ux + uy * uy);
    // At most about 3.04e9; long may be 32 bits wide on some platforms.
    constexpr double longMax = static_cast<double>(std::numeric_limits<long>::max());
    if (length >= longMax)
        return std::numeric_limits<long>::max();
    return static_cast<long>(length);
}

long averageSpeed(long distance, int timeMs, long previous) {
    if (timeMs <= 0)
        return previous;
    // distance * 1000 / timeMs, truncated, without forming the possibly overflowing product:
    // with distance = q * timeMs + r (r of distance's sign) the result is q * 1000 plus the
    // truncated r * 1000 / timeMs, and both parts share the sign.
    const long long d = distance;
    const long long q = d / timeMs;
    const long long r = d % timeMs;
    const long long fraction = r * 1000 / timeMs; // |r| < timeMs <= 2^31, so no overflow
    constexpr long long kLongMax = std::numeric_limits<long>::max();
    constexpr long long kLongMin = std::numeric_limits<long>::min();
    long long whole = 0;
    if (__builtin_mul_overflow(q, 1000LL, &whole))
        return q > 0 ? std::numeric_limits<long>::max() : std::numeric_limits<long>::min();
    long long speed = 0;
    if (__builtin_add_overflow(whole, fraction, &speed))
        return whole > 0 ? std::numeric_limits<long>::max() : std::numeric_limits<long>::min();
    if (speed > kLongMax)
        return std::numeric_limits<long>::max();
    if (speed < kLongMin)
        return std::numeric_limits<long>::min();
    return static_cast<long>(speed);
}

} // namespace kf
