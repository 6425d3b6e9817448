#include "run/Stopwatch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

using kf::Stopwatch;

TEST(Stopwatch, ReadingsRiseWithTime) {
    Stopwatch watch;
    watch.Start();
    const double first = watch.ElapsedMs();
    const double second = watch.ElapsedMs();
    EXPECT_GE(first, 0.0);
    EXPECT_GE(second, first);

    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const double afterSleep = watch.ElapsedMs();
    EXPECT_GE(afterSleep - second, 20.0);

    // A fresh start moves the zero point up to now.
    watch.Start();
    EXPECT_LT(watch.ElapsedMs(), afterSleep);
}

} // namespace
