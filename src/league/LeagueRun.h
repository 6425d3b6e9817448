#pragma once

#include "run/GhostPath.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace kf {

// A finished run as the game hands it to the league: the track's file name and exact bytes,
// the run's time, when it finished and its path. The bytes may be left empty when the league
// is known to hold the track already; its key is then `trackSha256`.
struct LeagueRun {
    QString trackName;
    QByteArray trackBytes;
    int timeMs = 0;
    QDateTime finishedUtc;
    GhostPath path;
    QString trackSha256; // the key when trackBytes is empty; ignored otherwise
};

// The submission's number, or why the league did not take the run (one sentence). `lost`
// tells a run that could not be sent (no connection, the server gone) from one the league
// refused: a lost run is sent again later, a refused one never.
struct LeagueSubmission {
    qint64 id = 0;
    QString refusal;
    bool lost = false;
};

} // namespace kf
