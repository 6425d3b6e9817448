#include "run/TimeColor.h"

#include <gtest/gtest.h>

namespace {

using namespace kf;

struct TimeColorCase {
    int timeMs;
    int bestTimeMs;
    QRgb color;
};

class TimeColorTest : public ::testing::TestWithParam<TimeColorCase> {};

TEST_P(TimeColorTest, RedOnlyWhenSlowerThanTheBest) {
    const TimeColorCase c = GetParam();
    EXPECT_EQ(timeColor(c.timeMs, c.bestTimeMs), c.color);
}

INSTANTIATE_TEST_SUITE_P(Times, TimeColorTest,
                         ::testing::Values(TimeColorCase{1234, 1234, qRgb(0, 120, 0)},
                                           TimeColorCase{1235, 1234, qRgb(190, 0, 0)},
                                           TimeColorCase{1233, 1234, qRgb(0, 120, 0)},
                                           TimeColorCase{0, 999999, qRgb(0, 120, 0)},
                                           TimeColorCase{1000000, 999999, qRgb(190, 0, 0)},
                                           // Signed comparison: a negative time is below any best.
                                           TimeColorCase{-1, 0, qRgb(0, 120, 0)}));

} // namespace
