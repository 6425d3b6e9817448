#include "res/ControlIds.h"
#include "support/ModalAnswerer.h"
#include "support/Pipes.h"
#include "support/PlayFolder.h"
#include "support/ShownAsWritten.h"
#include "toolkit/Controls.h"
#include "toolkit/FileDialog.h"
#include "toolkit/ImageView.h"
#include "window/MainDialog.h"

#include "support/QtPrinters.h"
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using namespace kf;
using kf::test::ModalAnswerer;
using kf::test::PlayFolder;
using kf::test::smallTestLevel;

QImage filled(int w, int h, QColor c) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(c);
    return img;
}

class MainDialogTest : public ::testing::Test {
protected:
    void TearDown() override { setFileOpenChooser(nullptr); }

    MainDialog& open() {
        dialog = std::make_unique<MainDialog>();
        dialog->Create();
        return *dialog;
    }
    QString shown(int id) const {
        QWidget* w = dialog->GetDlgItem(id);
        if (auto* e = qobject_cast<QLineEdit*>(w))
            return e->text();
        if (auto* l = qobject_cast<QLabel*>(w))
            return l->text();
        return {};
    }
    // One tick of the 100 ms timer, which writes the fields to the controls.
    void tick() { dialog->OnTimer(); }
    // The next Load Level picks `path` (nullopt: Cancel) and records what was asked.
    void chooseNext(std::optional<QString> path) {
        setFileOpenChooser([this, path](QWidget*, const FileOpenRequest& r) {
            requests.push_back(r);
            return path;
        });
    }

    PlayFolder folder;
    ModalAnswerer answers;
    std::unique_ptr<MainDialog> dialog;
    std::vector<FileOpenRequest> requests;
};

TEST_F(MainDialogTest, StartsEmptyWithoutAnyFiles) {
    MainDialog& d = open();
    tick();
    EXPECT_FALSE(d.m_bmpLevel.hasPicture());
    EXPECT_FALSE(d.m_ctlBoard->isVisible());
    EXPECT_TRUE(d.m_ctlLogo->picture().isNull());
    EXPECT_EQ(d.m_bestName, "Nobody");
    EXPECT_EQ(d.m_bestTimeMs, 999999);
    EXPECT_EQ(shown(id::main::BestName), "Nobody");
    EXPECT_EQ(shown(id::main::BestTime), "999999");
    // Without a picture nothing can be started.
    d.OnLButtonDown(0, {20, 20});
    EXPECT_FALSE(d.m_run.running());
    EXPECT_TRUE(answers.texts().isEmpty());
}

TEST_F(MainDialogTest, StartsWithTheIntroLevelItsRecordAndPictures) {
    folder.writeBitmap("Level_00_INTRO.bmp", smallTestLevel());
    folder.writeBytes("Level_00_INTRO.bmp.kfh", "Ann\r\n1234");
    folder.writeBitmap("kf_1.gfx", filled(30, 20, Qt::blue));
    folder.writeBitmap("kf_x.gfx", filled(8, 6, Qt::yellow));
    MainDialog& d = open();

    EXPECT_EQ(d.m_ctlBoard->geometry(), QRect(11, 10, 100, 60));
    EXPECT_EQ(d.m_bmpLevel.colorAt({11, 10}), kStart);
    EXPECT_EQ(d.m_bmpLevel.colorAt({110, 69}), kFinish);
    EXPECT_EQ(d.m_ctlLogo->picture().size(), QSize(30, 20));
    EXPECT_EQ(d.m_ctlLogo->geometry().topLeft(), QPoint(411, 0));
    EXPECT_EQ(d.m_ctlX->picture().size(), QSize(8, 6));
    EXPECT_FALSE(d.m_ctlX->isVisible());
    EXPECT_EQ(d.m_bestName, "Ann");
    EXPECT_EQ(d.m_bestTimeMs, 1234);
    EXPECT_EQ(d.m_bestLabel, "The best run on this Track:");
    EXPECT_EQ(d.m_recordPath, QDir::current().absoluteFilePath("Level_00_INTRO.bmp.kfh"));
    EXPECT_TRUE(d.m_levelPath.isEmpty());
    const QList<QSize> iconSizes = d.windowIcon().availableSizes();
    EXPECT_TRUE(iconSizes.contains(QSize(16, 16)) && iconSizes.contains(QSize(32, 32)));
    tick();
    EXPECT_EQ(shown(id::main::BestName), "Ann");
    EXPECT_EQ(shown(id::main::BestTime), "1234");
    EXPECT_TRUE(answers.texts().isEmpty());
}

// A holder's name is shown as it stands in the record file. Taken as markup, an image source
// would make the game read /dev/zero until memory runs out, or wait for ever on a FIFO.
TEST_F(MainDialogTest, RecordHoldersThatLookLikeMarkupAreShownAsWritten) {
    ASSERT_EQ(mkfifo(qPrintable(folder.file("fifo")), 0600), 0);
    folder.writeBitmap("Level_00_INTRO.bmp", smallTestLevel());
    for (const QString name : {"<hr>", "&lt;&lt;", "<img src=/dev/zero>", "<img src=fifo>"}) {
        folder.writeBytes("Level_00_INTRO.bmp.kfh", name.toLatin1() + "\r\n1234");
        open();
        tick();
        EXPECT_TRUE(kf::test::shownAsWritten(dialog->item<QLabel>(id::main::BestName), name));
    }
}

TEST_F(MainDialogTest, StartUpWritesTheStartValuesIntoTheControls) {
    open();
    EXPECT_TRUE(dialog->item<QRadioButton>(id::main::DotStyle)->isChecked());
    EXPECT_FALSE(dialog->item<QRadioButton>(id::main::LineStyle)->isChecked());
    EXPECT_EQ(shown(id::main::Time), "0");
    EXPECT_EQ(shown(id::main::Distance), "0");
    EXPECT_EQ(shown(id::main::Speed), "0");
    EXPECT_EQ(shown(id::main::Go), ""); // the template's "GO !" is replaced
    EXPECT_EQ(shown(id::main::HiddenStatic), "");
}

TEST_F(MainDialogTest, RecordWithTimeZeroReadsAsFiveNines) {
    folder.writeBitmap("Level_00_INTRO.bmp", smallTestLevel());
    folder.writeBytes("Level_00_INTRO.bmp.kfh", "Zed\r\n0");
    MainDialog& d = open();
    EXPECT_EQ(d.m_bestName, "Zed");
    EXPECT_EQ(d.m_bestTimeMs, 99999);
}

TEST_F(MainDialogTest, PicturesThatAreNoBitmapsAreSkippedSilently) {
    folder.writeBytes("Level_00_INTRO.bmp", "BM garbage");
    folder.writeBytes("kf_1.gfx", "");
    MainDialog& d = open();
    tick();
    EXPECT_FALSE(d.m_bmpLevel.hasPicture());
    EXPECT_TRUE(d.m_ctlLogo->picture().isNull());
    EXPECT_TRUE(answers.texts().isEmpty());
}

// Pipes where the pictures lie would keep the window from ever appearing, and a record file
// that is a link would show a line of some other file as the holder: all are skipped as
// missing files.
TEST_F(MainDialogTest, PipesAndLinkedRecordsAreSkippedWithoutWaiting) {
    test::Pipes pipes;
    for (const char* name : {"Level_00_INTRO.bmp", "kf_1.gfx", "kf_x.gfx"})
        pipes.make(folder.file(name));
    QTemporaryDir elsewhere;
    ASSERT_TRUE(elsewhere.isValid());
    const QString bashrc = elsewhere.filePath(".bashrc");
    {
        QFile file(bashrc);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("export PATH=$HOME/bin:$PATH\n1\n");
    }
    ASSERT_TRUE(QFile::link(bashrc, folder.file("Level_00_INTRO.bmp.kfh")));
    MainDialog& d = open();
    EXPECT_FALSE(pipes.waited());
    EXPECT_FALSE(d.m_bmpLevel.hasPicture());
    EXPECT_TRUE(d.m_ctlLogo->picture().isNull());
    EXPECT_TRUE(d.m_ctlX->picture().isNull());
    EXPECT_EQ(d.m_bestName, "Nobody");
    EXPECT_EQ(d.m_bestTimeMs, 999999);

    // Chosen with Load Level, a pipe is a file that does not load as a level.
    const QString pipe = pipes.make(folder.file("pipe.bmp"));
    answers.clickOk();
    chooseNext(pipe);
    d.OnLoadLevel();
    EXPECT_FALSE(pipes.waited());
    EXPECT_EQ(answers.texts(),
              QStringList{QString("The file \"%1\" could not be loaded as a level.")
                              .arg(QDir::toNativeSeparators(pipe))});
    EXPECT_TRUE(d.m_levelPath.isEmpty());
}

// Data exchange: the two range checks when the fields are read back.
struct RangeCase {
    int id;
    QString text;
    QString message;
};

class RangeCheckTest : public MainDialogTest, public ::testing::WithParamInterface<RangeCase> {};

TEST_P(RangeCheckTest, RefusesWithTheStandardMessageAndSkipsTheRest) {
    const RangeCase c = GetParam();
    MainDialog& d = open();
    answers.clickOk();
    d.item<QLineEdit>(id::main::Distance)->setText("77"); // before the checked fields: read
    d.item<QRadioButton>(id::main::LineStyle)->setChecked(true);
    d.item<QLineEdit>(id::main::BestTime)->setText("4321"); // after both: never read
    d.item<QLineEdit>(c.id)->setText(c.text);

    EXPECT_FALSE(d.UpdateData(true));
    ASSERT_EQ(answers.texts().size(), 1);
    EXPECT_EQ(answers.texts()[0], c.message);
    EXPECT_EQ(d.focusWidget(), d.GetDlgItem(c.id));
    EXPECT_EQ(d.m_bestTimeMs, 999999);
    if (c.id == id::main::Time) {
        EXPECT_EQ(d.m_trailStyle, 0); // the radio group comes after the time field
        EXPECT_EQ(d.m_distance, 0);
    } else {
        EXPECT_EQ(d.m_trailStyle, 1);
        EXPECT_EQ(d.m_distance, 77);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Fields, RangeCheckTest,
    ::testing::Values(
        RangeCase{id::main::Time, "1000000000", "Please enter an integer between 0 and 999999999."},
        RangeCase{id::main::Time, "-1", "Please enter an integer between 0 and 999999999."},
        RangeCase{id::main::Time, "12a", "Please enter an integer."},
        RangeCase{id::main::Speed, "100000000", "Please enter an integer between 0 and 99999999."},
        RangeCase{id::main::Speed, "-5", "Please enter an integer between 0 and 99999999."}));

TEST_F(MainDialogTest, ReadBackAcceptsTheLimits) {
    MainDialog& d = open();
    d.item<QLineEdit>(id::main::Time)->setText("999999999");
    d.item<QLineEdit>(id::main::Speed)->setText(" 99999999 ");
    EXPECT_TRUE(d.UpdateData(true));
    EXPECT_EQ(d.m_timeMs, 999999999);
    EXPECT_EQ(d.m_speed, 99999999);
    EXPECT_TRUE(answers.texts().isEmpty());
}

TEST_F(MainDialogTest, TrailStyleFollowsTheRadioButtons) {
    MainDialog& d = open();
    QTest::mouseClick(d.GetDlgItem(id::main::LineStyle), Qt::LeftButton);
    EXPECT_EQ(d.m_trailStyle, 1);
    QTest::mouseClick(d.GetDlgItem(id::main::DotStyle), Qt::LeftButton);
    EXPECT_EQ(d.m_trailStyle, 0);
}

TEST_F(MainDialogTest, TrailStyleKeepsItsValueAfterARefusedRead) {
    MainDialog& d = open();
    answers.clickOk();
    d.item<QLineEdit>(id::main::Time)->setText("-3");
    QTest::mouseClick(d.GetDlgItem(id::main::LineStyle), Qt::LeftButton);
    EXPECT_EQ(answers.texts().size(), 1);
    EXPECT_EQ(d.m_trailStyle, 0);
}

TEST_F(MainDialogTest, EnterClosesOnlyWhenTheFieldsPass) {
    MainDialog& d = open();
    answers.clickOk();
    // Enter in a field is the OK command; on a focused button it would press that button.
    d.GetDlgItem(id::main::Speed)->setFocus();
    d.item<QLineEdit>(id::main::Speed)->setText("123456789");
    QTest::keyClick(&d, Qt::Key_Return);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(answers.texts().size(), 1);

    d.item<QLineEdit>(id::main::Speed)->setText("5");
    QTest::keyClick(&d, Qt::Key_Return);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.result(), id::Ok);
}

TEST_F(MainDialogTest, TheFocusStartsOnLoadLevelWhereEnterPressesIt) {
    MainDialog& d = open();
    EXPECT_EQ(d.focusWidget(), d.GetDlgItem(id::main::LoadLevel));
    chooseNext(std::nullopt);
    QTest::keyClick(&d, Qt::Key_Return);
    EXPECT_EQ(requests.size(), 1u);
    EXPECT_TRUE(d.isVisible());
}

TEST_F(MainDialogTest, EscapeClosesAtOnce) {
    MainDialog& d = open();
    d.item<QLineEdit>(id::main::Speed)->setText("not a number");
    QTest::keyClick(&d, Qt::Key_Escape);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.result(), id::Cancel);
    EXPECT_TRUE(answers.texts().isEmpty());
}

// Load Level.
class LoadLevelTest : public MainDialogTest {
protected:
    void SetUp() override {
        folder.writeBitmap("Level_00_INTRO.bmp", smallTestLevel());
        folder.writeBytes("Level_00_INTRO.bmp.kfh", "Ann\r\n1234");
        QDir(folder.path()).mkdir("tracks");
        open();
    }
    QString track(const QString& name) const { return folder.file("tracks/" + name); }
};

TEST_F(LoadLevelTest, LoadsPictureRecordAndPaths) {
    const QString level = folder.writeBitmap("tracks/spiral.bmp", filled(400, 400, Qt::green));
    folder.writeBytes("tracks/spiral.bmp.kfh", "Bob\r\n555");
    chooseNext(level);
    dialog->OnLoadLevel();

    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].filter, "KF-Level-Bitmap-Dateien (*.bmp)");
    EXPECT_EQ(requests[0].defaultSuffix, "bmp");
    EXPECT_EQ(requests[0].initialPath, "");
    EXPECT_EQ(dialog->m_levelPath, level);
    EXPECT_EQ(dialog->m_recordPath, level + ".kfh");
    EXPECT_EQ(dialog->m_bestName, "Bob");
    EXPECT_EQ(dialog->m_bestTimeMs, 555);
    EXPECT_EQ(dialog->m_bmpLevel.colorAt({410, 409}), kStart);
    EXPECT_EQ(dialog->m_ctlBoard->geometry(), QRect(11, 10, 400, 400));
    // The folder of the chosen file becomes the current directory.
    EXPECT_EQ(QDir::current().absolutePath(), QDir(folder.file("tracks")).absolutePath());
    tick();
    EXPECT_EQ(shown(id::main::BestName), "Bob");

    chooseNext(std::nullopt);
    dialog->OnLoadLevel();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].initialPath, level);
    EXPECT_TRUE(answers.texts().isEmpty());
}

TEST_F(LoadLevelTest, CancelChangesNothing) {
    const QString cwd = QDir::currentPath();
    const QString introRecord = dialog->m_recordPath;
    chooseNext(std::nullopt);
    dialog->OnLoadLevel();
    dialog->OnLoadLevel();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].initialPath, "");
    EXPECT_EQ(dialog->m_levelPath, "");
    EXPECT_EQ(dialog->m_recordPath, introRecord);
    EXPECT_EQ(dialog->m_bestName, "Ann");
    EXPECT_EQ(dialog->m_bmpLevel.colorAt({11, 10}), kStart);
    EXPECT_EQ(QDir::currentPath(), cwd);
    EXPECT_TRUE(answers.texts().isEmpty());
}

TEST_F(LoadLevelTest, ABrokenFileKeepsTheWholeLevelAndSaysSo) {
    const QString good = folder.writeBitmap("tracks/good.bmp", smallTestLevel(80, 50));
    folder.writeBytes("tracks/good.bmp.kfh", "Cat\r\n4000");
    chooseNext(good);
    dialog->OnLoadLevel();

    const QByteArray bitmap = folder.readBytes("tracks/good.bmp");
    const QByteArray brokenFiles[] = {QByteArray(), bitmap.left(60), "not a picture at all"};
    for (const QByteArray& bytes : brokenFiles) {
        const QString broken = folder.writeBytes("tracks/broken.bmp", bytes);
        folder.writeBytes("tracks/broken.bmp.kfh", "Dan\r\n10");
        answers.clickOk();
        chooseNext(broken);
        dialog->OnLoadLevel();
        const QStringList seen = answers.takeTexts();
        ASSERT_EQ(seen.size(), 1);
        EXPECT_EQ(seen[0], QString("The file \"%1\" could not be loaded as a level.")
                               .arg(QDir::toNativeSeparators(broken)));
        EXPECT_EQ(dialog->m_levelPath, good);
        EXPECT_EQ(dialog->m_recordPath, good + ".kfh");
        EXPECT_EQ(dialog->m_bestName, "Cat");
        EXPECT_EQ(dialog->m_bestTimeMs, 4000);
        EXPECT_EQ(dialog->m_ctlBoard->size(), QSize(80, 50));
    }
}

TEST_F(LoadLevelTest, ARecordAfterARefusedFileGoesBesideTheIntroLevel) {
    // The refused file lies in another folder, which the file dialog makes current.
    const QString broken = folder.writeBytes("tracks/broken.bmp", "not a picture at all");
    answers.clickOk();
    chooseNext(broken);
    dialog->OnLoadLevel();
    ASSERT_EQ(QDir::current().absolutePath(), QDir(folder.file("tracks")).absolutePath());

    answers.clickOk().typeAndEnter(id::newRecord::Name, "Eve");
    dialog->OnLButtonDown(kMkLButton, {15, 50});
    dialog->OnMouseMove(kMkLButton, {105, 60}); // under the wall, straight onto the finish
    dialog->OnLButtonUp(0, {105, 60});
    const QByteArray expected = "Eve\r\n" + QByteArray::number(dialog->m_timeMs);
    EXPECT_EQ(folder.readBytes("Level_00_INTRO.bmp.kfh"), expected);
    EXPECT_FALSE(QFile::exists(track("Level_00_INTRO.bmp.kfh")));
    EXPECT_EQ(answers.unexpected(), 0);
}

TEST_F(LoadLevelTest, ALevelWithoutRecordHasNobodyAsBest) {
    chooseNext(folder.writeBitmap("tracks/new.bmp", smallTestLevel()));
    dialog->OnLoadLevel();
    EXPECT_EQ(dialog->m_bestName, "Nobody");
    EXPECT_EQ(dialog->m_bestTimeMs, 999999);
}

TEST_F(LoadLevelTest, PicturesOfOtherSizesAreShownUnscaledFromTheSameCorner) {
    chooseNext(folder.writeBitmap("tracks/small.bmp", filled(50, 40, Qt::red)));
    dialog->OnLoadLevel();
    EXPECT_EQ(dialog->m_ctlBoard->geometry(), QRect(11, 10, 50, 40));
    EXPECT_EQ(dialog->m_bmpLevel.colorAt({60, 49}), kFinish);
    EXPECT_EQ(dialog->m_bmpLevel.colorAt({61, 49}), kNoColor);

    chooseNext(folder.writeBitmap("tracks/large.bmp", filled(500, 450, Qt::black)));
    dialog->OnLoadLevel();
    EXPECT_EQ(dialog->m_ctlBoard->geometry(), QRect(11, 10, 500, 450));
    EXPECT_EQ(dialog->m_bmpLevel.colorAt({510, 459}), kWall);
    // The controls stay above a picture that reaches under them.
    EXPECT_EQ(dialog->childAt(dialog->GetDlgItem(id::main::LoadLevel)->geometry().center()),
              dialog->GetDlgItem(id::main::LoadLevel));
}

TEST_F(LoadLevelTest, RedrawRemovesTheTrail) {
    MainDialog& d = *dialog;
    const QPoint inside(60, 50);
    d.m_bmpLevel.drawTrailDot(inside);
    EXPECT_EQ(d.m_bmpLevel.colorAt(inside), kTrail);
    d.OnRedraw();
    EXPECT_EQ(d.m_bmpLevel.colorAt(inside), kWhite);
    EXPECT_EQ(d.m_ctlBoard->grab().toImage().pixel(inside - QPoint(11, 10)), qRgb(255, 255, 255));
}

} // namespace
