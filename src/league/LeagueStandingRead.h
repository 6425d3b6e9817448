#pragma once

#include "history/HistoryRun.h"
#include "history/LeagueStanding.h"

#include <QSqlDatabase>
#include <QString>

#include <optional>

namespace kf {

// What the League page shows of a track, read as the connection's role (`player`) in one
// snapshot: the board's first kLeagueBoardTop lines, ranked as readBoard ranks them, the
// player's own line wherever it stands, and the player's runs of the track that wait for the
// verifier or were refused. `unsent` is left to the history. A failed read sets `failure` alone.
LeagueStanding readStanding(QSqlDatabase db, const QString& trackSha256);

// The fastest confirmed run of the player on the first line of the track's board (the earliest
// to finish of equal times), as a ghost; none when the board is empty. A path that is no path
// the game can show, or a failed read, gives none with `failure` set to one sentence.
std::optional<SharedGhost> readLeaderGhost(QSqlDatabase db, const QString& trackSha256,
                                           QString* failure);

} // namespace kf
