#pragma once

#include "run/GhostPath.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

namespace kf {

// One ghost of a race: who ran, the time the run claims, when it finished, and its path as
// stored, in board pixels. The path's times are kept as they came, even going backwards, so that
// proving the run can say what is wrong with it; GhostPath::fromPoints makes a ghost of a proven
// one.
struct RaceGhost {
    QString player;
    int timeMs = 0;
    QDateTime finishedUtc;
    QList<GhostPoint> path;

    friend bool operator==(const RaceGhost&, const RaceGhost&) = default;
};

// A race as it travels between players: a track, by its file name and its exact bytes, and the
// runs on it to race against.
struct Race {
    QString trackName;
    QByteArray trackBytes;
    QList<RaceGhost> ghosts;

    friend bool operator==(const Race&, const Race&) = default;
};

// A race holds 1 to kMaxRaceGhosts ghosts.
inline constexpr int kMaxRaceGhosts = 8;

// Whether a race's track can be stored under `name` in a folder of its own: not empty, no `/`,
// no `..`, no NUL, ending in ".bmp" in any case.
bool isTrackFileName(const QString& name);

// A name as a reason shows it: control characters as U+FFFD, at most 80 characters.
QString shownName(const QString& name);

} // namespace kf
