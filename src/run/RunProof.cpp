#include "run/RunProof.h"

#include "level/LevelBoard.h"
#include "run/PathSampling.h"
#include "run/RunTracker.h"

namespace kf {

namespace {

// Neither kTrailDots nor kTrailLine: the proof's board shows the picture alone.
constexpr int kNoTrail = -1;

RunProof refused(const QString& reason) {
    return {false, reason};
}

} // namespace

RunProof proveRun(const QImage& track, const QList<GhostPoint>& points, int claimedMs) {
    for (qsizetype i = 1; i < points.size(); ++i)
        if (points[i].ms < points[i - 1].ms)
            return refused(QStringLiteral("times go backwards"));

    LevelBoard board;
    board.setPicture(track);
    // The path keeps board pixels; the run's rules read the board at client points.
    const auto client = [&board](const GhostPoint& p) { return QPoint(p.x, p.y) + board.origin(); };

    RunTracker run;
    if (points.isEmpty() || points.first().ms != 0 ||
        run.press(board, client(points.first()), 0) != RunOutcome::Started)
        return refused(QStringLiteral("does not start on the start"));

    for (qsizetype i = 1; i < points.size(); ++i) {
        const QPoint from = run.last();
        const QPoint to = client(points[i]);
        if (run.move(board, to, true, kNoTrail).outcome != RunOutcome::WallCrash)
            continue;
        const QPoint wall = firstWallPixel(board, from, to).value_or(to) - board.origin();
        return refused(QStringLiteral("touches a wall at (%1, %2) after %3 ms")
                           .arg(wall.x())
                           .arg(wall.y())
                           .arg(points[i].ms));
    }

    const qint64 endMs = points.last().ms;
    if (run.release(board, client(points.last()), double(endMs)) != RunOutcome::Finished)
        return refused(QStringLiteral("does not end on the finish"));
    if (claimedMs != endMs)
        return refused(
            QStringLiteral("claims %1 ms but its path ends at %2 ms").arg(claimedMs).arg(endMs));
    return {true, {}};
}

} // namespace kf
