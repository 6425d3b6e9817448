#include "make/DailyTrack.h"

#include "make/SplitMix64.h"

#include <QRegularExpression>

#include <array>

namespace kf {

namespace {

// The Julian day of 1970-01-01.
constexpr qint64 kDayOne = 2440588;
// By ISO weekday, Monday first.
constexpr std::array<int, 7> kWeekdayDifficulty = {2, 3, 4, 5, 6, 7, 8};

} // namespace

qint64 dayNumber(QDate date) {
    return date.toJulianDay() - kDayOne;
}

DailyTrack dailyTrack(QDate date) {
    return {SplitMix64(static_cast<std::uint64_t>(dayNumber(date))).next(),
            kWeekdayDifficulty[static_cast<std::size_t>(date.dayOfWeek() - 1)]};
}

std::optional<QDate> parseDate(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^([0-9]{4})-([0-9]{2})-([0-9]{2})$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QDate date(match.captured(1).toInt(), match.captured(2).toInt(),
                     match.captured(3).toInt());
    if (!date.isValid())
        return std::nullopt;
    return date;
}

} // namespace kf
