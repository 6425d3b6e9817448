#include "make/DailyTrack.h"
#include "make/SplitMix64.h"

#include <gtest/gtest.h>

namespace {

using namespace kf;

// The day number from 1970-01-01 makes the seed; the ISO weekday the difficulty, Monday 2 to
// Sunday 8.
TEST(DailyTrack, SeedFromTheDayAndDifficultyFromTheWeekday) {
    const struct {
        QDate date;
        qint64 day;
        int difficulty;
    } rows[] = {
        {{1970, 1, 1}, 0, 5},       // a Thursday
        {{1969, 12, 31}, -1, 4},    // a Wednesday, before day 0
        {{2024, 2, 29}, 19782, 5},  // a Thursday
        {{2026, 12, 7}, 20794, 2},  // a Monday
        {{2026, 12, 8}, 20795, 3},  // a Tuesday
        {{2026, 12, 11}, 20798, 6}, // a Friday
        {{2026, 12, 12}, 20799, 7}, // a Saturday
        {{2026, 12, 13}, 20800, 8}, // a Sunday
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.date.toString(Qt::ISODate).toStdString());
        EXPECT_EQ(dayNumber(r.date), r.day);
        const DailyTrack track = dailyTrack(r.date);
        EXPECT_EQ(track.difficulty, r.difficulty);
        EXPECT_EQ(track.seed, SplitMix64(static_cast<std::uint64_t>(r.day)).next());
    }
}

TEST(DailyTrack, DatesAreYearMonthDayThatExist) {
    const struct {
        const char* text;
        QDate date;
    } rows[] = {
        {"2024-02-29", {2024, 2, 29}},
        {"1970-01-01", {1970, 1, 1}},
        {"2023-02-29", {}},
        {"2024-04-31", {}},
        {"2024-13-01", {}},
        {"0000-01-01", {}},
        {"2024-2-29", {}},
        {"24-02-29", {}},
        {"2024-02-29 ", {}},
        {"2024/02/29", {}},
        {"today", {}},
        {"", {}},
    };
    for (const auto& r : rows)
        EXPECT_EQ(parseDate(QString::fromLatin1(r.text)).value_or(QDate()), r.date) << r.text;
}

} // namespace
