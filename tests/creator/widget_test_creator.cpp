#include "creator/LevelCreatorDialog.h"
#include "res/ControlIds.h"
#include "support/FileSizeLimit.h"
#include "support/ModalAnswerer.h"
#include "support/PaintSpy.h"
#include "support/PlayFolder.h"
#include "support/PointerEvents.h"
#include "support/QtPrinters.h"
#include "support/ShownAsWritten.h"
#include "toolkit/Controls.h"
#include "toolkit/ImageView.h"
#include "window/MainDialog.h"

#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

namespace {

using namespace kf;
using kf::test::ModalAnswerer;
using kf::test::PaintSpy;
using kf::test::PlayFolder;

// What the toolkit's debug output received while a test ran.
QStringList debugLines;

void collectDebug(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtDebugMsg)
        debugLines << text;
}

// A player's hand on the creator: presses, drags and releases through the window system's path.
struct Hand {
    QWidget* dialog;

    void stroke(QPoint from, QPoint to) const { test::dragStroke(dialog, from, to); }
    void choose(int radioId) const {
        QTest::mouseClick(static_cast<Dialog*>(dialog)->GetDlgItem(radioId), Qt::LeftButton);
    }
};

class CreatorTest : public ::testing::Test {
protected:
    void SetUp() override {
        debugLines.clear();
        previousHandler = qInstallMessageHandler(collectDebug);
    }
    void TearDown() override { qInstallMessageHandler(previousHandler); }

    QLineEdit* nameEdit() const { return creator.item<QLineEdit>(id::creator::FileName); }
    void typeName(const QString& name) const {
        nameEdit()->setFocus();
        nameEdit()->selectAll();
        QTest::keyClick(nameEdit(), Qt::Key_Delete);
        QTest::keyClicks(nameEdit(), name);
    }
    QString pathOf(const QString& name) const { return folder.file(name + ".bmp"); }
    // A finish along y = 300 and a start along y = 100, so that SAVE finds the level playable;
    // the start tool stays chosen.
    void paintFinishAndStart() {
        const Hand hand{&creator};
        hand.choose(id::creator::Finish);
        hand.stroke({40, 300}, {360, 300});
        hand.choose(id::creator::Start);
        hand.stroke({40, 100}, {360, 100});
    }

    PlayFolder folder;
    ModalAnswerer answers;
    LevelCreatorDialog creator;
    QtMessageHandler previousHandler = nullptr;
};

// Paint with every tool through the dialog, save, and play the file on the main window's board.
TEST_F(CreatorTest, APaintedLevelIsSavedAndComesOnTheBoardWithItsOwnRecord) {
    MainDialog main;
    main.Create();
    const QString introRecord = main.m_recordPath;
    answers.then([](QWidget* d) {
        auto* c = static_cast<LevelCreatorDialog*>(d);
        const Hand hand{c};
        hand.stroke({40, 200}, {360, 200}); // walls, brush size 2: 12 pixels wide
        hand.choose(id::creator::Start);
        hand.stroke({40, 100}, {80, 100});
        hand.choose(id::creator::Finish);
        hand.stroke({300, 300}, {340, 300});
        hand.choose(id::creator::Eraser);
        hand.stroke({200, 180}, {200, 220}); // a gap in the wall
        auto* edit = c->item<QLineEdit>(id::creator::FileName);
        edit->setFocus();
        QTest::keyClicks(edit, "Level_42_MINE");
        QTimer::singleShot(0, c->GetDlgItem(id::creator::Save), [c] {
            QTest::mouseClick(c->GetDlgItem(id::creator::Save), Qt::LeftButton);
        });
    });
    answers.clickOk();
    main.OnCreateLevel();

    const QString path = QDir::toNativeSeparators(QDir::current().filePath("Level_42_MINE.bmp"));
    ASSERT_EQ(answers.texts().size(), 2) << answers.texts().join(" / ").toStdString();
    EXPECT_EQ(answers.texts()[1], "Saved as : " + path);
    EXPECT_EQ(answers.unexpected(), 0);
    EXPECT_TRUE(main.m_creatorDlg.m_saved);
    EXPECT_EQ(QFileInfo(path).size(), 480054);

    // The board shows the saved picture from its corner at (11, 10).
    const QPoint board(11, 10);
    struct Spot {
        QPoint level;
        COLORREF colour;
    };
    for (const Spot& s : {Spot{{100, 200}, kWall}, Spot{{100, 205}, kWall}, Spot{{60, 100}, kStart},
                          Spot{{320, 300}, kFinish}, Spot{{200, 200}, kWhite},
                          Spot{{100, 150}, kWhite}, Spot{{5, 150}, kWall}, Spot{{2, 150}, kWhite}})
        EXPECT_EQ(main.m_bmpLevel.colorAt(board + s.level), s.colour)
            << s.level.x() << "," << s.level.y();
    // A record on the new level goes beside it, never into the previous level's file.
    EXPECT_EQ(main.m_recordPath, QFileInfo(path + ".kfh").absoluteFilePath());
    EXPECT_NE(main.m_recordPath, introRecord);
    EXPECT_EQ(main.m_bestName, "Nobody");
    EXPECT_EQ(main.m_bestTimeMs, 999999);
    EXPECT_TRUE(main.m_levelPath.isEmpty());
}

TEST_F(CreatorTest, AStrokeRepaintsOnlyItsOwnRectangle) {
    creator.Create();
    QApplication::processEvents();
    QWidget* canvasView = creator.childAt(200, 200);
    ASSERT_EQ(canvasView, nullptr) << "the canvas lets the mouse through to the dialog";
    canvasView = creator.findChild<ImageView*>();
    ASSERT_NE(canvasView, nullptr);
    PaintSpy spy(canvasView);
    Hand{&creator}.stroke({100, 100}, {140, 100}); // walls, 12 pixels wide
    QApplication::processEvents();
    const QRect painted = spy.painted.boundingRect();
    EXPECT_TRUE(painted.contains(QRect(94, 94, 52, 12)));
    EXPECT_TRUE(QRect(90, 90, 60, 20).contains(painted));
}

TEST_F(CreatorTest, ClosingWithoutSavingKeepsTheBoard) {
    const std::vector<std::pair<const char*, ModalAnswerer::Answer>> ways = {
        {"Cancel button",
         [](QWidget* d) { static_cast<Dialog*>(d)->item<QPushButton>(id::Ok)->click(); }},
        {"Escape", [](QWidget* d) { QTest::keyClick(d, Qt::Key_Escape); }},
        {"close box", [](QWidget* d) { d->close(); }},
    };
    MainDialog main;
    main.Create();
    const QImage board = main.m_bmpLevel.shownImage();
    const QString record = main.m_recordPath;
    for (const auto& [name, close] : ways) {
        answers.then([close](QWidget* d) {
            auto* c = static_cast<LevelCreatorDialog*>(d);
            Hand{c}.stroke({40, 200}, {360, 200});
            c->m_fileName = "unsaved";
            close(d);
        });
        main.OnCreateLevel();
        EXPECT_FALSE(main.m_creatorDlg.m_saved) << name;
        EXPECT_EQ(main.m_bmpLevel.shownImage(), board) << name;
        EXPECT_EQ(main.m_recordPath, record) << name;
        EXPECT_FALSE(QFileInfo::exists(pathOf("unsaved"))) << name;
    }
    EXPECT_EQ(answers.unexpected(), 0);
}

// The empty-name message covers the canvas; Enter in the name field then saves what was painted.
TEST_F(CreatorTest, AnEmptyNameIsRefusedAndEnterSavesThePainting) {
    folder.writeBytes("track.bmp", "an older level of the same name");
    creator.Create();
    Hand{&creator}.stroke({40, 200}, {360, 200});
    answers.clickOk();
    QTest::mouseClick(creator.GetDlgItem(id::creator::Save), Qt::LeftButton);
    EXPECT_EQ(answers.texts(), QStringList{"Filename is missing, correct it"});
    EXPECT_TRUE(creator.isVisible());
    EXPECT_FALSE(creator.m_saved);

    typeName("track");
    answers.clickButton(QMessageBox::Yes).clickButton(QMessageBox::Yes).clickOk();
    QTest::keyClick(nameEdit(), Qt::Key_Return);
    ASSERT_EQ(answers.texts().size(), 4);
    EXPECT_EQ(answers.texts()[1], "No starting area; no finishing area. Save anyway?");
    EXPECT_EQ(answers.texts()[2],
              QDir::toNativeSeparators(pathOf("track")) + " already exists. Replace it?");
    EXPECT_FALSE(creator.isVisible());
    EXPECT_TRUE(creator.m_saved);
    EXPECT_EQ(creator.m_savedPath, QDir::toNativeSeparators(pathOf("track")));
    EXPECT_EQ(QFileInfo(pathOf("track")).size(), 480054) << "the older level is replaced";
    const QImage saved(pathOf("track"), "BMP");
    EXPECT_EQ(colorRefFromRgb(saved.pixel(200, 200)), kWall);
    EXPECT_TRUE(debugLines.isEmpty());
}

// A level's name is shown as typed in "Saved as", even one that looks like markup.
TEST_F(CreatorTest, TheSavedNameIsShownAsTyped) {
    creator.Create();
    typeName("<i>x");
    const QString saved = "Saved as : " + QDir::toNativeSeparators(pathOf("<i>x"));
    answers.clickButton(QMessageBox::Yes); // the blank canvas is not playable
    answers.then([saved](QWidget* box) {
        EXPECT_TRUE(kf::test::shownAsWritten(
            box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label")), saved));
        qobject_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
    });
    QTest::keyClick(nameEdit(), Qt::Key_Return);
    EXPECT_EQ(answers.texts(),
              (QStringList{"No starting area; no finishing area. Save anyway?", saved}));
}

// The creator keeps its name, and Enter saves: right after reopening, Enter must not put the
// blank canvas over the level saved before, nor that blank level onto the board.
TEST_F(CreatorTest, EnterInAReopenedCreatorAsksBeforeReplacingTheSavedLevel) {
    MainDialog main;
    main.Create();
    const QString path = QDir::toNativeSeparators(pathOf("mine"));
    answers.then([](QWidget* d) {
        auto* c = static_cast<LevelCreatorDialog*>(d);
        Hand{c}.stroke({40, 200}, {360, 200});
        auto* edit = c->item<QLineEdit>(id::creator::FileName);
        edit->setFocus();
        QTest::keyClicks(edit, "mine");
        QTest::keyClick(edit, Qt::Key_Return);
    });
    answers.clickButton(QMessageBox::Yes).clickOk(); // walls alone are not playable
    main.OnCreateLevel();
    ASSERT_TRUE(main.m_creatorDlg.m_saved);
    const QByteArray saved = folder.readBytes("mine.bmp");
    const QImage board = main.m_bmpLevel.shownImage();

    bool stayedOpen = false;
    QString nameKept;
    answers.then([&](QWidget* d) {
        auto* c = static_cast<LevelCreatorDialog*>(d);
        QWidget* focus = c->focusWidget();
        QTest::keyClick(focus ? focus : d, Qt::Key_Return);
        stayedOpen = c->isVisible();
        nameKept = c->item<QLineEdit>(id::creator::FileName)->text();
        QTest::keyClick(d, Qt::Key_Escape);
    });
    answers.clickButton(QMessageBox::Yes); // the blank canvas is not playable
    answers.pressEnter();                  // the question: No is the default
    main.OnCreateLevel();

    const QStringList seen = answers.texts();
    ASSERT_EQ(seen.size(), 6) << seen.join(" / ").toStdString();
    EXPECT_EQ(seen[5], path + " already exists. Replace it?");
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(nameKept, "mine");
    EXPECT_FALSE(main.m_creatorDlg.m_saved);
    EXPECT_TRUE(folder.readBytes("mine.bmp") == saved) << "the saved level is untouched";
    EXPECT_EQ(main.m_bmpLevel.shownImage(), board);
    EXPECT_EQ(answers.unexpected(), 0);
}

// Whatever stands at the name (a level, a link to a file of the player's elsewhere, a link
// that leads nowhere) is replaced only after Yes; every other answer goes back to the creator
// with the painting, the name and the tool as they were. A link is replaced, never written
// through.
TEST_F(CreatorTest, ATakenNameIsReplacedOnlyAfterYes) {
    QTemporaryDir elsewhere;
    ASSERT_TRUE(elsewhere.isValid());
    const QString notes = elsewhere.filePath("notes.txt");
    const QByteArray notesText = "the player's notes";
    {
        QFile file(notes);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(notesText);
    }
    struct Taken {
        const char* name;
        QString linkTo; // empty: a level of that name
    };
    const Taken takenNames[] = {
        {"older", {}}, {"<b>notes", notes}, {"dangling", elsewhere.filePath("missing")}};
    const std::pair<const char*, ModalAnswerer::Answer> noAnswers[] = {
        {"Enter", [](QWidget* d) { QTest::keyClick(d, Qt::Key_Return); }},
        {"Escape", [](QWidget* d) { QTest::keyClick(d, Qt::Key_Escape); }},
        {"No", [](QWidget* d) { qobject_cast<QMessageBox*>(d)->button(QMessageBox::No)->click(); }},
        {"close box", [](QWidget* d) { d->close(); }},
    };
    for (const Taken& t : takenNames) {
        const QString path = pathOf(t.name);
        if (t.linkTo.isEmpty()) {
            folder.writeBytes(QString(t.name) + ".bmp", "an older level");
        } else {
            ASSERT_TRUE(QFile::link(t.linkTo, path));
        }
        const QByteArray before = folder.readBytes(QString(t.name) + ".bmp");
        creator.m_saved = false; // as the main window's Create Level does
        creator.Create();
        paintFinishAndStart();
        Hand{&creator}.stroke({40, 200}, {360, 200});
        const QImage painting = creator.m_canvas.image();
        typeName(t.name);

        for (const auto& [way, no] : noAnswers) {
            QMessageBox::StandardButtons buttons;
            bool noIsDefault = false;
            bool plain = false;
            QString caption;
            answers.then([&, no = no](QWidget* d) {
                if (auto* box = qobject_cast<QMessageBox*>(d)) {
                    buttons = box->standardButtons();
                    noIsDefault = box->defaultButton() == box->button(QMessageBox::No);
                    plain = box->textFormat() == Qt::PlainText;
                    caption = box->windowTitle();
                }
                no(d);
            });
            QTest::mouseClick(creator.GetDlgItem(id::creator::Save), Qt::LeftButton);
            const std::string label = std::string(t.name) + ", " + way;
            EXPECT_EQ(answers.takeTexts(),
                      QStringList{QDir::toNativeSeparators(path) + " already exists. Replace it?"})
                << label;
            EXPECT_EQ(buttons, QMessageBox::Yes | QMessageBox::No) << label;
            EXPECT_TRUE(noIsDefault) << label;
            EXPECT_TRUE(plain) << label;
            EXPECT_EQ(caption, "Kurvenflitzerl") << label;
            EXPECT_TRUE(creator.isVisible()) << label;
            EXPECT_FALSE(creator.m_saved) << label;
            EXPECT_EQ(creator.m_canvas.image(), painting) << label;
            EXPECT_EQ(nameEdit()->text(), t.name) << label;
            EXPECT_TRUE(creator.item<QRadioButton>(id::creator::Start)->isChecked()) << label;
            EXPECT_EQ(QFileInfo(path).symLinkTarget(), t.linkTo) << label;
            EXPECT_TRUE(folder.readBytes(QString(t.name) + ".bmp") == before) << label;
        }

        answers.clickButton(QMessageBox::Yes).clickOk();
        QTest::mouseClick(creator.GetDlgItem(id::creator::Save), Qt::LeftButton);
        EXPECT_EQ(answers.takeTexts().last(), "Saved as : " + QDir::toNativeSeparators(path));
        EXPECT_FALSE(creator.isVisible()) << t.name;
        EXPECT_TRUE(creator.m_saved) << t.name;
        EXPECT_FALSE(QFileInfo(path).isSymLink()) << t.name;
        EXPECT_EQ(QFileInfo(path).size(), 480054) << t.name;
    }
    QFile file(notes);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), notesText);
    EXPECT_EQ(QDir(elsewhere.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
              QStringList{"notes.txt"});
    EXPECT_EQ(answers.unexpected(), 0);
}

// A save that cannot be written says so, keeps the dialog and the painting, and leaves any
// existing level of that name and the folder as they were.
TEST_F(CreatorTest, AFailedSaveIsReportedAndLeavesEverythingAsItWas) {
    struct Case {
        const char* name;
        const char* debugText;
        bool fullDisk;
        bool exists; // asks first, and the player says Yes
        int error;   // the system's reason
    };
    const Case cases[] = {{"missing/track", "CreateFile failed!", false, false, ENOENT},
                          {"folder", "CreateFile failed!", false, false, EISDIR},
                          {"track", "WriteFile failed!", true, true, EFBIG}};
    QDir(folder.path()).mkdir("folder.bmp");
    const QByteArray old = "an older level";
    folder.writeBytes("track.bmp", old);
    creator.Create();
    Hand{&creator}.stroke({40, 200}, {360, 200});
    paintFinishAndStart();
    const QStringList before = QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden);
    for (const Case& c : cases) {
        debugLines.clear();
        typeName(c.name);
        if (c.exists)
            answers.clickButton(QMessageBox::Yes);
        answers.clickOk();
        {
            std::optional<test::FileSizeLimit> disk;
            if (c.fullDisk)
                disk.emplace(1000);
            QTest::mouseClick(creator.GetDlgItem(id::creator::Save), Qt::LeftButton);
        }
        const QString path = QDir::toNativeSeparators(pathOf(c.name));
        ASSERT_EQ(answers.texts().size(), c.exists ? 2 : 1) << c.name;
        // The system's own words ("File too large" for the full disk), never "Unknown error".
        EXPECT_EQ(answers.takeTexts().last(),
                  QStringLiteral("The level could not be saved as \"%1\".\n%2")
                      .arg(path, QString::fromLocal8Bit(std::strerror(c.error))))
            << c.name;
        EXPECT_EQ(debugLines, QStringList{c.debugText}) << c.name;
        EXPECT_TRUE(creator.isVisible()) << c.name;
        EXPECT_FALSE(creator.m_saved) << c.name;
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden), before) << c.name;
    }
    EXPECT_EQ(folder.readBytes("track.bmp"), old);
    EXPECT_EQ(colorRefFromRgb(creator.m_canvas.image().pixel(200, 200)), kWall);
    EXPECT_EQ(answers.unexpected(), 0);
}

TEST_F(CreatorTest, APictureThatCannotBeMadeIsReportedToTheDebugOutput) {
    EXPECT_FALSE(creator.WriteLevelBitmap(creator.m_canvas.image(), 0, 400, pathOf("none")));
    EXPECT_EQ(debugLines, QStringList{"CreateDIBSection failed!"});
    EXPECT_FALSE(QFileInfo::exists(pathOf("none")));
}

TEST_F(CreatorTest, ReopeningShowsABlankCanvasWithTheLastToolAndName) {
    QImage logo(30, 20, QImage::Format_RGB32);
    logo.fill(Qt::blue);
    folder.writeBitmap("kf_2.gfx", logo);
    folder.writeBitmap("kf_x.bmp", logo);
    creator.Create();
    const QImage blank = creator.m_canvas.image();
    Hand{&creator}.choose(id::creator::Eraser);
    typeName("mine");
    creator.item<QSlider>(id::creator::BrushSize)->setFocus();
    QTest::keyClick(creator.GetDlgItem(id::creator::BrushSize), Qt::Key_Right);
    ASSERT_EQ(creator.m_brushSize, 3) << "keys move the brush size too";
    Hand{&creator}.stroke({40, 200}, {360, 200});
    creator.EndDialog(id::Cancel);

    // A picture that is gone by the next opening leaves the one shown before.
    QFile::remove(folder.file("kf_2.gfx"));
    creator.Create();
    EXPECT_EQ(creator.m_ctlLogo->picture().size(), QSize(30, 20));
    EXPECT_EQ(creator.m_ctlX->picture().size(), QSize(30, 20));
    EXPECT_TRUE(creator.m_ctlX->isHidden());
    EXPECT_EQ(creator.m_canvas.image(), blank);
    EXPECT_EQ(creator.m_tool, kToolEraser);
    EXPECT_TRUE(creator.item<QRadioButton>(id::creator::Eraser)->isChecked());
    EXPECT_EQ(nameEdit()->text(), "mine");
    EXPECT_EQ(creator.m_brushSize, 2);
    EXPECT_EQ(creator.item<QSlider>(id::creator::BrushSize)->value(), 2);
}

// Any mouse action on the slider sets the brush size once the button is let go, a click on the
// track as well as a drag of the thumb.
TEST_F(CreatorTest, TheSliderSetsTheBrushSizeWhenTheMouseLetsGo) {
    creator.Create();
    auto* slider = creator.item<QSlider>(id::creator::BrushSize);
    const QPoint farRight(slider->width() - 3, slider->height() / 2);
    QTest::mousePress(slider, Qt::LeftButton, {}, farRight);
    EXPECT_EQ(creator.m_brushSize, 2) << "a click on the track counts once it is let go";
    QTest::mouseRelease(slider, Qt::LeftButton, {}, farRight);
    ASSERT_EQ(slider->value(), 5);
    EXPECT_EQ(creator.m_brushSize, 5);

    // The thumb now stands at the right end; drag it to the left end.
    const QPoint thumb = farRight;
    const int before = creator.m_brushSize;
    QTest::mousePress(slider, Qt::LeftButton, {}, thumb);
    QMouseEvent drag(QEvent::MouseMove, QPointF(2, thumb.y()), slider->mapToGlobal(QPointF(2, 0)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(slider, &drag);
    EXPECT_EQ(creator.m_brushSize, before) << "the drag counts once it is let go";
    QTest::mouseRelease(slider, Qt::LeftButton, {}, {2, thumb.y()});
    EXPECT_EQ(slider->value(), 1);
    EXPECT_EQ(creator.m_brushSize, 1);
}

} // namespace
