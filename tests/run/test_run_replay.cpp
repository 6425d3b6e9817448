#include "run/RunReplay.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace kf;

// A 100 x 60 track at client (11, 10): start at board x 0..9, finish at x 90..99.
LevelBoard testBoard() {
    QImage level(100, 60, QImage::Format_RGB32);
    level.fill(Qt::white);
    QPainter p(&level);
    p.fillRect(0, 0, 10, 60, QColor(0, 255, 0));
    p.fillRect(90, 0, 10, 60, QColor(255, 0, 0));
    p.end();
    LevelBoard board({11, 10});
    board.setPicture(level);
    return board;
}

// Pressed at board (4, 40), on by 25, 30 and 35 pixels, finished after 2.5 s.
GhostPath testPath() {
    GhostPath path;
    path.append({4, 40}, 0);
    path.append({29, 40}, 500);
    path.append({59, 40}, 1500);
    path.append({94, 40}, 2500);
    return path;
}

enum class Act { Advance, Step, Pause, Faster, Slower };

struct Action {
    Act act;
    int ms = 0;
};

struct Script {
    const char* name;
    std::vector<Action> actions;
    double timeMs;
    long distance;
    bool paused;
};

void PrintTo(const Script& s, std::ostream* os) {
    *os << s.name;
}

class ReplayClock : public ::testing::TestWithParam<Script> {};

TEST_P(ReplayClock, TimeAndFiguresFollowTheControls) {
    const Script& s = GetParam();
    LevelBoard board = testBoard();
    RunReplay replay(testPath(), kTrailDots);
    replay.begin(board);
    for (const Action& a : s.actions) {
        switch (a.act) {
        case Act::Advance:
            replay.advance(board, a.ms);
            break;
        case Act::Step:
            replay.step(board, a.ms);
            break;
        case Act::Pause:
            replay.togglePause(board);
            break;
        case Act::Faster:
            replay.faster();
            break;
        case Act::Slower:
            replay.slower();
            break;
        }
    }
    EXPECT_DOUBLE_EQ(replay.timeMs(), s.timeMs);
    EXPECT_EQ(replay.figures().timeMs, int(s.timeMs));
    EXPECT_EQ(replay.figures().distance, s.distance);
    EXPECT_EQ(replay.paused(), s.paused);
}

INSTANTIATE_TEST_SUITE_P(
    Controls, ReplayClock,
    ::testing::Values(
        Script{"plays_at_its_own_pace", {{Act::Advance, 1000}}, 1000, 25, false},
        Script{"stops_at_the_runs_end", {{Act::Advance, 9000}}, 2500, 90, false},
        Script{"pause_holds_the_clock", {{Act::Pause}, {Act::Advance, 1000}}, 0, 0, true},
        Script{"faster_is_twice", {{Act::Faster}, {Act::Advance, 750}}, 1500, 55, false},
        Script{"slowest_is_a_quarter",
               {{Act::Slower}, {Act::Slower}, {Act::Slower}, {Act::Advance, 1000}},
               250,
               0,
               false},
        Script{"fastest_is_four_times",
               {{Act::Faster}, {Act::Faster}, {Act::Faster}, {Act::Advance, 500}},
               2000,
               55,
               false},
        Script{"a_step_back_counts_nothing_twice",
               {{Act::Advance, 2000}, {Act::Step, -RunReplay::kStepMs}},
               1000,
               25,
               false},
        Script{"a_step_back_stops_at_the_press",
               {{Act::Advance, 500}, {Act::Step, -RunReplay::kStepMs}},
               0,
               0,
               false},
        Script{
            "a_step_on_stops_at_the_end", {{Act::Step, 3 * RunReplay::kStepMs}}, 2500, 90, false},
        Script{
            "resuming_at_the_end_starts_again", {{Act::Advance, 9000}, {Act::Pause}}, 0, 0, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RunReplay, DrawsTheTrailAsTheRunDrewItAfterAStepBack) {
    LevelBoard run = testBoard();
    RunTracker tracker;
    const GhostPath path = testPath();
    const QList<GhostPoint>& points = path.points();
    tracker.press(run, QPoint(points[0].x, points[0].y) + run.origin(), 0);
    tracker.move(run, QPoint(points[1].x, points[1].y) + run.origin(), true, kTrailLine);
    tracker.move(run, QPoint(points[2].x, points[2].y) + run.origin(), true, kTrailLine);

    LevelBoard board = testBoard();
    RunReplay replay(testPath(), kTrailLine);
    replay.begin(board);
    replay.advance(board, 2600);
    const QRect changed = replay.step(board, -900);
    EXPECT_EQ(changed, board.clientRect());
    EXPECT_EQ(board.shownImage(), run.shownImage());
    EXPECT_EQ(replay.pointer(), QPointF(62.5, 40));
}

} // namespace
