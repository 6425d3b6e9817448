#pragma once

#include "level/LevelBoard.h"
#include "run/GhostPath.h"
#include "run/RunTracker.h"

#include <QPointF>
#include <QRect>

#include <array>

namespace kf {

// Watching a run again on the board. The run's path goes through the run's own rules up to the
// replay's time, so the trail is drawn as the run drew it and the distance and speed count as
// they did. The replay's clock runs at a chosen speed, pauses, and steps a second back or on.
class RunReplay {
public:
    // The speeds, slowest first; a replay starts at 1×.
    static constexpr std::array<double, 5> kSpeeds{0.25, 0.5, 1.0, 2.0, 4.0};
    static constexpr int kStepMs = 1000;

    RunReplay(GhostPath path, int trailStyle);

    // Shows the run at its press on `board`: the trail cleared, the first point taken.
    void begin(LevelBoard& board);
    // Moves the clock on by `elapsedMs` of real time at the replay's speed, unless paused;
    // stops at the run's end. The client rectangle the trail changed.
    QRect advance(LevelBoard& board, double elapsedMs);
    // Steps by `ms` (negative: back), within the run. Going back draws the trail again from
    // the press, so the whole board may change: the rectangle says what did.
    QRect step(LevelBoard& board, int ms);

    // Pauses or resumes; at the run's end, resuming starts the run again from its press.
    QRect togglePause(LevelBoard& board);
    bool paused() const { return m_paused; }
    // One speed faster or slower; false at the fastest or slowest.
    bool faster();
    bool slower();
    double speed() const { return kSpeeds[m_speedIndex]; }

    double timeMs() const { return m_timeMs; }
    int endMs() const;
    bool atEnd() const { return m_timeMs >= endMs(); }
    // Where the pointer is, in board pixels.
    QPointF pointer() const { return m_path.positionAt(m_timeMs); }
    // The time, distance and speed the run showed at the replay's time.
    const RunFigures& figures() const { return m_tracker.figures(); }

private:
    QRect seek(LevelBoard& board, double ms);
    QRect drawUpTo(LevelBoard& board, double ms);

    GhostPath m_path;
    int m_trailStyle;
    RunTracker m_tracker;
    qsizetype m_next = 0; // the first point not yet taken
    double m_timeMs = 0;
    std::size_t m_speedIndex = 2;
    bool m_paused = false;
};

} // namespace kf
