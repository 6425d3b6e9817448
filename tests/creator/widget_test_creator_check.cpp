// The checker's verdict in the level creator: the caption after each change, the problems laid
// over the canvas, and SAVE of a level that is not playable.

#include "IntroLevel.h"
#include "creator/CanvasCheck.h"
#include "creator/LevelBitmap.h"
#include "creator/LevelCreatorDialog.h"
#include "level/BitmapFile.h"
#include "res/ControlIds.h"
#include "support/ModalAnswerer.h"
#include "support/PlayFolder.h"
#include "support/PointerEvents.h"
#include "support/QtPrinters.h"
#include "toolkit/ImageView.h"
#include "window/MainDialog.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using namespace kf;
using kf::test::ModalAnswerer;
using kf::test::PlayFolder;

const QString kCaption = "Kurvenflitzerl.exe  -> Level Creator";
const QString kSealed = " — not playable: the starting area at (%1, %2) cannot reach a finishing "
                        "area along a corridor at least 4 pixels wide";

struct Stroke {
    int tool;
    QPoint from, to;
};

// A stroke through the window system's path, with the tool chosen beforehand.
void paint(LevelCreatorDialog& creator, const Stroke& s) {
    creator.m_tool = s.tool;
    creator.m_brushSize = 3;
    test::dragStroke(&creator, s.from, s.to);
}

// Waits for the checker to put `suffix` into the caption; the caption it ended with.
QString captionAfterCheck(const LevelCreatorDialog& creator, const QString& suffix) {
    // A caption that never comes is the caller's failure: it compares what is there.
    (void)QTest::qWaitFor([&] { return creator.windowTitle() == kCaption + suffix; }, 2000);
    return creator.windowTitle();
}

// The wall across the intro track's first straight, which seals its start off the finish.
const Stroke kIntroBarrier{kToolWalls, {120, 25}, {120, 100}};
const QString kIntroSealed = kSealed.arg(30).arg(30);
// A start in the blank canvas's top-left corner and a wall that closes the corner round it.
const Stroke kCornerStart{kToolStart, {30, 30}, {40, 30}};
const Stroke kCornerWall{kToolWalls, {11, 94}, {94, 11}};

class CreatorCheckTest : public ::testing::Test {
protected:
    ImageView* view() const { return creator.findChild<ImageView*>(); }
    QLineEdit* nameEdit() const { return creator.item<QLineEdit>(id::creator::FileName); }
    void openIntro() {
        creator.m_openingLevel = drawIntroLevel();
        creator.Create();
    }
    void save() { QTest::mouseClick(creator.GetDlgItem(id::creator::Save), Qt::LeftButton); }

    PlayFolder folder;
    ModalAnswerer answers;
    LevelCreatorDialog creator;
};

// The caption keeps its own text and adds the checker's verdict on the canvas at the opening,
// after each stroke, each undo and each redo.
TEST_F(CreatorCheckTest, TheCaptionFollowsEveryChangeOfTheCanvas) {
    const QString blank = " — not playable: no starting area; no finishing area";
    const QString noFinish = " — not playable: no finishing area";
    const QString open = " — playable, narrowest passage 220 px";
    const QString sealed = kSealed.arg(27).arg(21);
    struct Step {
        const char* what;
        std::function<void()> act;
        QString suffix;
    };
    const Step steps[] = {
        {"opening", [] {}, blank},
        {"start", [&] { paint(creator, kCornerStart); }, noFinish},
        {"finish",
         [&] {
             paint(creator, {kToolFinish, {320, 340}, {360, 340}});
         },
         open},
        {"sealing wall", [&] { paint(creator, kCornerWall); }, sealed},
        {"undo", [&] { QTest::keyClick(&creator, Qt::Key_Z, Qt::ControlModifier); }, open},
        {"redo", [&] { QTest::keyClick(&creator, Qt::Key_Y, Qt::ControlModifier); }, sealed},
        {"undo twice",
         [&] {
             QTest::keyClick(&creator, Qt::Key_Z, Qt::ControlModifier);
             QTest::keyClick(&creator, Qt::Key_Z, Qt::ControlModifier);
         },
         noFinish},
    };
    creator.Create();
    for (const Step& s : steps) {
        s.act();
        EXPECT_EQ(captionAfterCheck(creator, s.suffix), kCaption + s.suffix) << s.what;
    }

    creator.EndDialog(id::Cancel);
    openIntro();
    EXPECT_EQ(creator.windowTitle(), kCaption) << "no verdict of the earlier canvas";
    const QString intro = " — playable, narrowest passage 40 px";
    EXPECT_EQ(captionAfterCheck(creator, intro), kCaption + intro);
    paint(creator, kIntroBarrier);
    EXPECT_EQ(captionAfterCheck(creator, kIntroSealed), kCaption + kIntroSealed);
}

// Triggers "Show problems" in the canvas's context menu; whether it was checked before.
bool toggleByMenu(LevelCreatorDialog& creator) {
    bool wasChecked = false;
    QObject whileOpen;
    QTimer::singleShot(20, &whileOpen, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* a : menu->actions()) {
            if (a->text() == "Show problems") {
                EXPECT_TRUE(a->isCheckable());
                wasChecked = a->isChecked();
                menu->close();
                a->trigger();
            }
        }
    });
    const QPoint at(200, 200);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, creator.mapToGlobal(at));
    QApplication::sendEvent(&creator, &event);
    return wasChecked;
}

// Key C and the menu lay the sealed start and the narrowest point over the canvas and take them
// off again; the canvas and the saved file never hold them. In the file-name field C is text.
TEST_F(CreatorCheckTest, KeyCAndTheMenuShowTheProblemsOverTheCanvasOnly) {
    openIntro();
    paint(creator, kIntroBarrier);
    captionAfterCheck(creator, kIntroSealed);
    const QImage painting = creator.m_canvas.image();
    const QRgb startColour = view()->grab().toImage().pixel(31, 31);
    EXPECT_TRUE(view()->overlay().isNull());

    nameEdit()->setFocus();
    QTest::keyClick(nameEdit(), Qt::Key_C);
    EXPECT_EQ(nameEdit()->text(), "c");
    EXPECT_TRUE(view()->overlay().isNull());

    struct Toggle {
        const char* how;
        bool shown;
    };
    for (const Toggle& t : {Toggle{"C", true}, Toggle{"menu", false}, Toggle{"menu", true},
                            Toggle{"C", false}, Toggle{"C", true}}) {
        if (QString(t.how) == "C")
            QTest::keyClick(&creator, Qt::Key_C);
        else
            EXPECT_EQ(toggleByMenu(creator), !t.shown) << "checked while shown";
        EXPECT_EQ(creator.m_showProblems, t.shown) << t.how;
        EXPECT_EQ(view()->overlay().isNull(), !t.shown) << t.how;
        const QRgb shownStart = view()->grab().toImage().pixel(31, 31);
        EXPECT_EQ(shownStart != startColour, t.shown) << t.how;
        EXPECT_EQ(creator.m_canvas.image(), painting) << t.how;
    }
    // The sealed start is striped half-transparent and outlined; the free track is left clear.
    const QImage& problems = view()->overlay();
    EXPECT_GT(qAlpha(problems.pixel(36, 36)), 0);
    EXPECT_LT(qAlpha(problems.pixel(36, 36)), 255);
    EXPECT_EQ(problems.pixel(30, 30), kProblemColor) << "the area's rim";
    EXPECT_EQ(qAlpha(problems.pixel(200, 62)), 0);

    // Saved with the problems shown: the very bytes of the painting.
    creator.m_fileName = "sealed";
    creator.UpdateData(false);
    answers.clickButton(QMessageBox::Yes).clickOk();
    save();
    ASSERT_TRUE(creator.m_saved);
    ASSERT_EQ(writeLevelFile(painting, folder.file("plain.bmp")).status, LevelWriteResult::Written);
    EXPECT_TRUE(folder.readBytes("sealed.bmp") == folder.readBytes("plain.bmp"));
    EXPECT_EQ(answers.unexpected(), 0);
}

// SAVE of a level that is not playable asks first, with the checker's reasons, whether the
// verdict is in yet or not; No keeps everything and writes nothing, Yes saves. A playable level
// saves without the question.
TEST_F(CreatorCheckTest, SavingALevelThatIsNotPlayableAsksFirst) {
    const QString question = "The starting area at (30, 30) cannot reach a finishing area along "
                             "a corridor at least 4 pixels wide. Save anyway?";
    struct Case {
        const char* name;
        bool barrier;
        bool waitForCheck;
        QMessageBox::StandardButton answer; // NoButton: no question
    };
    const Case cases[] = {{"no", true, true, QMessageBox::No},
                          {"nostale", true, false, QMessageBox::No},
                          {"yes", true, false, QMessageBox::Yes},
                          {"playable", false, false, QMessageBox::NoButton}};
    for (const Case& c : cases) {
        creator.m_saved = false;
        openIntro();
        creator.m_fileName = c.name;
        creator.UpdateData(false);
        if (c.barrier)
            paint(creator, kIntroBarrier);
        creator.m_tool = kToolFinish;
        creator.UpdateData(false);
        const QImage painting = creator.m_canvas.image();
        if (c.waitForCheck)
            captionAfterCheck(creator, kIntroSealed);
        if (c.answer != QMessageBox::NoButton)
            answers.clickButton(c.answer);
        if (c.answer != QMessageBox::No)
            answers.clickOk();
        save();

        const QString saved =
            "Saved as : " + QDir::toNativeSeparators(folder.file(c.name + QString(".bmp")));
        const QStringList expected = c.answer == QMessageBox::No    ? QStringList{question}
                                     : c.answer == QMessageBox::Yes ? QStringList{question, saved}
                                                                    : QStringList{saved};
        EXPECT_EQ(answers.takeTexts(), expected) << c.name;
        const bool written = c.answer != QMessageBox::No;
        EXPECT_EQ(creator.m_saved, written) << c.name;
        EXPECT_EQ(QFileInfo::exists(folder.file(c.name + QString(".bmp"))), written) << c.name;
        if (!written) {
            EXPECT_TRUE(creator.isVisible()) << c.name;
            EXPECT_EQ(creator.m_canvas.image(), painting) << c.name;
            EXPECT_EQ(nameEdit()->text(), c.name);
            EXPECT_TRUE(creator.item<QRadioButton>(id::creator::Finish)->isChecked()) << c.name;
            creator.EndDialog(id::Cancel);
        }
    }
    EXPECT_EQ(answers.unexpected(), 0);
}

// The intro track edited from the main window: a wall across it seals the start, C shows it,
// undo makes it playable again, and the level saved under a new name is played on the board.
TEST_F(CreatorCheckTest, TheIntroTrackEditedFromTheGameIsCheckedSavedAndPlayed) {
    folder.writeBitmap("Level_00_INTRO.bmp", drawIntroLevel());
    MainDialog main;
    main.Create();
    QString sealedCaption, playableCaption;
    bool problemsShown = false;
    answers.then([&](QWidget* d) {
        auto& c = *static_cast<LevelCreatorDialog*>(d);
        paint(c, kIntroBarrier);
        sealedCaption = captionAfterCheck(c, kIntroSealed);
        QTest::keyClick(&c, Qt::Key_C);
        problemsShown = !c.findChild<ImageView*>()->overlay().isNull();
        QTest::keyClick(&c, Qt::Key_Z, Qt::ControlModifier);
        playableCaption = captionAfterCheck(c, " — playable, narrowest passage 40 px");
        c.item<QLineEdit>(id::creator::FileName)->setText("Level_01_MINE");
        QTimer::singleShot(
            0, &c, [&c] { QTest::mouseClick(c.GetDlgItem(id::creator::Save), Qt::LeftButton); });
    });
    answers.clickOk();
    QTest::keyClick(&main, Qt::Key_E);

    EXPECT_EQ(sealedCaption, kCaption + kIntroSealed);
    EXPECT_TRUE(problemsShown);
    EXPECT_EQ(playableCaption, kCaption + " — playable, narrowest passage 40 px");
    const QString path = QDir::toNativeSeparators(folder.file("Level_01_MINE.bmp"));
    EXPECT_EQ(answers.texts().mid(1), QStringList{"Saved as : " + path});
    EXPECT_TRUE(folder.readBytes("Level_01_MINE.bmp") == folder.readBytes("Level_00_INTRO.bmp"));
    EXPECT_EQ(main.m_recordPath, QFileInfo(path + ".kfh").absoluteFilePath());
    QTest::mousePress(&main, Qt::LeftButton, {}, {11 + 40, 10 + 40});
    EXPECT_TRUE(main.m_run.running()) << "a run starts on the saved level's start";
    answers.clickOk(); // the notice of the released button
    QTest::mouseRelease(&main, Qt::LeftButton, {}, {11 + 40, 10 + 40});
    test::movePointer(&main, {11 + 41, 10 + 40}, false);
    EXPECT_FALSE(main.m_run.running());
    EXPECT_EQ(answers.unexpected(), 0);
}

} // namespace
