#pragma once

#include <QDate>
#include <QList>
#include <QString>

#include <optional>

namespace kf {

// The track of the day is kept as `Daily_YYYY-MM-DD.bmp`, the date in UTC.
QString dailyTrackName(QDate date);
// The date of a track of the day by its file name; nothing for any other name.
std::optional<QDate> dailyTrackDate(const QString& fileName);

// How many days in a row (UTC) the player finished the track of the day: up to today, or up to
// yesterday while today's is not finished yet (the streak is still alive then); and the longest
// such row ever.
struct DailyStreak {
    int current = 0;
    int longest = 0;

    friend bool operator==(const DailyStreak&, const DailyStreak&) = default;
};

// The streak for the days whose track was finished on its own day, in any order, repeats
// allowed.
DailyStreak dailyStreak(QList<QDate> finishedDays, QDate today);

} // namespace kf
