#pragma once

#include "history/LeagueStanding.h"
#include "league/LeagueRun.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QSqlDatabase>
#include <QString>

namespace kf {

// Submits a run under the connection's own role name, in one transaction: the track first
// when the league lacks it (its bytes are sent only then), then the run, pending until the
// verifier proves it. A run without a path, or one too long for the store, is refused before
// anything is sent. The same run sent again (the player's, of the same track, finished at the
// same moment) is not added twice: it gives the number it was given the first time. Without
// the track's bytes the run is keyed by `trackSha256`, and is lost (to be sent again with the
// bytes) when the league lacks that track; so is a run whose connection stopped answering.
LeagueSubmission submitRun(QSqlDatabase db, const LeagueRun& run);

// A track of the league: its key and the name it was submitted under.
struct LeagueTrack {
    QString sha256;
    QString name;

    friend bool operator==(const LeagueTrack&, const LeagueTrack&) = default;
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
