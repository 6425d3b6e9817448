#include "history/LeagueStanding.h"

#include <QStringList>

namespace kf {

namespace {

QString runs(qint64 n, const char* one, const char* many) {
    return n == 1 ? QStringLiteral("1 run %1").arg(QLatin1String(one))
                  : QStringLiteral("%1 runs %2").arg(n).arg(QLatin1String(many));
}

} // namespace

QString leagueOwnLine(const LeagueStanding& standing) {
    if (!standing.own)
        return QStringLiteral("You play as %1 and have no confirmed run of this track yet.")
            .arg(standing.player);
    return QStringLiteral("You play as %1: rank %2, best %3 ms.")
        .arg(standing.player)
        .arg(standing.own->rank)
        .arg(standing.own->bestMs);
}

QString leagueWaitingText(const LeagueStanding& standing) {
    qint64 refused = 0;
    for (const LeagueRefusal& refusal : standing.refusals)
        refused += refusal.runs;
    QStringList parts;
    if (standing.unsent > 0)
        parts << runs(standing.unsent, "waits to be sent", "wait to be sent");
    if (standing.pending > 0)
        parts << runs(standing.pending, "waits to be proven", "wait to be proven");
    if (refused > 0)
        parts << runs(refused, "was refused", "were refused");
    if (parts.isEmpty())
        return {};
    QString text = QStringLiteral("Of your runs, %1.").arg(parts.join(QStringLiteral(", ")));
    for (const LeagueRefusal& refusal : standing.refusals)
        text += QStringLiteral("\nRefused: %1 (%2)")
                    .arg(refusal.reason, refusal.runs == 1
                                             ? QStringLiteral("1 run")
                                             : QStringLiteral("%1 runs").arg(refusal.runs));
    return text;
}

QString leagueUnreachable(const QString& why) {
    return QStringLiteral("The league cannot be reached now (%1); your runs wait on this "
                          "machine until it can.")
        .arg(why);
}

} // namespace kf
