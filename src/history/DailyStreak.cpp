#include "history/DailyStreak.h"

#include <QRegularExpression>

#include <algorithm>

namespace kf {

QString dailyTrackName(QDate date) {
    return QStringLiteral("Daily_%1.bmp").arg(date.toString(Qt::ISODate));
}

std::optional<QDate> dailyTrackDate(const QString& fileName) {
    static const QRegularExpression name(QStringLiteral("^Daily_(\\d{4}-\\d{2}-\\d{2})\\.bmp$"));
    const QRegularExpressionMatch m = name.match(fileName);
    if (!m.hasMatch())
        return std::nullopt;
    const QDate date = QDate::fromString(m.captured(1), Qt::ISODate);
    return date.isValid() ? std::optional(date) : std::nullopt;
}

DailyStreak dailyStreak(QList<QDate> finishedDays, QDate today) {
    std::sort(finishedDays.begin(), finishedDays.end());
    finishedDays.erase(std::unique(finishedDays.begin(), finishedDays.end()), finishedDays.end());
    DailyStreak streak;
    int row = 0;
    QDate previous;
    for (const QDate& day : finishedDays) {
        if (day > today)
            break;
        row = previous.isValid() && previous.addDays(1) == day ? row + 1 : 1;
        streak.longest = std::max(streak.longest, row);
        previous = day;
    }
    if (previous.isValid() && previous.daysTo(today) <= 1)
        streak.current = row;
    return streak;
}

} // namespace kf
