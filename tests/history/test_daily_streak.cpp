#include "history/DailyStreak.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace kf;

const QDate kToday(2026, 12, 9);

struct StreakCase {
    const char* name;
    std::vector<int> daysAgo; // finished days, counted back from today (negative: ahead)
    DailyStreak streak;
};

void PrintTo(const StreakCase& c, std::ostream* os) {
    *os << c.name;
}

class DailyStreakTable : public ::testing::TestWithParam<StreakCase> {};

TEST_P(DailyStreakTable, DaysInARowUpToToday) {
    QList<QDate> days;
    for (int ago : GetParam().daysAgo)
        days.append(kToday.addDays(-ago));
    EXPECT_EQ(dailyStreak(days, kToday), GetParam().streak);
}

INSTANTIATE_TEST_SUITE_P(
    Days, DailyStreakTable,
    ::testing::Values(StreakCase{"none", {}, {0, 0}}, StreakCase{"today", {0}, {1, 1}},
                      StreakCase{"yesterday_keeps_it_alive", {1, 2}, {2, 2}},
                      StreakCase{"a_day_missed_ends_it", {2, 3}, {0, 2}},
                      StreakCase{"longest_before_a_gap", {0, 1, 3, 4, 5, 6}, {2, 4}},
                      StreakCase{"repeats_and_order_count_once", {1, 0, 1, 0}, {2, 2}},
                      StreakCase{"a_day_ahead_does_not_count", {-1, 0}, {1, 1}},
                      StreakCase{"across_a_month", {8, 9, 10}, {0, 3}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DailyTrackName, OnlyARealDateInTheExactFormNamesATrackOfTheDay) {
    EXPECT_EQ(dailyTrackName(kToday), "Daily_2026-12-09.bmp");
    EXPECT_EQ(dailyTrackDate("Daily_2026-12-09.bmp"), kToday);
    for (const char* other : {"Daily_2026-02-30.bmp", "daily_2026-12-09.bmp", "Daily_2026-12-9.bmp",
                              "Daily_2026-12-09.bmp.bmp", "Daily_2026-12-09.BMP"})
        EXPECT_EQ(dailyTrackDate(other), std::nullopt) << other;
}

} // namespace
