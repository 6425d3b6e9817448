#include "res/ControlIds.h"
#include "support/FileSizeLimit.h"
#include "support/ModalAnswerer.h"
#include "support/PaintSpy.h"
#include "support/PlayFolder.h"
#include "support/PointerEvents.h"
#include "toolkit/ImageView.h"
#include "window/MainDialog.h"

#include "support/QtPrinters.h"
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QRegion>
#include <QTest>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <optional>

namespace {

using namespace kf;
using kf::test::ModalAnswerer;
using kf::test::PaintSpy;
using kf::test::PlayFolder;
using kf::test::smallTestLevel;

// The small test level sits at client (11, 10): start x 11..20, finish x 101..110, and a
// one-pixel wall at client x = 61 over the rows y = 10..39.
constexpr QPoint kOnStart(15, 50);
constexpr QPoint kOnFinish(105, 50);
constexpr QColor kTrailGrey(100, 100, 100);

class RunTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder.writeBitmap("Level_00_INTRO.bmp", smallTestLevel());
        dialog = std::make_unique<MainDialog>();
        dialog->Create();
    }

    // Presses and releases go through the window system's path, so they must pass through the
    // board to the dialog as a player's would.
    void press(QPoint p) { QTest::mousePress(dialog.get(), Qt::LeftButton, {}, p); }
    void release(QPoint p) { QTest::mouseRelease(dialog.get(), Qt::LeftButton, {}, p); }
    void move(QPoint p, bool buttonHeld = true) { test::movePointer(dialog.get(), p, buttonHeld); }
    QColor onScreen(QPoint client) const {
        return dialog->m_ctlBoard->grab().toImage().pixelColor(client - QPoint(11, 10));
    }
    QString fieldText(int id) const {
        return dialog->item<QLabel>(id) ? dialog->item<QLabel>(id)->text() : QString();
    }

    PlayFolder folder;
    ModalAnswerer answers;
    std::unique_ptr<MainDialog> dialog;
};

TEST_F(RunTest, AFinishedRunShowsItsTimeAndStoresTheRecord) {
    answers.clickOk().typeAndEnter(id::newRecord::Name, "Ann");
    press(kOnStart);
    EXPECT_TRUE(dialog->m_run.running());
    EXPECT_EQ(fieldText(id::main::Go), "GO !");
    move({30, 50});
    move({61, 55}); // under the wall's lower end
    move(kOnFinish);
    QTest::qWait(20);
    release(kOnFinish);

    EXPECT_FALSE(dialog->m_run.running());
    EXPECT_EQ(dialog->m_distance, 15 + 31 + 44);
    const int time = dialog->m_timeMs;
    EXPECT_GE(time, 20);
    ASSERT_EQ(answers.texts().size(), 2);
    EXPECT_EQ(answers.texts()[0], QString("YOU FINISHED -> Time : %1 ms").arg(time));
    EXPECT_TRUE(answers.texts()[1].contains("YOU MADE A NEW RECORD"));
    EXPECT_EQ(dialog->m_bestName, "Ann");
    EXPECT_EQ(dialog->m_bestTimeMs, time);
    EXPECT_EQ(dialog->m_speed, static_cast<long>(90LL * 1000 / time));
    EXPECT_EQ(folder.readBytes("Level_00_INTRO.bmp.kfh"), "Ann\r\n" + QByteArray::number(time));
    EXPECT_EQ(dialog->m_goText, "");
    EXPECT_EQ(answers.unexpected(), 0);
}

TEST_F(RunTest, TheRecordSurvivesARestart) {
    answers.clickOk().typeAndEnter(id::newRecord::Name, "Bea");
    press(kOnStart);
    move({60, 50});
    move(kOnFinish);
    release(kOnFinish);
    const int time = dialog->m_timeMs;
    dialog.reset();

    MainDialog again;
    again.Create();
    EXPECT_EQ(again.m_bestName, "Bea");
    EXPECT_EQ(again.m_bestTimeMs, time > 0 ? time : 99999);
}

TEST_F(RunTest, CrossingAOnePixelWallBetweenTwoFreePointsIsAWallCrash) {
    answers.clickOk();
    press({15, 20});
    move({40, 20});
    move({80, 20}); // both ends free; the wall at x = 61 lies between
    EXPECT_FALSE(dialog->m_run.running());
    ASSERT_EQ(answers.texts().size(), 1);
    EXPECT_EQ(answers.texts()[0], "YOU FAILED (Wallcrash)");
    // The failed run's figures stay on display; GO goes.
    EXPECT_EQ(dialog->m_distance, 25 + 40);
    EXPECT_EQ(dialog->m_goText, "");
    // Further movement after the crash changes nothing.
    move({90, 20});
    EXPECT_EQ(dialog->m_distance, 65);
    EXPECT_EQ(answers.texts().size(), 1);
}

// The pointer is not held by the window: with the button down, movements outside the window
// or over a button or edit field are not the run's, and the first movement back is tested as
// one segment from the last point the run accepted.
struct Excursion {
    const char* name;
    std::vector<QPoint> away; // movements that do not reach the window
    QPoint back;              // the first movement that does
    bool crashes;
};

TEST_F(RunTest, MovementsAwayFromTheWindowAreNotTheRuns) {
    const QPoint edit = dialog->GetDlgItem(id::main::Distance)->geometry().center();
    const QPoint button = dialog->GetDlgItem(id::main::LoadLevel)->geometry().center();
    const Excursion excursions[] = {
        // Round the wall's upper end outside the window, back into the lane beyond it.
        {"round the wall outside", {{40, -30}, {80, -30}}, {80, 20}, true},
        {"out and back into the same lane", {{40, -30}, {-20, 15}}, {45, 20}, false},
        {"over an edit field and a button", {edit, button}, {45, 20}, false},
    };
    for (const Excursion& e : excursions) {
        if (e.crashes)
            answers.clickOk();
        press({15, 20});
        move({40, 20});
        for (QPoint p : e.away)
            move(p);
        EXPECT_EQ(dialog->m_run.last(), QPoint(40, 20)) << e.name;
        EXPECT_EQ(dialog->m_distance, 25) << e.name;
        move(e.back);
        EXPECT_EQ(dialog->m_run.last(), e.back) << e.name;
        EXPECT_EQ(dialog->m_distance, 25 + e.back.x() - 40) << e.name;
        EXPECT_EQ(dialog->m_run.running(), !e.crashes) << e.name;
        const QStringList expected =
            e.crashes ? QStringList{"YOU FAILED (Wallcrash)"} : QStringList{};
        EXPECT_EQ(answers.takeTexts(), expected) << e.name;
    }
}

TEST_F(RunTest, ADisabledButtonLetsTheRunThrough) {
    QWidget* button = dialog->GetDlgItem(id::main::LoadLevel);
    button->setEnabled(false);
    press(kOnStart);
    move(button->geometry().center());
    EXPECT_EQ(dialog->m_run.last(), button->geometry().center());

    // Without the button held, the window system gives movements to the control beneath the
    // pointer; a disabled one lets them through, so the released button fails the run there.
    answers.clickOk();
    release(button->geometry().center());
    QTest::mouseMove(dialog.get(), button->geometry().center() + QPoint(3, 0));
    EXPECT_FALSE(dialog->m_run.running());
    EXPECT_EQ(answers.texts(), QStringList{"YOU FAILED (Button release)"});
}

TEST_F(RunTest, AReleaseOutsideTheWindowIsNotSeenAndTheReturnFailsTheRun) {
    answers.clickOk();
    press(kOnStart);
    move({40, 50});
    move({40, -30});
    release({40, -30});
    EXPECT_TRUE(dialog->m_run.running());
    EXPECT_EQ(dialog->m_goText, "GO !");
    move({45, 50}, false);
    EXPECT_FALSE(dialog->m_run.running());
    EXPECT_EQ(answers.texts(), QStringList{"YOU FAILED (Button release)"});
}

TEST_F(RunTest, ReleasingAwayFromTheFinishFailsAtTheNextMovement) {
    answers.clickOk();
    press(kOnStart);
    move({40, 50});
    release({40, 50});
    EXPECT_TRUE(dialog->m_run.running());
    EXPECT_EQ(dialog->m_goText, "");
    EXPECT_TRUE(answers.texts().isEmpty());
    move({45, 50}, false);
    EXPECT_FALSE(dialog->m_run.running());
    EXPECT_EQ(answers.texts(), QStringList{"YOU FAILED (Button release)"});
}

TEST_F(RunTest, ASecondPressOnTheStartRestartsSilently) {
    press(kOnStart);
    move({40, 50});
    release({12, 45}); // on the start: no finish, the run goes on
    press({12, 45});
    EXPECT_TRUE(dialog->m_run.running());
    EXPECT_EQ(dialog->m_distance, 0);
    EXPECT_EQ(dialog->m_run.last(), QPoint(12, 45));
    EXPECT_TRUE(answers.texts().isEmpty());
}

TEST_F(RunTest, APressBesideTheStartDoesNothing) {
    dialog->m_timeMs = 77;
    press({21, 50}); // one pixel right of the start area
    EXPECT_FALSE(dialog->m_run.running());
    EXPECT_EQ(dialog->m_timeMs, 77);
    EXPECT_EQ(dialog->m_goText, "");
}

TEST_F(RunTest, ReleasingOnTheFinishWithoutARunDoesNothing) {
    dialog->m_timeMs = 77;
    release(kOnFinish);
    move(kOnFinish, false);
    EXPECT_EQ(dialog->m_timeMs, 77);
    EXPECT_TRUE(answers.texts().isEmpty());
}

TEST_F(RunTest, MovingOverTheFinishWithoutReleasingGoesOn) {
    press(kOnStart);
    move(kOnFinish);
    move({90, 50});
    EXPECT_TRUE(dialog->m_run.running());
    EXPECT_TRUE(answers.texts().isEmpty());
}

TEST_F(RunTest, DotsMarkThePreviousPointButNeverTheStart) {
    press(kOnStart);
    move({30, 50});
    EXPECT_EQ(dialog->m_bmpLevel.colorAt(kOnStart), kStart); // previous point was on green
    move({40, 50});
    EXPECT_EQ(dialog->m_bmpLevel.colorAt({30, 50}), kTrail);
    EXPECT_EQ(dialog->m_bmpLevel.colorAt({35, 50}), kWhite);
    EXPECT_EQ(onScreen({30, 50}), kTrailGrey);
}

TEST_F(RunTest, AMovementRepaintsOnlyTheChangedPartOfTheBoard) {
    press(kOnStart);
    move({30, 50});
    QApplication::processEvents();
    PaintSpy spy(dialog->m_ctlBoard);
    move({70, 52});
    QApplication::processEvents();
    EXPECT_EQ(spy.painted, QRegion(QRect(QPoint(30, 50) - QPoint(11, 10), QSize(1, 1))));
}

TEST_F(RunTest, TheLineTrailsOneMovementBehindAndRedrawClearsIt) {
    QTest::mouseClick(dialog->GetDlgItem(id::main::LineStyle), Qt::LeftButton);
    ASSERT_EQ(dialog->m_trailStyle, 1);
    press({18, 50});
    move({30, 50}); // from the start: no line is drawn to a point on green
    EXPECT_EQ(dialog->m_bmpLevel.colorAt({25, 50}), kWhite);
    move({40, 50});
    // The segment from the press to (30, 50) is drawn, its end point left white; nothing yet
    // towards the pointer at (40, 50).
    EXPECT_EQ(dialog->m_bmpLevel.colorAt({25, 50}), kTrail);
    EXPECT_EQ(dialog->m_bmpLevel.colorAt({29, 50}), kTrail);
    EXPECT_EQ(dialog->m_bmpLevel.colorAt({30, 50}), kWhite);
    EXPECT_EQ(dialog->m_bmpLevel.colorAt({35, 50}), kWhite);
    move({50, 50});
    EXPECT_EQ(dialog->m_bmpLevel.colorAt({35, 50}), kTrail);
    EXPECT_EQ(dialog->m_bmpLevel.colorAt({40, 50}), kWhite);
    EXPECT_EQ(onScreen({35, 50}), kTrailGrey);

    QTest::mouseClick(dialog->GetDlgItem(id::main::Redraw), Qt::LeftButton);
    EXPECT_EQ(dialog->m_bmpLevel.colorAt({35, 50}), kWhite);
    EXPECT_EQ(onScreen({35, 50}), QColor(Qt::white));
    EXPECT_TRUE(dialog->m_run.running()); // Redraw leaves the run alone
}

TEST_F(RunTest, ThePointerShowsWaitingThenTheArrowThenTheCrossDuringARun) {
    EXPECT_EQ(dialog->cursor().shape(), Qt::WaitCursor);
    move({40, 50}, false);
    EXPECT_EQ(dialog->cursor().shape(), Qt::ArrowCursor);
    press(kOnStart);
    move({30, 50});
    EXPECT_EQ(dialog->cursor().shape(), Qt::CrossCursor);
}

// Waits for the 100 ms tick to bring about `done`; gives up after a few seconds.
template <class Done> bool waitForTicks(Done done) {
    QElapsedTimer waited;
    waited.start();
    while (!done() && waited.elapsed() < 5000)
        QTest::qWait(10);
    return done();
}

TEST_F(RunTest, TheTickCountsTheTimeOfARunningRun) {
    press(kOnStart);
    EXPECT_EQ(dialog->item<QLineEdit>(id::main::Time)->text(), "0");
    // No movement: the time still advances with every tick.
    EXPECT_TRUE(waitForTicks([&] { return dialog->m_timeMs >= 150; }));
    EXPECT_EQ(dialog->item<QLineEdit>(id::main::Time)->text().toInt(), dialog->m_timeMs);
    EXPECT_TRUE(dialog->m_run.running());
}

TEST_F(RunTest, TheFirstTickStartsTheCaptionAnimation) {
    EXPECT_TRUE(waitForTicks([&] { return !dialog->windowTitle().contains("Version"); }));
    EXPECT_TRUE(dialog->windowTitle().startsWith("K"));
    EXPECT_TRUE(QString("Kurvenflitzerl.exe").startsWith(dialog->windowTitle()));
}

// Storing a record.
class RecordTest : public RunTest {
protected:
    void finishedIn(int time, int best) {
        dialog->m_timeMs = time;
        dialog->m_bestTimeMs = best;
        dialog->CheckNewRecord();
    }
};

TEST_F(RecordTest, AnEqualTimeIsNoRecord) {
    finishedIn(500, 500);
    EXPECT_TRUE(answers.texts().isEmpty());
    EXPECT_EQ(answers.unexpected(), 0);
    EXPECT_FALSE(QFile::exists(folder.file("Level_00_INTRO.bmp.kfh")));
}

TEST_F(RecordTest, EscapeDropsTheRecordInMemoryAndOnDisk) {
    folder.writeBytes("Level_00_INTRO.bmp.kfh", "Old\r\n1000");
    dialog->m_bestName = "Old";
    answers.then([](QWidget* d) {
        QTest::keyClicks(qobject_cast<Dialog*>(d)->GetDlgItem(id::newRecord::Name), "Zed");
        QTest::keyClick(d, Qt::Key_Escape);
    });
    finishedIn(500, 1000);
    EXPECT_EQ(answers.texts().size(), 1);
    EXPECT_EQ(dialog->m_bestName, "Old");
    EXPECT_EQ(dialog->m_bestTimeMs, 1000);
    EXPECT_EQ(folder.readBytes("Level_00_INTRO.bmp.kfh"), "Old\r\n1000");
    EXPECT_EQ(dialog->m_newRecordDlg.m_name, "HERE"); // the abandoned name is not kept
}

TEST_F(RecordTest, TheDialogOffersTheLastSavedName) {
    answers.typeAndEnter(id::newRecord::Name, "Kim");
    finishedIn(900, 1000);
    QString offered;
    answers.then([&](QWidget* d) {
        offered = qobject_cast<Dialog*>(d)->item<QLineEdit>(id::newRecord::Name)->text();
        QTest::keyClick(d, Qt::Key_Return);
    });
    finishedIn(800, 900);
    EXPECT_EQ(offered, "Kim");
    EXPECT_EQ(folder.readBytes("Level_00_INTRO.bmp.kfh"), "Kim\r\n800");
}

TEST_F(RecordTest, NamesAreLimitedToNineCharacters) {
    answers.typeAndEnter(id::newRecord::Name, "Maximilian Muster");
    finishedIn(900, 1000);
    EXPECT_EQ(dialog->m_bestName, "Maximilia");
}

TEST_F(RecordTest, ALongerNamePutInByTheProgramIsRefusedUntilShortened) {
    dialog->m_newRecordDlg.m_name = "Bartholomew";
    answers.pressEnter().clickOk().typeAndEnter(id::newRecord::Name, "Bart");
    finishedIn(900, 1000);
    ASSERT_EQ(answers.texts().size(), 3);
    EXPECT_EQ(answers.texts()[1], "Please enter no more than 9 characters.");
    EXPECT_EQ(dialog->m_bestName, "Bart");
}

// The message gives the system's own reason, never "Unknown error".
TEST_F(RecordTest, AnUnwritableRecordFileIsReportedAndTheRecordKeptInMemory) {
    struct Case {
        QString path;
        bool fullDisk;
        int error;
    };
    folder.writeBytes("Level_00_INTRO.bmp.kfh", "Old\r\n1000");
    const Case cases[] = {{folder.file("missing/folder/track.bmp.kfh"), false, ENOENT},
                          {folder.path(), false, EISDIR},
                          {folder.file("Level_00_INTRO.bmp.kfh"), true, EFBIG}};
    for (const Case& c : cases) {
        dialog->m_recordPath = c.path;
        answers.typeAndEnter(id::newRecord::Name, "Ann").clickOk();
        {
            std::optional<test::FileSizeLimit> disk;
            if (c.fullDisk)
                disk.emplace(4);
            finishedIn(700, 1000);
        }
        const QStringList seen = answers.takeTexts();
        ASSERT_EQ(seen.size(), 2);
        EXPECT_EQ(seen[1], QString("The new record could not be saved in \"%1\". It counts until "
                                   "the game is closed.\n%2")
                               .arg(QDir::toNativeSeparators(c.path),
                                    QString::fromLocal8Bit(std::strerror(c.error))));
        EXPECT_EQ(dialog->m_bestName, "Ann");
        EXPECT_EQ(dialog->m_bestTimeMs, 700);
    }
    EXPECT_TRUE(QFileInfo(folder.path()).isDir());
    EXPECT_EQ(folder.readBytes("Level_00_INTRO.bmp.kfh"), "Old\r\n1000");
}

} // namespace
