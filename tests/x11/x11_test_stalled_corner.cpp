#include "support/ModalAnswerer.h"
#include "support/PaintedLevel.h"
#include "support/PlayFolder.h"
#include "support/XTestPointer.h"
#include "window/MainDialog.h"

#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

// A run round a corner on a real X server: one-pixel movements at a thousand a second through
// XTest, as a gaming mouse sends them, while the window's thread is held up for a moment near
// the corner, as on a loaded machine. Every movement that queues up meanwhile must reach the
// run, so that its wall test goes round the corner with the pointer instead of cutting it.

namespace {

using namespace kf;
using kf::test::Fill;
using kf::test::ModalAnswerer;
using kf::test::PlayFolder;

// An L of track, 40 pixels wide, in a board of wall: right along the top, then down to the
// finish. Board pixels; the board lies at client (11, 10).
constexpr QPoint kBoardOrigin(11, 10);
constexpr QPoint kPress(35, 60);
constexpr QPoint kCorner(280, 60);
constexpr QPoint kRelease(280, 345);
// The window's thread stops this many pixels before the corner, for as long as the pointer
// takes to reach the corner and go as far again beyond it: the chord between the two points
// it is seen at cuts through the wall inside the bend.
constexpr int kStallBeforeCorner = 70;
constexpr std::chrono::milliseconds kStall(140);
constexpr int kRuns = 4;
// A thousand movements a second.
constexpr int kStepUs = 1000;

QImage cornerLevel() {
    using namespace kf::test;
    return paintedLevel({400, 400},
                        {Fill{{0, 0, 400, 400}, kWallPixel}, Fill{{20, 40, 280, 40}, kFree},
                         Fill{{260, 40, 40, 320}, kFree}, Fill{{20, 40, 30, 40}, kStartPixel},
                         Fill{{260, 330, 40, 30}, kFinishPixel}});
}

// The pointer's way in board pixels, one pixel a step: the press point, along the top, round
// the corner and down to the release point.
std::vector<QPoint> cornerWay() {
    std::vector<QPoint> way;
    for (int x = kPress.x(); x < kCorner.x(); ++x)
        way.emplace_back(x, kPress.y());
    for (int y = kCorner.y(); y <= kRelease.y(); ++y)
        way.emplace_back(kCorner.x(), y);
    return way;
}

// Holds the window's thread once, at the first movement with the button held that comes
// within kStallBeforeCorner pixels of the corner.
class CornerStall : public QObject {
public:
    void arm() { m_armed = true; }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (m_armed && event->type() == QEvent::MouseMove) {
            const auto* move = static_cast<QMouseEvent*>(event);
            const int cornerX = kBoardOrigin.x() + kCorner.x();
            if ((move->buttons() & Qt::LeftButton) &&
                move->position().x() >= cornerX - kStallBeforeCorner) {
                m_armed = false;
                std::this_thread::sleep_for(kStall);
            }
        }
        return false;
    }

private:
    bool m_armed = false;
};

// The longest step between two points the run took, in pixels along either axis.
int longestStep(const GhostPath& path) {
    int longest = 0;
    const QList<GhostPoint>& points = path.points();
    for (qsizetype i = 1; i < points.size(); ++i) {
        longest = std::max({longest, std::abs(points[i].x - points[i - 1].x),
                            std::abs(points[i].y - points[i - 1].y)});
    }
    return longest;
}

TEST(X11PointerTest, ARunThatStallsAtTheCornerFollowsThePointerRoundIt) {
    PlayFolder folder;
    folder.writeBitmap("Level_00_INTRO.bmp", cornerLevel());
    // A record no run beats, so each finish shows its notice and no name is asked for.
    folder.writeBytes("Level_00_INTRO.bmp.kfh", "Ann\r\n1");
    ModalAnswerer answers;
    MainDialog dialog;
    dialog.Create();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    CornerStall stall;
    dialog.installEventFilter(&stall);
    test::XTestPointer hand;
    ASSERT_TRUE(hand.ready()) << "no second connection to the X server, or no XTest there";

    std::vector<QPoint> screenWay;
    for (QPoint p : cornerWay())
        screenWay.push_back(dialog.mapToGlobal(kBoardOrigin + p));
    for (int run = 1; run <= kRuns; ++run) {
        answers.clickOk();
        stall.arm();
        std::atomic<bool> done = false;
        std::thread player([&] {
            hand.drag(screenWay, kStepUs);
            done = true;
        });
        const bool ended =
            QTest::qWaitFor([&] { return done && answers.texts().size() == run; }, 10000);
        player.join();
        ASSERT_TRUE(ended) << "run " << run << " never showed its notice";
        EXPECT_TRUE(answers.texts().last().startsWith("YOU FINISHED"))
            << "run " << run << ": " << answers.texts().last().toStdString();
        EXPECT_EQ(longestStep(dialog.m_runPath), 1) << "run " << run;
    }
    EXPECT_EQ(answers.unexpected(), 0);
}

} // namespace
