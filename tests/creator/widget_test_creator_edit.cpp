// Undo, redo and loading tracks in the level creator, and editing the board's track from the
// main window.

#include "creator/LevelCreatorDialog.h"
#include "res/ControlIds.h"
#include "support/ModalAnswerer.h"
#include "support/PlayFolder.h"
#include "support/PointerEvents.h"
#include "support/QtPrinters.h"
#include "toolkit/FileDialog.h"
#include "window/MainDialog.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using namespace kf;
using kf::test::ModalAnswerer;
using kf::test::PlayFolder;

// A 400 x 400 track with a ground colour the creator does not paint, a green start at the
// left and a red finish at the right of the board's row y = 200.
QImage editableTrack() {
    QImage track(400, 400, QImage::Format_RGB32);
    track.fill(QColor(0x12, 0x34, 0x56));
    for (int y = 190; y < 210; ++y) {
        for (int x = 0; x < 20; ++x) {
            track.setPixel(x, y, qRgb(0, 255, 0));
            track.setPixel(380 + x, y, qRgb(255, 0, 0));
        }
    }
    return track;
}

// The entries of the context menu that a right click at `at` opens (none when it opens no
// menu), each with whether it is enabled; triggers the entry named `choose`, if any.
struct MenuEntry {
    QString text;
    bool enabled;
    bool operator==(const MenuEntry&) const = default;
};
std::vector<MenuEntry> rightClick(QWidget* window, QPoint at, const QString& choose = {}) {
    std::vector<MenuEntry> entries;
    QObject whileOpen;
    QTimer::singleShot(20, &whileOpen, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        QAction* chosen = nullptr;
        for (QAction* a : menu->actions()) {
            if (a->isSeparator())
                continue;
            entries.push_back({a->text(), a->isEnabled()});
            if (a->text() == choose)
                chosen = a;
        }
        menu->close();
        if (chosen)
            chosen->trigger();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, window->mapToGlobal(at));
    QApplication::sendEvent(window, &event);
    return entries;
}

class CreatorEditTest : public ::testing::Test {
protected:
    void SetUp() override { creator.Create(); }
    void TearDown() override { setFileOpenChooser(nullptr); }

    QLineEdit* nameEdit() const { return creator.item<QLineEdit>(id::creator::FileName); }
    void key(QWidget* to, Qt::Key k, Qt::KeyboardModifiers mods = Qt::ControlModifier) {
        QTest::keyClick(to, k, mods);
    }

    PlayFolder folder;
    ModalAnswerer answers;
    LevelCreatorDialog creator;
};

// Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z work the canvas wherever the focus is, the file-name field
// included, which keeps its text.
TEST_F(CreatorEditTest, KeysUndoAndRedoStrokesWhereverTheFocusIs) {
    const QImage blank = creator.m_canvas.image();
    test::dragStroke(&creator, {40, 200}, {360, 200});
    const QImage one = creator.m_canvas.image();
    creator.m_tool = kToolStart;
    test::dragStroke(&creator, {200, 60}, {200, 340});
    const QImage two = creator.m_canvas.image();
    nameEdit()->setText("mine");

    struct Step {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        const QImage& shows;
    };
    const Step steps[] = {{Qt::Key_Z, Qt::ControlModifier, one},
                          {Qt::Key_Z, Qt::ControlModifier, blank},
                          {Qt::Key_Z, Qt::ControlModifier, blank},
                          {Qt::Key_Y, Qt::ControlModifier, one},
                          {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, two},
                          {Qt::Key_Y, Qt::ControlModifier, two}};
    for (QWidget* focus : {static_cast<QWidget*>(&creator), static_cast<QWidget*>(nameEdit()),
                           creator.GetDlgItem(id::creator::BrushSize)}) {
        focus->setFocus();
        for (const Step& s : steps) {
            key(focus, s.key, s.mods);
            EXPECT_EQ(creator.m_canvas.image(), s.shows) << focus->metaObject()->className();
        }
        EXPECT_EQ(nameEdit()->text(), "mine");
    }
    EXPECT_EQ(creator.m_fileName, "mine");
    EXPECT_EQ(answers.unexpected(), 0);
}

// The canvas's context menu offers Undo and Redo as far as there is something to undo or
// redo; outside the canvas a right click opens no menu.
TEST_F(CreatorEditTest, TheCanvasMenuEnablesUndoAndRedoWhenThereIsSomethingToDo) {
    const auto menu = [](bool undo, bool redo) {
        return std::vector<MenuEntry>{
            {"Undo", undo}, {"Redo", redo}, {"Open a track…", true}, {"Show problems", true}};
    };
    EXPECT_EQ(rightClick(&creator, {200, 200}), menu(false, false));
    test::dragStroke(&creator, {40, 200}, {360, 200});
    const QImage painted = creator.m_canvas.image();
    EXPECT_EQ(rightClick(&creator, {200, 200}, "Undo"), menu(true, false));
    EXPECT_NE(creator.m_canvas.image(), painted);
    EXPECT_EQ(rightClick(&creator, {390, 390}, "Redo"), menu(false, true));
    EXPECT_EQ(creator.m_canvas.image(), painted);
    test::dragStroke(&creator, {40, 100}, {360, 100});
    EXPECT_EQ(rightClick(&creator, {10, 10}, "Undo"), menu(true, false));
    EXPECT_EQ(rightClick(&creator, {200, 200}), menu(true, true));
    EXPECT_TRUE(rightClick(&creator, {450, 200}).empty());
}

// Ctrl+O loads a track through the file dialog as a step that undo takes back; a file that is
// no level or of another size is refused with a message and leaves canvas, name and history.
TEST_F(CreatorEditTest, CtrlOLoadsATrackOfTheCanvasSizeOnly) {
    QImage wide(640, 480, QImage::Format_RGB32);
    wide.fill(Qt::white);
    const QString wideTrack = folder.writeBitmap("wide.bmp", wide);
    const QString broken = folder.writeBytes("broken.bmp", "BM but nothing more");
    const QString good = folder.writeBitmap("Level_07_ODD.bmp", editableTrack());
    nameEdit()->setText("mine");
    test::dragStroke(&creator, {40, 200}, {360, 200});
    const QImage painted = creator.m_canvas.image();

    struct Case {
        QString chosen; // empty: the player cancels the file dialog
        QString message;
    };
    const Case refusals[] = {
        {{}, {}},
        {wideTrack, "The track \"wide.bmp\" is 640 × 480 pixels; the creator edits only tracks "
                    "of 400 × 400 pixels."},
        {broken,
         "The file \"" + QDir::toNativeSeparators(broken) + "\" could not be loaded as a level."}};
    for (const Case& c : refusals) {
        setFileOpenChooser([&](QWidget*, const FileOpenRequest& request) {
            EXPECT_EQ(request.initialPath, "mine.bmp");
            return c.chosen.isEmpty() ? std::nullopt : std::optional<QString>(c.chosen);
        });
        if (!c.message.isEmpty())
            answers.clickOk();
        key(&creator, Qt::Key_O);
        EXPECT_EQ(answers.takeTexts(),
                  c.message.isEmpty() ? QStringList{} : QStringList{c.message});
        EXPECT_EQ(creator.m_canvas.image(), painted) << c.chosen.toStdString();
        EXPECT_EQ(nameEdit()->text(), "mine");
        EXPECT_EQ(creator.m_canvas.history().steps(), 1);
    }

    setFileOpenChooser([&](QWidget*, const FileOpenRequest&) { return good; });
    key(nameEdit(), Qt::Key_O);
    EXPECT_EQ(creator.m_canvas.image(), editableTrack()) << "its own colours kept";
    EXPECT_EQ(nameEdit()->text(), "Level_07_ODD");
    EXPECT_EQ(creator.m_fileName, "Level_07_ODD");
    key(&creator, Qt::Key_Z);
    EXPECT_EQ(creator.m_canvas.image(), painted);
    EXPECT_EQ(answers.unexpected(), 0);
}

class EditTrackTest : public ::testing::Test {
protected:
    void open(const QImage& intro) {
        folder.writeBitmap("Level_00_INTRO.bmp", intro);
        main = std::make_unique<MainDialog>();
        main->Create();
    }
    void pressE() { QTest::keyClick(main.get(), Qt::Key_E); }
    std::vector<MenuEntry> boardMenu() { return rightClick(main.get(), {200, 200}); }

    PlayFolder folder;
    ModalAnswerer answers;
    std::unique_ptr<MainDialog> main;
};

// Key E and the board's menu open the creator with the track on the canvas, its own colours
// kept, and its name without ".bmp" in the file-name field.
TEST_F(EditTrackTest, KeyEAndTheBoardsMenuOpenTheCreatorWithTheTrackAndItsName) {
    open(editableTrack());
    for (const bool byMenu : {false, true}) {
        QImage canvas;
        QString name;
        answers.then([&](QWidget* d) {
            auto* c = static_cast<LevelCreatorDialog*>(d);
            canvas = c->m_canvas.image();
            name = c->item<QLineEdit>(id::creator::FileName)->text();
            EXPECT_FALSE(c->m_canvas.history().canUndo()) << "the track is where undo stops";
            QTest::keyClick(d, Qt::Key_Escape);
        });
        if (byMenu)
            rightClick(main.get(), {200, 200}, "Edit this track…");
        else
            pressE();
        EXPECT_EQ(canvas, editableTrack()) << byMenu;
        EXPECT_EQ(name, "Level_00_INTRO") << byMenu;
    }
    // Create Level afterwards opens a blank canvas again.
    answers.then([&](QWidget* d) {
        EXPECT_NE(static_cast<LevelCreatorDialog*>(d)->m_canvas.image(), editableTrack());
        QTest::keyClick(d, Qt::Key_Escape);
    });
    main->OnCreateLevel();
    EXPECT_EQ(answers.unexpected(), 0);
}

// No editing during a run, nor while a match locks the level buttons; between the levels of a
// match the track may be edited.
TEST_F(EditTrackTest, NotOfferedDuringARunOrALockedMatch) {
    open(editableTrack());
    const std::vector<MenuEntry> historyOnly = {
        {"Run history…", true}, {"Ghosts", true}, {"Tracks…", true}, {"Share this race…", true}};
    // Between levels the track may change: the track of the day and editing are offered.
    std::vector<MenuEntry> offered = historyOnly;
    offered.insert(offered.begin() + 3, {"Track of the day", true});
    offered.push_back({"Edit this track…", true});
    offered.push_back({"League…", true});

    // During a run there is no menu at all.
    QTest::mousePress(main.get(), Qt::LeftButton, {}, {11 + 5, 10 + 200});
    ASSERT_TRUE(main->m_run.running());
    pressE();
    EXPECT_TRUE(boardMenu().empty());
    answers.clickOk(); // the notice of the released button
    QTest::mouseRelease(main.get(), Qt::LeftButton, {}, {11 + 5, 10 + 200});
    test::movePointer(main.get(), {11 + 6, 10 + 200}, false);
    ASSERT_FALSE(main->m_run.running());
    EXPECT_EQ(answers.takeTexts().size(), 1) << "the notice only, no creator";

    Match& match = main->m_multiplayer.m_match;
    match.m_active = true;
    match.m_runNo = 2;
    ASSERT_TRUE(match.locked());
    pressE();
    EXPECT_EQ(boardMenu(), historyOnly);
    EXPECT_TRUE(answers.texts().isEmpty());

    match.m_runNo = 1;
    ASSERT_FALSE(match.locked());
    EXPECT_EQ(boardMenu(), offered);
    answers.pressEscape();
    pressE();
    EXPECT_TRUE(answers.allAnswered());
    EXPECT_EQ(answers.unexpected(), 0);
}

TEST_F(EditTrackTest, ATrackOfAnotherSizeIsRefusedWithBothSizes) {
    open(kf::test::smallTestLevel(100, 60));
    answers.clickOk();
    pressE();
    EXPECT_EQ(answers.texts(), QStringList{"The track \"Level_00_INTRO.bmp\" is 100 × 60 pixels; "
                                           "the creator edits only tracks of 400 × 400 pixels."});
    EXPECT_EQ(answers.unexpected(), 0);
}

// A track loaded from another folder is saved beside itself under its own name, an upper-case
// ".BMP" included: SAVE asks before replacing it, and after Yes the edited track is on the board
// with its own record.
TEST_F(EditTrackTest, SavingTheEditedTrackOverItsOwnFileAsksFirst) {
    open(kf::test::smallTestLevel());
    QDir(folder.path()).mkdir("tracks");
    for (const char* name : {"mine.bmp", "TRACK.BMP"}) {
        SCOPED_TRACE(name);
        const QString track = folder.writeBitmap(QStringLiteral("tracks/") + name, editableTrack());
        setFileOpenChooser([&](QWidget*, const FileOpenRequest&) { return track; });
        main->OnLoadLevel();
        setFileOpenChooser(nullptr);
        QDir::setCurrent(folder.path());

        QImage edited;
        answers.then([&](QWidget* d) {
            auto* c = static_cast<LevelCreatorDialog*>(d);
            test::dragStroke(c, {100, 300}, {300, 300});
            edited = c->m_canvas.image();
            QTimer::singleShot(
                0, c, [c] { QTest::mouseClick(c->GetDlgItem(id::creator::Save), Qt::LeftButton); });
        });
        answers.clickButton(QMessageBox::Yes).clickOk();
        pressE();
        const QString path = QDir::toNativeSeparators(track);
        const QStringList texts = answers.takeTexts();
        ASSERT_EQ(texts.size(), 3) << texts.join(" / ").toStdString();
        EXPECT_EQ(texts.mid(1),
                  (QStringList{path + " already exists. Replace it?", "Saved as : " + path}));
        const QImage saved = QImage(track, "BMP").convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(saved, edited);
        EXPECT_FALSE(QFile::exists(track + ".bmp"));
        EXPECT_EQ(main->m_bmpLevel.colorAt({11 + 200, 10 + 300}), kWall);
        EXPECT_EQ(main->m_bmpLevel.colorAt({11 + 200, 10 + 100}), 0x563412u) << "its own ground";
        EXPECT_EQ(main->m_recordPath, QFileInfo(track + ".kfh").absoluteFilePath());
    }
    EXPECT_EQ(answers.unexpected(), 0);
}

} // namespace
