#include "run/RunTracker.h"

#include "support/QtPrinters.h"
#include <QPainter>

#include <gtest/gtest.h>

namespace {

using namespace kf;

// A 100 x 60 track at client (11, 10): start at client x 11..20, finish at x 101..110, and a
// one-pixel wall at client x 61 over the rows y 10..39.
LevelBoard testBoard() {
    QImage level(100, 60, QImage::Format_RGB32);
    level.fill(Qt::white);
    QPainter p(&level);
    p.fillRect(0, 0, 10, 60, QColor(0, 255, 0));
    p.fillRect(90, 0, 10, 60, QColor(255, 0, 0));
    p.fillRect(50, 0, 1, 30, Qt::black);
    p.end();
    LevelBoard board({11, 10});
    board.setPicture(level);
    return board;
}

constexpr QPoint kOnStart(15, 50);
constexpr QPoint kOnFinish(105, 50);
constexpr QPoint kFree(40, 50);

enum class Event { Press, MoveHeld, MoveNotHeld, Release };

// One row of the run's state table: from idle or running, one event at a point.
struct Transition {
    const char* name;
    bool runningBefore;
    Event event;
    QPoint point;
    RunOutcome outcome;
    bool runningAfter;
};

void PrintTo(const Transition& t, std::ostream* os) {
    *os << t.name;
}

class RunStateTable : public ::testing::TestWithParam<Transition> {};

TEST_P(RunStateTable, OutcomeAndNextState) {
    const Transition& t = GetParam();
    LevelBoard board = testBoard();
    RunTracker run;
    if (t.runningBefore) {
        ASSERT_EQ(run.press(board, kOnStart, 10.0), RunOutcome::Started);
        ASSERT_EQ(run.move(board, kFree, true, kTrailDots).outcome, RunOutcome::Moved);
    }
    RunOutcome outcome = RunOutcome::Ignored;
    switch (t.event) {
    case Event::Press:
        outcome = run.press(board, t.point, 20.0);
        break;
    case Event::MoveHeld:
        outcome = run.move(board, t.point, true, kTrailDots).outcome;
        break;
    case Event::MoveNotHeld:
        outcome = run.move(board, t.point, false, kTrailDots).outcome;
        break;
    case Event::Release:
        outcome = run.release(board, t.point, 20.0);
        break;
    }
    EXPECT_EQ(outcome, t.outcome);
    EXPECT_EQ(run.running(), t.runningAfter);
}

INSTANTIATE_TEST_SUITE_P(
    EveryRow, RunStateTable,
    ::testing::Values(
        Transition{"idle_press_on_start", false, Event::Press, kOnStart, RunOutcome::Started, true},
        Transition{
            "idle_press_beside_start", false, Event::Press, {21, 50}, RunOutcome::Ignored, false},
        Transition{
            "idle_press_outside_picture", false, Event::Press, {5, 5}, RunOutcome::Ignored, false},
        Transition{"idle_move", false, Event::MoveHeld, kFree, RunOutcome::Ignored, false},
        Transition{"idle_move_without_button", false, Event::MoveNotHeld, kFree,
                   RunOutcome::Ignored, false},
        Transition{"idle_release_on_finish", false, Event::Release, kOnFinish, RunOutcome::Ignored,
                   false},
        Transition{"running_move_free", true, Event::MoveHeld, {80, 50}, RunOutcome::Moved, true},
        Transition{"running_move_onto_finish", true, Event::MoveHeld, kOnFinish, RunOutcome::Moved,
                   true},
        Transition{"running_move_outside_picture",
                   true,
                   Event::MoveHeld,
                   {40, 200},
                   RunOutcome::Moved,
                   true},
        Transition{"running_move_across_wall",
                   true,
                   Event::MoveHeld,
                   {80, 20},
                   RunOutcome::WallCrash,
                   false},
        Transition{"running_move_without_button", true, Event::MoveNotHeld, kFree,
                   RunOutcome::ButtonRelease, false},
        Transition{"running_release_on_finish", true, Event::Release, kOnFinish,
                   RunOutcome::Finished, false},
        Transition{
            "running_release_elsewhere", true, Event::Release, {80, 50}, RunOutcome::Ignored, true},
        Transition{
            "running_press_on_start", true, Event::Press, {12, 45}, RunOutcome::Started, true},
        Transition{
            "running_press_elsewhere", true, Event::Press, {80, 50}, RunOutcome::Ignored, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RunTracker, APressOnTheStartResetsTimeAndDistanceButKeepsTheSpeed) {
    LevelBoard board = testBoard();
    RunTracker run;
    run.figures() = {77, 88, 99};
    EXPECT_EQ(run.press(board, {21, 50}, 5.0), RunOutcome::Ignored);
    EXPECT_EQ(run.figures().timeMs, 77);
    EXPECT_EQ(run.figures().distance, 88);

    run.press(board, kOnStart, 5.0);
    EXPECT_EQ(run.figures().timeMs, 0);
    EXPECT_EQ(run.figures().distance, 0);
    EXPECT_EQ(run.figures().speed, 99);
    EXPECT_EQ(run.last(), kOnStart);
    EXPECT_EQ(run.previous(), kOnStart);
}

TEST(RunTracker, AWallCrashTakesTheWholeMovementFirst) {
    LevelBoard board = testBoard();
    RunTracker run;
    run.press(board, {15, 20}, 0.0);
    run.move(board, {40, 20}, true, kTrailDots);
    const RunTracker::Step step = run.move(board, {80, 20}, true, kTrailDots);
    EXPECT_EQ(step.outcome, RunOutcome::WallCrash);
    // Distance, trail and points advance on the movement that crashes.
    EXPECT_EQ(run.figures().distance, 25 + 40);
    EXPECT_EQ(board.colorAt({40, 20}), kTrail);
    EXPECT_EQ(step.trailChanged, QRect(40, 20, 1, 1));
    EXPECT_EQ(run.last(), QPoint(80, 20));
    // Later movements belong to no run.
    EXPECT_EQ(run.move(board, {90, 20}, true, kTrailDots).outcome, RunOutcome::Ignored);
    EXPECT_EQ(run.figures().distance, 65);
}

TEST(RunTracker, AButtonReleaseFailureKeepsFiguresAndPoints) {
    LevelBoard board = testBoard();
    RunTracker run;
    run.press(board, kOnStart, 0.0);
    run.move(board, kFree, true, kTrailDots);
    EXPECT_EQ(run.move(board, {90, 50}, false, kTrailDots).outcome, RunOutcome::ButtonRelease);
    EXPECT_EQ(run.figures().distance, 25);
    EXPECT_EQ(run.last(), kFree);
}

// The time is the difference of two readings cut to whole milliseconds; the speed is the
// distance per second, kept from before when the time is 0.
struct Timing {
    double pressMs;
    double releaseMs;
    int timeMs;
    long speed;
};

class RunTiming : public ::testing::TestWithParam<Timing> {};

TEST_P(RunTiming, FinishSetsTimeAndSpeed) {
    const Timing& t = GetParam();
    LevelBoard board = testBoard();
    RunTracker run;
    run.figures().speed = 42;
    run.press(board, kOnStart, t.pressMs);
    run.move(board, kOnFinish, true, kTrailDots); // 90 pixels
    EXPECT_EQ(run.release(board, kOnFinish, t.releaseMs), RunOutcome::Finished);
    EXPECT_EQ(run.figures().timeMs, t.timeMs);
    EXPECT_EQ(run.figures().speed, t.speed);
    // A second release on the finish finds no run.
    EXPECT_EQ(run.release(board, kOnFinish, t.releaseMs + 100), RunOutcome::Ignored);
    EXPECT_EQ(run.figures().timeMs, t.timeMs);
}

INSTANTIATE_TEST_SUITE_P(Readings, RunTiming,
                         ::testing::Values(Timing{1000.9, 1900.2, 900, 100},
                                           Timing{1000.2, 1000.9, 0, 42},
                                           Timing{0.5, 30000.0, 30000, 3},
                                           Timing{5.0, 4.0e12, 2147483647, 0}));

TEST(RunTracker, TheTickTimesOnlyARunInProgress) {
    LevelBoard board = testBoard();
    RunTracker run;
    run.tick(500.0);
    EXPECT_EQ(run.figures().timeMs, 0);

    run.press(board, kOnStart, 100.0);
    run.move(board, {105, 50}, true, kTrailDots);
    run.tick(1000.0);
    EXPECT_EQ(run.figures().timeMs, 900);
    EXPECT_EQ(run.figures().speed, 100);

    run.move(board, {106, 50}, false, kTrailDots);
    run.tick(2000.0);
    EXPECT_EQ(run.figures().timeMs, 900);
}

TEST(RunTracker, TheTrailFollowsTheChosenStyle) {
    for (int style : {kTrailDots, kTrailLine, -1}) {
        LevelBoard board = testBoard();
        RunTracker run;
        run.press(board, {18, 50}, 0.0);
        run.move(board, {30, 50}, true, style); // the mark would end on the start
        EXPECT_EQ(board.colorAt({25, 50}), kWhite) << style;
        run.move(board, {40, 50}, true, style);
        run.move(board, {50, 50}, true, style);
        EXPECT_EQ(board.colorAt({40, 50}), style == kTrailDots ? kTrail : kWhite) << style;
        EXPECT_EQ(board.colorAt({35, 50}), style == kTrailLine ? kTrail : kWhite) << style;
    }
}

} // namespace
