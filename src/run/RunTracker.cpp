#include "run/RunTracker.h"

#include "run/Distance.h"
#include "run/PathSampling.h"

#include <algorithm>
#include <limits>

namespace kf {

RunOutcome RunTracker::press(const LevelBoard& board, QPoint point, double nowMs) {
    if (!isStart(board.colorAt(point)))
        return RunOutcome::Ignored;
    m_last = m_previous = point;
    m_running = true;
    m_figures.timeMs = 0;
    m_figures.distance = 0;
    m_startMs = static_cast<qint64>(nowMs);
    return RunOutcome::Started;
}

RunTracker::Step RunTracker::move(LevelBoard& board, QPoint point, bool buttonHeld,
                                  int trailStyle) {
    if (!m_running)
        return {};
    if (!buttonHeld) {
        m_running = false;
        return {RunOutcome::ButtonRelease, {}};
    }
    bool wallCrash = false;
    if (point != m_last) {
        const QPoint d = point - m_last;
        m_figures.distance += moveDistance(d.x(), d.y());
        wallCrash = pathTouchesWall(board, m_last, point);
    }
    const QRect trail = drawTrail(board, trailStyle);
    m_previous = m_last;
    m_last = point;
    if (wallCrash)
        m_running = false;
    return {wallCrash ? RunOutcome::WallCrash : RunOutcome::Moved, trail};
}

QRect RunTracker::drawTrail(LevelBoard& board, int trailStyle) const {
    // The mark ends where the pointer was before this movement; the start and finish areas
    // keep their colours there.
    const COLORREF under = board.colorAt(m_last);
    if (isStart(under) || isFinish(under))
        return {};
    if (trailStyle == kTrailLine)
        return board.drawTrailLine(m_previous, m_last);
    if (trailStyle == kTrailDots)
        return board.drawTrailDot(m_last);
    return {};
}

RunOutcome RunTracker::release(const LevelBoard& board, QPoint point, double nowMs) {
    if (!m_running || !isFinish(board.colorAt(point)))
        return RunOutcome::Ignored;
    m_running = false;
    m_figures.timeMs = timeSincePress(nowMs);
    m_figures.speed = averageSpeed(m_figures.distance, m_figures.timeMs, m_figures.speed);
    return RunOutcome::Finished;
}

void RunTracker::tick(double nowMs) {
    if (!m_running)
        return;
    m_figures.timeMs = timeSincePress(nowMs);
    m_figures.speed = averageSpeed(m_figures.distance, m_figures.timeMs, m_figures.speed);
}

int RunTracker::timeSincePress(double nowMs) const {
    const qint64 now = static_cast<qint64>(nowMs);
    return static_cast<int>(
        std::clamp<qint64>(now - m_startMs, 0, std::numeric_limits<int>::max()));
}

} // namespace kf
