#pragma once

#include "run/GhostPath.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>

namespace kf {

// A finished run as the game hands it to the league: the track's file name and exact bytes,
// the run's time, when it finished and its path.
struct LeagueRun {
    QString trackName;
    QByteArray trackBytes;
    int timeMs = 0;
    QDateTime finishedUtc;
    GhostPath path;
};

// The submission's number, or why the league did not take the run (one sentence).
struct LeagueSubmission {
    qint64 id = 0;
    QString refusal;
};

// Submits a run under the connection's own role name, in one transaction: the track first
// when the league lacks it (its bytes are sent only then), then the run, pending until the
// verifier proves it. A run without a path, or one too long for the store, is refused before
// anything is sent.
LeagueSubmission submitRun(QSqlDatabase db, const LeagueRun& run);

// A track of the league: its key and the name it was submitted under.
struct LeagueTrack {
    QString sha256;
    QString name;

    friend bool operator==(const LeagueTrack&, const LeagueTrack&) = default;
};

// One line of a track's board: runs of equal best time share their rank.
struct BoardLine {
    int rank = 0;
    QString player;
    int bestMs = 0;
    qint64 finishedRuns = 0;

    friend bool operator==(const BoardLine&, const BoardLine&) = default;
};

// A read of the league: its rows, or the server's reason it failed.
template <typename Row> struct LeagueRead {
    QList<Row> rows;
    QString failure;
};

// The tracks whose SHA-256 or name is `key`, by name then key: several tracks may share a name.
LeagueRead<LeagueTrack> findTracks(QSqlDatabase db, const QString& key);
// The board of a track, fastest first (equal times by player name).
LeagueRead<BoardLine> readBoard(QSqlDatabase db, const QString& trackSha256);

} // namespace kf
