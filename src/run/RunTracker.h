#pragma once

#include "level/LevelBoard.h"

#include <QPoint>
#include <QRect>
#include <QtGlobal>

namespace kf {

// What one pointer event did to the run.
enum class RunOutcome {
    Ignored,       // nothing changed: no run, a press off the start, a release off the finish
    Started,       // a press on the start began a run, or began it afresh
    Moved,         // a movement with the button held that touched no wall
    WallCrash,     // a movement whose path touched a wall: the run is over
    ButtonRelease, // a movement without the button held: the run is over
    Finished,      // a release on the finish: the run is over and timed
};

// The figures of the current or last run, as the main window shows them. They stay after a run
// ends, until the next press on the start.
struct RunFigures {
    int timeMs = 0;    // whole milliseconds from the press
    long distance = 0; // pixels, each movement adding the whole part of its length
    long speed = 0;    // average speed; kept when a run takes no measurable time
};

// Trail styles: a dot per movement, or a line one movement behind the pointer. Any other value
// draws no trail.
inline constexpr int kTrailDots = 0;
inline constexpr int kTrailLine = 1;

// The rules of a run, without any window: the press on the start, the movements with their wall
// test, distance and trail, and the three ways a run ends. Every colour is read from the board
// as it is shown, trail included, and the trail is drawn onto the board. Times come in as
// readings of the game's clock in milliseconds, so the rules never look at a clock themselves.
class RunTracker {
public:
    // A movement's outcome and the client rectangle its trail mark changed (may be empty).
    struct Step {
        RunOutcome outcome = RunOutcome::Ignored;
        QRect trailChanged;
    };

    // The left button went down at a client point. Only exact start green starts a run; a
    // press there during a run starts it afresh without any failure.
    RunOutcome press(const LevelBoard& board, QPoint point, double nowMs);

    // The pointer moved to a client point. Without a run nothing happens. With a run, a
    // movement without the button ends it as a button release; otherwise the distance grows,
    // the straight path from the last point is tested for walls, and the trail is drawn behind
    // the pointer. A wall ends the run only after the whole movement has been taken.
    Step move(LevelBoard& board, QPoint point, bool buttonHeld, int trailStyle);

    // The left button went up at a client point: on exact finish red during a run, the run is
    // finished and timed. Anywhere else the run goes on.
    RunOutcome release(const LevelBoard& board, QPoint point, double nowMs);

    // The periodic refresh: the time and speed of a run in progress.
    void tick(double nowMs);

    bool running() const { return m_running; }
    // The last point the run accepted (the press point at first) and the one before it.
    QPoint last() const { return m_last; }
    QPoint previous() const { return m_previous; }

    // The window shows these, and reads typed values back into them.
    RunFigures& figures() { return m_figures; }
    const RunFigures& figures() const { return m_figures; }

    // Whole milliseconds since the press: both readings cut to whole milliseconds, in 64 bits
    // so a game left open for weeks does not overflow.
    int timeSincePress(double nowMs) const;

private:
    QRect drawTrail(LevelBoard& board, int trailStyle) const;

    bool m_running = false;
    QPoint m_last;
    QPoint m_previous;
    qint64 m_startMs = 0;
    RunFigures m_figures;
};

} // namespace kf
