#include "run/Distance.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>

namespace {

using namespace kf;

// ---------------------------------------------------------------------------------------------
// What one pointer movement adds to the run's distance: the whole part of its true length.

struct MoveCase {
    int dx, dy;
    long adds;
};

class MoveDistanceTest : public ::testing::TestWithParam<MoveCase> {};

TEST_P(MoveDistanceTest, AddsWholePartOfTrueLength) {
    const MoveCase c = GetParam();
    EXPECT_EQ(moveDistance(c.dx, c.dy), c.adds);
}

INSTANTIATE_TEST_SUITE_P(
    Moves, MoveDistanceTest,
    ::testing::Values(MoveCase{0, 0, 0}, MoveCase{1, 0, 1}, MoveCase{0, 1, 1}, MoveCase{1, 1, 1},
                      MoveCase{3, 4, 5}, MoveCase{-3, -4, 5}, MoveCase{20, 0, 20},
                      MoveCase{8, 32, 32}, // 32.98: the whole part, not rounded
                      MoveCase{50, 0, 50}, MoveCase{55, 0, 55}, MoveCase{60, 0, 60},
                      MoveCase{100, 0, 100}, MoveCase{-100, 0, 100}, MoveCase{200, 0, 200},
                      MoveCase{0, -200, 200}, MoveCase{399, 399, 564}, // 564.27
                      MoveCase{46341, 46341, 65536},                   // squares beyond 32 bits
                      // Both squares 2^62: the sum is 2^63 and the root 3037000499.98.
                      MoveCase{INT_MIN, INT_MIN, 3037000499L}));

// ---------------------------------------------------------------------------------------------
// The square root itself.

// Walks from a nearby guess to the integer square root, in unsigned arithmetic so that
// (r + 1)^2 cannot overflow for any n up to the largest long long.
std::uint64_t integerSqrt(std::uint64_t n, std::uint64_t guess) {
    std::uint64_t r = guess;
    while (r * r > n)
        --r;
    while ((r + 1) * (r + 1) <= n)
        ++r;
    return r;
}

TEST(ApproxSqrt, WholePartIsIntegerRootUpToTwoMillion) {
    std::uint64_t root = 0;
    int mismatches = 0;
    for (long long n = 0; n <= 2'000'000; ++n) {
        root = integerSqrt(static_cast<std::uint64_t>(n), root);
        const double g = ApproxSqrt(n);
        if (static_cast<std::uint64_t>(g) != root && ++mismatches <= 5)
            ADD_FAILURE() << "n = " << n << ": " << g << ", whole part should be " << root;
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(ApproxSqrt, PerfectSquaresAreExact) {
    for (long long k = 0; k <= 100'000; ++k)
        ASSERT_EQ(ApproxSqrt(k * k), static_cast<double>(k)) << "k = " << k;
    for (const long long k : {1'000'000LL, 46'341LL, 67'108'864LL, 94'906'265LL, 999'999'999LL,
                              2'147'483'647LL, 3'037'000'499LL})
        EXPECT_EQ(ApproxSqrt(k * k), static_cast<double>(k)) << "k = " << k;
}

// Around large squares the root of k^2 - 1 lies within a fraction of a unit in the last place
// below k, yet its whole part must still be k - 1.
TEST(ApproxSqrt, WholePartIsIntegerRootForLargeValues) {
    for (const std::uint64_t k : {4'096ULL, 65'535ULL, 1'000'003ULL, 67'108'863ULL, 94'906'265ULL,
                                  123'456'789ULL, 2'147'483'647ULL, 3'037'000'499ULL}) {
        for (const std::uint64_t n : {k * k - 1, k * k, k * k + 1, k * k + 2 * k}) {
            if (n > static_cast<std::uint64_t>(LLONG_MAX))
                continue;
            EXPECT_EQ(static_cast<std::uint64_t>(ApproxSqrt(static_cast<long long>(n))),
                      integerSqrt(n, k))
                << "n = " << n;
        }
    }
    EXPECT_EQ(static_cast<long long>(ApproxSqrt(LLONG_MAX)), 3'037'000'499LL);
}

TEST(ApproxSqrt, CloseToTrueRoot) {
    for (const long long n : {2LL, 3LL, 5LL, 1089LL, 123'456LL, 9'999'999'999LL}) {
        const double truth = std::sqrt(static_cast<double>(n));
        EXPECT_NEAR(ApproxSqrt(n), truth, truth * 1e-15) << "n = " << n;
    }
}

TEST(ApproxSqrt, ZeroAndBelow) {
    EXPECT_EQ(ApproxSqrt(0), 0.0);
    EXPECT_EQ(ApproxSqrt(-5), 0.0);
}

// ---------------------------------------------------------------------------------------------
// Average speed in pixels per second.

struct SpeedCase {
    long distance;
    int timeMs;
    long previous;
    long expected;
};

class AverageSpeedTest : public ::testing::TestWithParam<SpeedCase> {};

TEST_P(AverageSpeedTest, PixelsPerSecondTruncated) {
    const SpeedCase c = GetParam();
    EXPECT_EQ(averageSpeed(c.distance, c.timeMs, c.previous), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, AverageSpeedTest,
    ::testing::Values(SpeedCase{0, 100, 7, 0}, SpeedCase{100, 1000, 0, 100},
                      SpeedCase{116, 250, 9, 464}, // 464 pixels per second, not per 10 s
                      SpeedCase{1, 3, 0, 333}, SpeedCase{2, 3, 0, 666}, // cut, not rounded
                      SpeedCase{500, 1, 0, 500'000},
                      SpeedCase{3'000'000, 1000, 0, 3'000'000}, // product beyond 32 bits
                      SpeedCase{1234, 0, 42, 42},               // no time yet: speed stays
                      SpeedCase{1234, -5, 42, 42}, SpeedCase{-1, 3, 0, -333},
                      SpeedCase{LONG_MAX, 1000, 0, LONG_MAX},     // the product would overflow
                      SpeedCase{LONG_MAX, 2000, 0, LONG_MAX / 2}, // exact despite that
                      SpeedCase{LONG_MAX, 1, 0, LONG_MAX},        // held at the largest long
                      SpeedCase{LONG_MIN, 1, 0, LONG_MIN}));

} // namespace
