#include "league/LeagueClient.h"

#include "history/HistoryRun.h"
#include "league/LeagueConnection.h"

#include <QSqlError>
#include <QSqlQuery>

namespace kf {

namespace {

LeagueSubmission refusedRun(QSqlDatabase& db, const QString& why) {
    db.rollback();
    return {0, why};
}

} // namespace

LeagueSubmission submitRun(QSqlDatabase db, const LeagueRun& run) {
    if (run.path.isEmpty())
        return {0, QStringLiteral("the run has no path")};
    if (!run.path.fitsStore())
        return {0, QStringLiteral("the run's path is too long for the league")};
    const QString key = bytesSha256(run.trackBytes);
    if (!db.transaction())
        return {0, serverMessage(db.lastError())};

    QSqlQuery known(db);
    known.prepare(QStringLiteral("SELECT 1 FROM tracks WHERE sha256 = ?"));
    known.addBindValue(key);
    if (QString failed = execOrMessage(known); !failed.isEmpty())
        return refusedRun(db, failed);
    if (!known.next()) {
        QSqlQuery add(db);
        add.prepare(QStringLiteral("INSERT INTO tracks (sha256, name, bytes) VALUES (?, ?, ?) "
                                   "ON CONFLICT (sha256) DO NOTHING"));
        add.addBindValue(key);
        add.addBindValue(run.trackName);
        add.addBindValue(run.trackBytes);
        if (QString failed = execOrMessage(add); !failed.isEmpty())
            return refusedRun(db, failed);
    }

    QSqlQuery submit(db);
    submit.prepare(QStringLiteral("INSERT INTO submissions (track_sha256, time_ms, "
                                  "finished_utc, path) VALUES (?, ?, ?::timestamptz, ?) "
                                  "RETURNING id"));
    submit.addBindValue(key);
    submit.addBindValue(run.timeMs);
    submit.addBindValue(run.finishedUtc.toUTC().toString(Qt::ISODateWithMs));
    submit.addBindValue(run.path.encode());
    if (QString failed = execOrMessage(submit); !failed.isEmpty())
        return refusedRun(db, failed);
    submit.next();
    const qint64 id = submit.value(0).toLongLong();
    if (!db.commit())
        return refusedRun(db, serverMessage(db.lastError()));
    return {id, {}};
}

LeagueRead<LeagueTrack> findTracks(QSqlDatabase db, const QString& key) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT sha256, name FROM tracks WHERE sha256 = ? OR name = ? "
                                 "ORDER BY name, sha256"));
    query.addBindValue(key);
    query.addBindValue(key);
    LeagueRead<LeagueTrack> read;
    if (read.failure = execOrMessage(query); read.failure.isEmpty())
        while (query.next())
            read.rows.append({query.value(0).toString(), query.value(1).toString()});
    return read;
}

LeagueRead<BoardLine> readBoard(QSqlDatabase db, const QString& trackSha256) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT rank() OVER (ORDER BY best_ms), player, best_ms, "
                                 "finished_runs FROM board WHERE track_sha256 = ? "
                                 "ORDER BY best_ms, player"));
    query.addBindValue(trackSha256);
    LeagueRead<BoardLine> read;
    if (read.failure = execOrMessage(query); read.failure.isEmpty())
        while (query.next())
            read.rows.append({query.value(0).toInt(), query.value(1).toString(),
                              query.value(2).toInt(), query.value(3).toLongLong()});
    return read;
}

} // namespace kf
