#include "league/LeagueStandingRead.h"

#include "league/LeagueConnection.h"

#include <QSqlError>
#include <QSqlQuery>

namespace kf {

namespace {

// The board's lines numbered in readBoard's order: the first kLeagueBoardTop of them and the
// player's own, in that order.
const char kBoardLines[] = R"sql(
    SELECT rank, player, best_ms, finished_runs, line <= ? FROM (
      SELECT rank() OVER (ORDER BY best_ms) AS rank,
             row_number() OVER (ORDER BY best_ms, player) AS line,
             player, best_ms, finished_runs
      FROM board WHERE track_sha256 = ?) AS lines
    WHERE line <= ? OR player = current_user ORDER BY line)sql";

// The player's own runs of the track that are not confirmed: the pending ones under no reason,
// the refused ones by reason, most runs first.
const char kOwnRuns[] = R"sql(
    SELECT state, coalesce(reason, ''), count(*) FROM submissions
    WHERE player = current_user AND track_sha256 = ? AND state <> 'confirmed'
    GROUP BY state, reason ORDER BY count(*) DESC, reason)sql";

LeagueStanding failedStanding(const QString& why) {
    LeagueStanding standing;
    standing.failure = why;
    return standing;
}

QString readInto(QSqlDatabase& db, const QString& trackSha256, LeagueStanding& standing) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (QString failed = execOrMessage(query, QStringLiteral("SELECT current_user"));
        !failed.isEmpty())
        return failed;
    query.next();
    standing.player = query.value(0).toString();

    query.prepare(QString::fromUtf8(kBoardLines));
    query.addBindValue(kLeagueBoardTop);
    query.addBindValue(trackSha256);
    query.addBindValue(kLeagueBoardTop);
    if (QString failed = execOrMessage(query); !failed.isEmpty())
        return failed;
    while (query.next()) {
        const BoardLine line{query.value(0).toInt(), query.value(1).toString(),
                             query.value(2).toInt(), query.value(3).toLongLong()};
        if (query.value(4).toBool())
            standing.top.append(line);
        if (line.player == standing.player)
            standing.own = line;
    }

    query.prepare(QString::fromUtf8(kOwnRuns));
    query.addBindValue(trackSha256);
    if (QString failed = execOrMessage(query); !failed.isEmpty())
        return failed;
    while (query.next()) {
        const qint64 runs = query.value(2).toLongLong();
        if (query.value(0).toString() == QLatin1String("pending"))
            standing.pending = runs;
        else
            standing.refusals.append({query.value(1).toString(), runs});
    }
    return {};
}

} // namespace

LeagueStanding readStanding(QSqlDatabase db, const QString& trackSha256) {
    // One snapshot, so that a run confirmed between two reads is neither on the board and
    // pending nor missing from both.
    if (!db.transaction())
        return failedStanding(serverMessage(db.lastError()));
    LeagueStanding standing;
    QSqlQuery snapshot(db);
    QString failed = execOrMessage(
        snapshot, QStringLiteral("SET TRANSACTION ISOLATION LEVEL REPEATABLE READ, READ ONLY"));
    if (failed.isEmpty())
        failed = readInto(db, trackSha256, standing);
    if (failed.isEmpty() && !db.commit())
        failed = serverMessage(db.lastError());
    if (!failed.isEmpty()) {
        db.rollback();
        return failedStanding(failed);
    }
    return standing;
}

std::optional<SharedGhost> readLeaderGhost(QSqlDatabase db, const QString& trackSha256,
                                           QString* failure) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral(
        "SELECT player, time_ms, finished_utc, path FROM submissions "
        "WHERE track_sha256 = ? AND state = 'confirmed' AND player = "
        "(SELECT player FROM board WHERE track_sha256 = ? ORDER BY best_ms, player LIMIT 1) "
        "ORDER BY time_ms, finished_utc, id LIMIT 1"));
    query.addBindValue(trackSha256);
    query.addBindValue(trackSha256);
    if (QString failed = execOrMessage(query); !failed.isEmpty()) {
        *failure = failed;
        return std::nullopt;
    }
    failure->clear();
    if (!query.next())
        return std::nullopt;
    const QString player = query.value(0).toString();
    std::optional<GhostPath> path;
    if (const auto points = GhostPath::decodePoints(query.value(3).toByteArray()))
        path = GhostPath::fromPoints(*points);
    if (!path) {
        *failure = QStringLiteral("the path of %1's run in the league is not one the game can "
                                  "show")
                       .arg(player);
        return std::nullopt;
    }
    return SharedGhost{0, player, query.value(1).toInt(), query.value(2).toDateTime().toUTC(),
                       *path};
}

} // namespace kf
