#include "league/LeagueClient.h"

#include "history/HistoryRun.h"
#include "league/LeagueConnection.h"

#include <QSqlError>
#include <QSqlQuery>

namespace kf {

namespace {

// A failed submission, rolled back: lost when the connection no longer answers (the run is
// sent again later), else refused with the server's reason.
LeagueSubmission failedRun(QSqlDatabase& db, const QSqlError& error) {
    db.rollback();
    const bool lost = error.type() == QSqlError::ConnectionError || !connectionAnswers(db);
    return {0, serverMessage(error), lost};
}

// The number of the player's run of this track that finished at `finished`.
QSqlQuery earlierRun(QSqlDatabase& db, const QString& key, const QString& finished) {
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT id FROM submissions WHERE player = current_user "
                                 "AND track_sha256 = ? AND finished_utc = ?::timestamptz"));
    query.addBindValue(key);
    query.addBindValue(finished);
    query.exec();
    return query;
}

} // namespace

LeagueSubmission submitRun(QSqlDatabase db, const LeagueRun& run) {
    if (run.path.isEmpty())
        return {0, QStringLiteral("the run has no path")};
    if (!run.path.fitsStore())
        return {0, QStringLiteral("the run's path is too long for the league")};
    const bool bytesGiven = !run.trackBytes.isEmpty();
    const QString key = bytesGiven ? bytesSha256(run.trackBytes) : run.trackSha256;
    if (key.isEmpty())
        return {0, QStringLiteral("the run names no track")};
    if (!db.transaction())
        return failedRun(db, db.lastError());

    QSqlQuery known(db);
    known.prepare(QStringLiteral("SELECT 1 FROM tracks WHERE sha256 = ?"));
    known.addBindValue(key);
    if (!known.exec())
        return failedRun(db, known.lastError());
    if (!known.next()) {
        if (!bytesGiven) {
            db.rollback();
            return {0, QStringLiteral("the league does not have the track yet"), true};
        }
        QSqlQuery add(db);
        add.prepare(QStringLiteral("INSERT INTO tracks (sha256, name, bytes) VALUES (?, ?, ?) "
                                   "ON CONFLICT (sha256) DO NOTHING"));
        add.addBindValue(key);
        add.addBindValue(run.trackName);
        add.addBindValue(run.trackBytes);
        if (!add.exec())
            return failedRun(db, add.lastError());
    }

    // A run sent before (the same player, track and finish) keeps its first number: the unique
    // index turns the second insert into nothing, and the player reads the first one back.
    const QString finished = run.finishedUtc.toUTC().toString(Qt::ISODateWithMs);
    QSqlQuery submit(db);
    submit.prepare(QStringLiteral("INSERT INTO submissions (track_sha256, time_ms, "
                                  "finished_utc, path) VALUES (?, ?, ?::timestamptz, ?) "
                                  "ON CONFLICT (player, track_sha256, finished_utc) DO NOTHING "
                                  "RETURNING id"));
    submit.addBindValue(key);
    submit.addBindValue(run.timeMs);
    submit.addBindValue(finished);
    submit.addBindValue(run.path.encode());
    if (!submit.exec())
        return failedRun(db, submit.lastError());
    qint64 id = submit.next() ? submit.value(0).toLongLong() : 0;
    if (id == 0) {
        QSqlQuery earlier = earlierRun(db, key, finished);
        if (!earlier.isActive())
            return failedRun(db, earlier.lastError());
        if (!earlier.next()) {
            db.rollback();
            return {0, QStringLiteral("the league kept neither the run nor an earlier one")};
        }
        id = earlier.value(0).toLongLong();
    }
    if (!db.commit())
        return failedRun(db, db.lastError());
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
