#include "support/ModalAnswerer.h"
#include "support/PlayFolder.h"
#include "support/PointerEvents.h"
#include "toolkit/ImageView.h"
#include "window/MainDialog.h"

#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using namespace kf;
using kf::test::ModalAnswerer;
using kf::test::PlayFolder;
using kf::test::smallTestLevel;

// The small test level at client (11, 10): start x 11..20, finish x 101..110.
constexpr QPoint kReplayStart(15, 50);
constexpr QPoint kReplayFinish(105, 50);

// A run of 2.5 s along board row 40, from the start to the finish.
GhostPath watchedPath() {
    GhostPath path;
    path.append({4, 40}, 0);
    path.append({29, 40}, 500);
    path.append({59, 40}, 1500);
    path.append({94, 40}, 2500);
    return path;
}

class ReplayTest : public ::testing::Test {
public:
    void SetUp() override {
        folder.writeBitmap("Level_00_INTRO.bmp", smallTestLevel());
        dialog = std::make_unique<MainDialog>();
        dialog->Create();
        dialog->show();
        dialog->m_bestTimeMs = 1;
        // A finished run leaves its trail and figures on the board.
        answers.clickOk();
        QTest::mousePress(dialog.get(), Qt::LeftButton, {}, kReplayStart);
        QTest::qWait(30);
        test::movePointer(dialog.get(), {60, 50});
        test::movePointer(dialog.get(), kReplayFinish);
        QTest::mouseRelease(dialog.get(), Qt::LeftButton, {}, kReplayFinish);
        boardBefore = dialog->m_bmpLevel.shownImage();
        timeBefore = dialog->m_timeMs;
        distanceBefore = dialog->m_distance;
    }

    void keyOnFocus(Qt::Key key) {
        QWidget* focus = dialog->focusWidget() ? dialog->focusWidget() : dialog.get();
        QTest::keyClick(focus, key);
    }
    void expectBoardAsBefore() {
        EXPECT_FALSE(dialog->replaying());
        EXPECT_EQ(dialog->m_bmpLevel.shownImage(), boardBefore);
        EXPECT_EQ(dialog->m_timeMs, timeBefore);
        EXPECT_EQ(dialog->m_distance, distanceBefore);
        EXPECT_TRUE(dialog->m_ctlBoard->markers().isEmpty());
        EXPECT_FALSE(dialog->m_run.running());
    }

    PlayFolder folder;
    ModalAnswerer answers;
    std::unique_ptr<MainDialog> dialog;
    QImage boardBefore;
    int timeBefore = 0;
    long distanceBefore = 0;
};

// The replay counts the time, moves the marker and takes its keys even with a button focused;
// a press on the start or Escape ends it without starting a run, and the board is as it was.
TEST_F(ReplayTest, KeysSteerItAndAPressOrEscapeEndsItWithoutARun) {
    ASSERT_GT(timeBefore, 0);
    dialog->m_btnLoadLevel->setFocus();
    dialog->watchPath(watchedPath());
    ASSERT_TRUE(dialog->replaying());
    EXPECT_NE(dialog->m_bmpLevel.shownImage(), boardBefore);
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->m_timeMs > 100; }));
    EXPECT_EQ(dialog->m_ctlBoard->markers().size(), 1);

    keyOnFocus(Qt::Key_Space);
    EXPECT_TRUE(dialog->m_replay->paused());
    const int paused = dialog->m_timeMs;
    QTest::qWait(60);
    EXPECT_EQ(dialog->m_timeMs, paused);
    keyOnFocus(Qt::Key_Right);
    EXPECT_EQ(dialog->m_timeMs, paused + RunReplay::kStepMs);
    keyOnFocus(Qt::Key_Plus);
    EXPECT_EQ(dialog->m_replay->speed(), 2.0);
    keyOnFocus(Qt::Key_Minus);
    keyOnFocus(Qt::Key_Minus);
    EXPECT_EQ(dialog->m_replay->speed(), 0.5);

    QTest::mousePress(dialog.get(), Qt::LeftButton, {}, kReplayStart);
    expectBoardAsBefore();
    EXPECT_EQ(dialog->m_bestTimeMs, 1);

    // Escape ends a replay too, and the window stays open.
    dialog->watchPath(watchedPath());
    keyOnFocus(Qt::Key_Escape);
    expectBoardAsBefore();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(answers.unexpected(), 0);
}

} // namespace
