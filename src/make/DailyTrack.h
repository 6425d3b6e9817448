#pragma once

#include <QDate>
#include <QString>

#include <cstdint>
#include <optional>

namespace kf {

// The track of the day: the same for every player on a date.
//
// Its seed is the first output of a SplitMix64 seeded with the date's day number counted from
// 1970-01-01 (day 0; days before it count negative, taken as a 64-bit two's complement). Its
// difficulty
// follows the ISO weekday, gentle at the start of the week and hardest at its end:
//
//     Monday 2, Tuesday 3, Wednesday 4, Thursday 5, Friday 6, Saturday 7, Sunday 8
struct DailyTrack {
    std::uint64_t seed = 0;
    int difficulty = 0;
};

// The day number of a date counted from 1970-01-01.
qint64 dayNumber(QDate date);

// The seed and the difficulty of a valid date's track.
DailyTrack dailyTrack(QDate date);

// The date that `text` names as YYYY-MM-DD, four digits, two, two; nullopt for any other text or
// a date that does not exist (2023-02-29).
std::optional<QDate> parseDate(const QString& text);

} // namespace kf
