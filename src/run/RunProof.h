#pragma once

#include "run/GhostPath.h"

#include <QImage>
#include <QList>
#include <QString>

namespace kf {

// Whether a run's path holds up under the game's own rules, and why not.
struct RunProof {
    bool confirmed = false;
    QString reason; // empty when confirmed
};

// Runs the path again on a board of `track` through RunTracker, as the window would have: the
// press on point 0 at 0 ms, a movement with the button held to each later point (each tested
// for walls over its whole segment), the release on the last point at its time. No trail is
// drawn: a trail only ever paints the trail colour, so it can make no wall, start or finish.
// `points` are board pixels, as a path stores them, with their times as stored, not yet
// checked; `claimedMs` is the time the run claims. The reasons, the first that applies:
//
//     times go backwards
//     does not start on the start
//     touches a wall at (x, y) after N ms      the board pixel, the time of the point moved to
//     does not end on the finish
//     claims N ms but its path ends at M ms
RunProof proveRun(const QImage& track, const QList<GhostPoint>& points, int claimedMs);

} // namespace kf
