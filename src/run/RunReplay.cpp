#include "run/RunReplay.h"

#include <algorithm>
#include <utility>

namespace kf {

RunReplay::RunReplay(GhostPath path, int trailStyle)
    : m_path(std::move(path)), m_trailStyle(trailStyle) {}

int RunReplay::endMs() const {
    return m_path.isEmpty() ? 0 : int(m_path.points().last().ms);
}

void RunReplay::begin(LevelBoard& board) {
    board.clearTrail();
    m_tracker = RunTracker();
    m_next = 0;
    m_timeMs = 0;
    drawUpTo(board, 0);
}

QRect RunReplay::drawUpTo(LevelBoard& board, double ms) {
    QRect changed;
    const QList<GhostPoint>& points = m_path.points();
    for (; m_next < points.size() && points[m_next].ms <= ms; ++m_next) {
        const QPoint client = QPoint(points[m_next].x, points[m_next].y) + board.origin();
        if (m_next == 0)
            m_tracker.press(board, client, 0);
        else
            changed |= m_tracker.move(board, client, true, m_trailStyle).trailChanged;
    }
    m_timeMs = ms;
    m_tracker.tick(ms);
    return changed;
}

QRect RunReplay::seek(LevelBoard& board, double ms) {
    ms = std::clamp(ms, 0.0, double(endMs()));
    if (ms >= m_timeMs)
        return drawUpTo(board, ms);
    begin(board);
    drawUpTo(board, ms);
    return board.clientRect();
}

QRect RunReplay::advance(LevelBoard& board, double elapsedMs) {
    if (m_paused || atEnd())
        return {};
    return seek(board, m_timeMs + elapsedMs * speed());
}

QRect RunReplay::step(LevelBoard& board, int ms) {
    return seek(board, m_timeMs + ms);
}

QRect RunReplay::togglePause(LevelBoard& board) {
    if (atEnd()) {
        m_paused = false;
        begin(board);
        return board.clientRect();
    }
    m_paused = !m_paused;
    return {};
}

bool RunReplay::faster() {
    if (m_speedIndex + 1 >= kSpeeds.size())
        return false;
    ++m_speedIndex;
    return true;
}

bool RunReplay::slower() {
    if (m_speedIndex == 0)
        return false;
    --m_speedIndex;
    return true;
}

} // namespace kf
