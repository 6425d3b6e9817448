#include "history/HistoryWriter.h"
#include "level/GhostColors.h"
#include "support/ModalAnswerer.h"
#include "support/PaintSpy.h"
#include "support/PixelCount.h"
#include "support/PlayFolder.h"
#include "support/PointerEvents.h"
#include "toolkit/FileDialog.h"
#include "toolkit/ImageView.h"
#include "window/GhostSetting.h"
#include "window/MainDialog.h"

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace kf;
using kf::test::countPixels;
using kf::test::ModalAnswerer;
using kf::test::PaintSpy;
using kf::test::PlayFolder;
using kf::test::smallTestLevel;

// The small test level at client (11, 10): start x 11..20, finish x 101..110, a wall at client
// x = 61 over the rows y = 10..39.
constexpr QPoint kGhostRunStart(15, 50);
constexpr QPoint kGhostRunFinish(105, 50);
constexpr QPoint kBoardAtClient(11, 10);

// The ring's pixels: strongly blue, which no level colour and no trail is.
bool isMarkerBlue(QRgb p) {
    return qBlue(p) > 150 && qRed(p) < 120 && qBlue(p) > qGreen(p) + 50;
}

class GhostTest : public ::testing::Test {
public:
    void SetUp() override {
        setGhostSetting(true);
        folder.writeBitmap("Level_00_INTRO.bmp", smallTestLevel());
        dialog = std::make_unique<MainDialog>();
        dialog->Create();
        dialog->useHistory(std::make_unique<HistoryWriter>(folder.file("history.sqlite")));
        // No record file is written: each finished run shows the notice only.
        dialog->m_bestTimeMs = 1;
    }
    void TearDown() override { setGhostSetting(false); }

    void press(QPoint p) { QTest::mousePress(dialog.get(), Qt::LeftButton, {}, p); }
    void release(QPoint p) { QTest::mouseRelease(dialog.get(), Qt::LeftButton, {}, p); }
    void move(QPoint p, bool buttonHeld = true) { test::movePointer(dialog.get(), p, buttonHeld); }
    // A finished run along y = 50 that takes its time, so that its ghost is still on the way
    // early in the next run; it becomes the track's ghost.
    void makeBestRun() {
        answers.clickOk();
        press(kGhostRunStart);
        QTest::qWait(150);
        move({60, 50});
        QTest::qWait(150);
        move(kGhostRunFinish);
        release(kGhostRunFinish);
        // The history's thread writes the run, then the ghost is read back.
        ASSERT_TRUE(QTest::qWaitFor([this] { return dialog->m_ghosts.own.has_value(); }));
    }
    void loadTrack(const QString& path) {
        setFileOpenChooser([&](QWidget*, const FileOpenRequest&) { return path; });
        dialog->OnLoadLevel();
        setFileOpenChooser(nullptr);
    }
    // The ring of the player's own best, the last on the board.
    std::optional<QPointF> marker() const {
        const QList<BoardMarker>& markers = dialog->m_ctlBoard->markers();
        if (markers.isEmpty())
            return std::nullopt;
        return markers.last().centre;
    }
    // Chooses the entry of the board's context menu's "Ghosts" submenu that reads `text`, and
    // says whether it was checked.
    bool chooseGhostInMenu(const QString& text = "Show ghosts") {
        bool wasChecked = false;
        QTimer::singleShot(50, [&] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                for (QAction* sub : menu->actions()) {
                    if (!sub->menu() || sub->text() != "Ghosts")
                        continue;
                    for (QAction* a : sub->menu()->actions()) {
                        if (a->text() == text) {
                            wasChecked = a->isChecked();
                            a->trigger();
                        }
                    }
                }
                menu->close();
            }
        });
        const QPoint at(50, 50);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, dialog->mapToGlobal(at));
        QApplication::sendEvent(dialog.get(), &event);
        QTest::qWait(80);
        return wasChecked;
    }

    PlayFolder folder;
    ModalAnswerer answers;
    std::unique_ptr<MainDialog> dialog;
};

// The marker is where the best run was at the same time since the press, drawn by the board
// view alone: a run straight through it reads only the level and finishes as ever.
TEST_F(GhostTest, ARunStraightThroughTheMarkerFinishes) {
    makeBestRun();
    const GhostPath ghost = *dialog->m_ghosts.own;
    EXPECT_EQ(ghost.points().first(), (GhostPoint{4, 40, 0}));
    EXPECT_EQ(ghost.points().last(), (GhostPoint{94, 40, quint32(dialog->m_timeMs)}));

    answers.clickOk();
    press(kGhostRunStart);
    EXPECT_TRUE(dialog->m_ghostTimer.isActive());
    EXPECT_LE(dialog->m_ghostTimer.interval(), 20);
    QTest::qWait(100);
    PaintSpy spy(dialog->m_ctlBoard);
    QTest::qWait(40);
    // Only the ring's old and new places are repainted, never the whole board.
    EXPECT_FALSE(spy.painted.isEmpty());
    EXPECT_LE(spy.painted.boundingRect().height(), 20);
    ASSERT_TRUE(marker().has_value());
    const QPointF at = *marker();
    EXPECT_NEAR(at.y(), 40, 1e-9);
    EXPECT_GT(at.x(), 4);
    EXPECT_LT(at.x(), 94);

    const QPoint through = at.toPoint() + kBoardAtClient;
    move(through);
    EXPECT_TRUE(dialog->m_run.running());
    EXPECT_GT(countPixels(dialog->m_ctlBoard->grab().toImage(), isMarkerBlue), 0);
    EXPECT_EQ(countPixels(dialog->m_bmpLevel.shownImage(), isMarkerBlue), 0);
    move(kGhostRunFinish);
    release(kGhostRunFinish);
    EXPECT_FALSE(dialog->m_run.running());
    EXPECT_EQ(answers.texts().last(),
              QString("YOU FINISHED -> Time : %1 ms").arg(dialog->m_timeMs));
    EXPECT_FALSE(marker().has_value());
    EXPECT_FALSE(dialog->m_ghostTimer.isActive());
    EXPECT_EQ(answers.unexpected(), 0);
}

// The marker shows during a single player's run on a track with a ghost, with the ghost on,
// and goes when the run ends.
TEST_F(GhostTest, TheMarkerShowsOnlyInASinglePlayersRunOnATrackWithAGhost) {
    makeBestRun();
    const struct {
        const char* name;
        std::function<void(GhostTest&)> prepare;
        bool shown;
    } cases[] = {
        {"single player", [](GhostTest&) {}, true},
        {"ghost off", [](GhostTest& t) { t.dialog->setGhostOn(false); }, false},
        {"another track",
         [](GhostTest& t) {
             t.loadTrack(t.folder.writeBitmap("other.bmp", smallTestLevel(100, 70)));
         },
         false},
        {"a match", // the last case: the next player's run is not this test's
         [](GhostTest& t) {
             t.loadTrack(t.folder.file("Level_00_INTRO.bmp"));
             ASSERT_TRUE(QTest::qWaitFor([&t] { return t.dialog->m_ghosts.own.has_value(); }));
             Match& match = t.dialog->m_multiplayer.m_match;
             match.startMatch(2, 1);
             match.seatPlayers({"Cleo", "Dan"});
             t.answers.clickOk(); // the run's result, before the next player's turn
         },
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.prepare(*this);
        answers.clickOk();
        press(kGhostRunStart);
        QTest::qWait(30);
        EXPECT_EQ(marker().has_value(), c.shown);
        move({40, 50}, false); // the button let go: the run is over
        EXPECT_FALSE(dialog->m_run.running());
        EXPECT_FALSE(marker().has_value());
        EXPECT_FALSE(dialog->m_ghostTimer.isActive());
        dialog->setGhostOn(true);
    }
    EXPECT_EQ(answers.unexpected(), 0);
}

TEST_F(GhostTest, KeyGAndTheBoardsMenuSwitchItAndTheChoiceIsKept) {
    const QString file =
        qEnvironmentVariable("XDG_CONFIG_HOME") + "/kurvenflitzerl/kurvenflitzerl.conf";
    const auto kept = [&] { return QSettings(file, QSettings::IniFormat).value("ghost"); };
    QSettings(file, QSettings::IniFormat).remove("ghost");
    EXPECT_TRUE(MainDialog().m_ghostOn); // on when the player never chose

    makeBestRun();
    press(kGhostRunStart);
    ASSERT_TRUE(marker().has_value());
    QTest::keyClick(dialog.get(), Qt::Key_G); // during a run too
    EXPECT_FALSE(dialog->m_ghostOn);
    EXPECT_FALSE(marker().has_value());
    EXPECT_EQ(kept(), false);
    EXPECT_FALSE(MainDialog().m_ghostOn);
    QTest::keyClick(dialog.get(), Qt::Key_G, Qt::ControlModifier);
    EXPECT_FALSE(dialog->m_ghostOn);
    QTest::keyClick(dialog.get(), Qt::Key_G);
    EXPECT_TRUE(dialog->m_ghostOn);
    EXPECT_TRUE(marker().has_value());
    EXPECT_EQ(kept(), true);
    answers.clickOk();
    move({40, 50}, false);

    // The menu's entry shows the choice and switches it.
    EXPECT_TRUE(chooseGhostInMenu());
    EXPECT_FALSE(dialog->m_ghostOn);
    EXPECT_EQ(kept(), false);
    EXPECT_FALSE(chooseGhostInMenu());
    EXPECT_TRUE(dialog->m_ghostOn);
    EXPECT_EQ(kept(), true);
    EXPECT_EQ(answers.unexpected(), 0);
}

} // namespace

namespace {

// A straight path along board row `y` from x = 4 to x = 94 in `ms` milliseconds.
GhostPath straightPath(int y, int ms) {
    GhostPath path;
    path.append({4, y}, 0);
    path.append({94, y}, ms);
    return path;
}

// Every ghost of the track moves during a single player's run, each ring in its colour with
// its player's name; the menu switches one of them for the session and forgets one for good;
// a match shows none.
TEST_F(GhostTest, EveryGhostOfTheTrackMovesInItsColourWithItsName) {
    makeBestRun();
    const QDateTime finished = QDateTime::currentDateTimeUtc();
    dialog->m_history->keepSharedGhosts(dialog->m_levelSha256,
                                        {{0, "Ann", 2000, finished, straightPath(45, 2000)},
                                         {0, "Bob", 3000, finished, straightPath(50, 3000)}});
    ASSERT_TRUE(QTest::qWaitFor([this] { return dialog->m_ghosts.shared.size() == 2; }));
    const auto run = [this](const std::function<void()>& during) {
        answers.clickOk();
        press(kGhostRunStart);
        QTest::qWait(40);
        during();
        move({40, 50}, false);
        EXPECT_TRUE(dialog->m_ctlBoard->markers().isEmpty());
    };
    const auto looks = [this] {
        QList<std::pair<QRgb, QString>> rings;
        for (const BoardMarker& m : dialog->m_ctlBoard->markers())
            rings.append({m.color, m.label});
        return rings;
    };
    run([&] {
        EXPECT_EQ(looks(), (QList<std::pair<QRgb, QString>>{{sharedGhostColor(0), "Ann"},
                                                            {sharedGhostColor(1), "Bob"},
                                                            {kOwnGhostColor, ""}}));
        const QList<BoardMarker> before = dialog->m_ctlBoard->markers();
        QTest::qWait(60);
        const QList<BoardMarker> after = dialog->m_ctlBoard->markers();
        ASSERT_EQ(after.size(), 3);
        for (int i = 0; i < 3; ++i) {
            EXPECT_GT(after[i].centre.x(), before[i].centre.x()) << i;
            EXPECT_EQ(after[i].centre.y(), before[i].centre.y()) << i;
        }
        EXPECT_EQ(after[0].centre.y(), 45);
    });

    EXPECT_TRUE(chooseGhostInMenu("Ann, 2000 ms"));
    run([&] {
        EXPECT_EQ(looks(), (QList<std::pair<QRgb, QString>>{{sharedGhostColor(1), "Bob"},
                                                            {kOwnGhostColor, ""}}));
    });
    EXPECT_FALSE(chooseGhostInMenu("Ann, 2000 ms"));

    chooseGhostInMenu("Forget Bob's ghost");
    ASSERT_TRUE(QTest::qWaitFor([this] { return dialog->m_ghosts.shared.size() == 1; }));
    EXPECT_EQ(dialog->m_ghosts.shared[0].player, "Ann");
    run([&] {
        EXPECT_EQ(looks(), (QList<std::pair<QRgb, QString>>{{sharedGhostColor(0), "Ann"},
                                                            {kOwnGhostColor, ""}}));
    });

    Match& match = dialog->m_multiplayer.m_match;
    match.startMatch(2, 1);
    match.seatPlayers({"Cleo", "Dan"});
    answers.clickOk(); // the run's result, before the next player's turn
    run([&] { EXPECT_TRUE(looks().isEmpty()); });
    EXPECT_EQ(answers.unexpected(), 0);
}

} // namespace
