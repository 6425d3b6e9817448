#include "creator/LevelBitmap.h"
#include "history/HistoryWindow.h"
#include "history/HistoryWriter.h"
#include "history/RunHistory.h"
#include "level/BitmapFile.h"
#include "res/ControlIds.h"
#include "support/ModalAnswerer.h"
#include "support/PlayFolder.h"
#include "toolkit/FileDialog.h"
#include "toolkit/ImageView.h"
#include "tracks/TrackBrowser.h"
#include "tracks/TrackList.h"
#include "window/MainDialog.h"

#include "support/QtPrinters.h"
#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QMenu>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

#include <fcntl.h>
#include <unistd.h>

namespace {

using namespace kf;
using kf::test::ModalAnswerer;
using kf::test::PlayFolder;
using kf::test::smallTestLevel;

// The small test level at client (11, 10): start x 11..20.
constexpr QPoint kOnTrackStart(15, 50);

// A folder of tracks beside the intro level: levels with and without a record file, and broken
// files at both ends and in the middle: no bitmap at all, one whose headers pass but whose
// picture does not load (no colour planes), and one cut off.
class TracksTest : public ::testing::Test {
public:
    void SetUp() override {
        folder.writeBitmap("Level_00_INTRO.bmp", smallTestLevel());
        QDir(folder.path()).mkdir("tracks");
        folder.writeBytes("tracks/a.bmp", "not a picture at all");
        folder.writeBitmap("tracks/b.bmp", smallTestLevel(80, 50));
        folder.writeBytes("tracks/b.bmp.kfh", "Bob\r\n555");
        QByteArray noPlanes = folder.readBytes("tracks/b.bmp");
        noPlanes[26] = 0;
        folder.writeBytes("tracks/c.bmp", noPlanes);
        folder.writeBitmap("tracks/d.bmp", smallTestLevel(90, 60));
        folder.writeBytes("tracks/e.bmp", folder.readBytes("tracks/d.bmp").left(60));
        dialog = std::make_unique<MainDialog>();
        dialog->Create();
        dialog->useHistory(std::make_unique<HistoryWriter>(folder.file("history.sqlite")));
        loadLevel("b.bmp");
    }
    void TearDown() override { setFileOpenChooser(nullptr); }

    QString track(const QString& name) const { return folder.file("tracks/" + name); }
    void loadLevel(const QString& name) {
        setFileOpenChooser([&](QWidget*, const FileOpenRequest&) { return track(name); });
        dialog->OnLoadLevel();
    }
    // The level on the board: its file, record file, best run and picture size.
    QString state() const {
        const MainDialog& d = *dialog;
        return QStringLiteral("%1 %2 %3 %4 %5x%6")
            .arg(QDir(folder.file("tracks")).relativeFilePath(d.m_levelPath),
                 QDir(folder.file("tracks")).relativeFilePath(d.m_recordPath), d.m_bestName)
            .arg(d.m_bestTimeMs)
            .arg(d.m_ctlBoard->width())
            .arg(d.m_ctlBoard->height());
    }
    TrackBrowser* openBrowser() {
        QTest::keyClick(dialog.get(), Qt::Key_T);
        TrackBrowser* browser = dialog->m_trackBrowser;
        if (browser) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return !browser->tracks()->scanning(); }, 5000));
        }
        return browser;
    }

    PlayFolder folder;
    ModalAnswerer answers;
    std::unique_ptr<MainDialog> dialog;
};

// Page Down / Page Up go through the folder in name order as Load Level loads, skip broken files
// silently and stop at the ends; not during a run, nor in a match while Load Level is locked.
TEST_F(TracksTest, PageKeysStepThroughTheFolderSkippingBrokenFiles) {
    const QString onB = "b.bmp b.bmp.kfh Bob 555 80x50";
    const QString onD = "d.bmp d.bmp.kfh Nobody 999999 90x60";
    Match& match = dialog->m_multiplayer.m_match;
    const struct {
        const char* name;
        std::function<void(TracksTest&)> before;
        Qt::Key key;
        QString after;
    } steps[] = {
        {"first level: nothing before", {}, Qt::Key_PageUp, onB},
        {"over the middle", {}, Qt::Key_PageDown, onD},
        {"last level: nothing after", {}, Qt::Key_PageDown, onD},
        {"back over the middle", {}, Qt::Key_PageUp, onB},
        {"a match between levels",
         [&](TracksTest&) {
             match.startMatch(2, 1);
             match.seatPlayers({"Cleo", "Dan"});
         },
         Qt::Key_PageDown, onD},
        {"a match while locked", [&](TracksTest&) { match.scoreRun(kFailedRunMs); }, Qt::Key_PageUp,
         onD},
        {"during a run",
         [&](TracksTest& t) {
             match.m_active = false;
             t.dialog->OnLButtonDown(kMkLButton, kOnTrackStart);
             ASSERT_TRUE(t.dialog->m_run.running());
         },
         Qt::Key_PageUp, onD},
    };
    ASSERT_EQ(state(), onB);
    for (const auto& s : steps) {
        SCOPED_TRACE(s.name);
        if (s.before)
            s.before(*this);
        QTest::keyClick(dialog.get(), s.key);
        EXPECT_EQ(state(), s.after);
    }
    dialog->OnTimer();
    EXPECT_EQ(static_cast<QWidget*>(dialog->GetDlgItem(id::main::BestName))->property("text"),
              "Nobody");
    EXPECT_TRUE(answers.texts().isEmpty());
}

QStringList trackRowTexts(const TrackList& tracks, int row) {
    QStringList cells;
    for (int c = TrackList::Track; c < TrackList::ColumnCount; ++c)
        cells << tracks.data(tracks.index(row, c), Qt::DisplayRole).toString();
    return cells;
}

// Each loadable level with its unsmoothed thumbnail, its difficulty, its record (or none) and
// the history's counts; the broken files are not listed. The board's level is the current row.
TEST_F(TracksTest, TheBrowserListsTheLoadableLevelsWithRecordsAndHistory) {
    const QString sha = bytesSha256(folder.readBytes("tracks/b.bmp"));
    for (const auto& [outcome, time] :
         {std::pair{RunEnd::Finished, 900}, std::pair{RunEnd::Wall, 300},
          std::pair{RunEnd::Finished, 700}})
        dialog->m_history->record(
            {sha, "b.bmp", QDateTime::currentDateTimeUtc(), false, "", outcome, time, 1, 1});
    ASSERT_TRUE(QTest::qWaitFor([this] { return dialog->m_history->settled(); }));

    TrackBrowser* browser = openBrowser();
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->isVisible());
    EXPECT_EQ(browser->windowTitle(), "Kurvenflitzerl.exe  -> Tracks");
    const TrackList& tracks = *browser->tracks();
    ASSERT_EQ(tracks.rowCount(), 2);
    // The counts come from the history's thread.
    ASSERT_TRUE(QTest::qWaitFor([&] { return tracks.track(0).tally && tracks.track(1).tally; }));
    EXPECT_EQ(trackRowTexts(tracks, 0),
              (QStringList{"b.bmp", "1.0", "Bob", "555", "3", "2", "700"}));
    EXPECT_EQ(trackRowTexts(tracks, 1), (QStringList{"d.bmp", "1.0", "Nobody", "", "0", "0", ""}));
    EXPECT_EQ(browser->view()->currentIndex().row(), 0);
    for (int row = 0; row < 2; ++row) {
        const QImage thumbnail = tracks.track(row).thumbnail.toImage();
        EXPECT_EQ(thumbnail.size(), row == 0 ? QSize(96, 60) : QSize(96, 64));
        // No blending: every pixel has one of the level's own colours.
        for (int y = 0; y < thumbnail.height(); ++y) {
            for (int x = 0; x < thumbnail.width(); ++x) {
                const QRgb c = thumbnail.pixel(x, y) | 0xff000000;
                ASSERT_TRUE(c == qRgb(255, 255, 255) || c == qRgb(0, 255, 0) ||
                            c == qRgb(255, 0, 0) || c == qRgb(0, 0, 0))
                    << std::hex << c << " at " << x << "," << y;
            }
        }
    }
}

// Enter and a double click load the chosen level as Load Level does and close the browser;
// the board's context menu opens it too.
TEST_F(TracksTest, EnterOrADoubleClickLoadsTheChosenLevel) {
    TrackBrowser* browser = openBrowser();
    ASSERT_NE(browser, nullptr);
    QTableView* view = browser->view();
    view->setCurrentIndex(browser->tracks()->index(1, TrackList::Track));
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_EQ(state(), "d.bmp d.bmp.kfh Nobody 999999 90x60");
    EXPECT_FALSE(browser->isVisible());

    QStringList offered;
    QTimer::singleShot(50, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* a : menu->actions()) {
                offered << a->text();
                if (a->text() == QStringLiteral("Tracks…"))
                    a->trigger();
            }
            menu->close();
        }
    });
    const QPoint onBoard(40, 40);
    QContextMenuEvent event(QContextMenuEvent::Mouse, onBoard, dialog->mapToGlobal(onBoard));
    QApplication::sendEvent(dialog.get(), &event);
    QTest::qWait(80);
    EXPECT_TRUE(offered.contains(QStringLiteral("Tracks…"))) << offered.join(", ").toStdString();
    ASSERT_TRUE(browser->isVisible());
    // Its number once the broken files above it have left the list.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !browser->tracks()->scanning(); }, 5000));
    EXPECT_EQ(view->currentIndex().row(), 1);
    const QRect first = view->visualRect(browser->tracks()->index(0, TrackList::Track));
    // As the system sends them: a press and a release, then the double click.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, first.center());
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, first.center());
    EXPECT_EQ(state(), "b.bmp b.bmp.kfh Bob 555 80x50");
    EXPECT_FALSE(browser->isVisible());
    EXPECT_EQ(answers.unexpected(), 0);
}

// A level of 8192 x 4096 pixels at one bit (4 MB), which counts as a large picture: the game
// may hold a picture at four bytes a pixel.
QByteArray largeLevelBytes() {
    constexpr quint32 kRowsBytes = 8192 / 8 * 4096;
    QByteArray b("BM");
    const auto put = [&b](quint32 value, int size) {
        for (int i = 0; i < size; ++i)
            b.append(char(value >> (8 * i)));
    };
    for (const auto& [value, size] : {std::pair{62 + kRowsBytes, 4},
                                      {0, 4},
                                      {62, 4},
                                      {40, 4},
                                      {8192, 4},
                                      {4096, 4},
                                      {1, 2},
                                      {1, 2},
                                      {0, 4},
                                      {kRowsBytes, 4},
                                      {0, 4},
                                      {0, 4},
                                      {2, 4},
                                      {0, 4},
                                      {0xffffff, 4},
                                      {0, 4}})
        put(value, size);
    return b + QByteArray(kRowsBytes, '\0');
}

// The browser over big folders: it reads the pictures of the rows in view only, a few at a
// time and a large one alone, keeps the thumbnails of rows near them only, stops and empties
// itself when closed, and lists a file whatever bytes its name is made of.
TEST(TrackBrowserAtScale, ReadsWhatIsInViewAFewAtATimeAndStopsWhenClosed) {
    const QByteArray level = encodeLevelBitmap(smallTestLevel(40, 30));
    const auto settled = [](TrackBrowser& b) {
        return QTest::qWaitFor([&] { return !b.tracks()->scanning(); }, 10000);
    };
    const struct {
        const char* label;
        int levels;      // small ones, Level_000.bmp on
        int large;       // of 8192 x 4096, Large_0.bmp on
        bool latin1Name; // Caf\xe9.bmp and its record file
        std::function<void(TrackBrowser&)> check;
    } cases[] = {
        {"only the rows in view are read", 40, 0, false,
         [](TrackBrowser& b) {
             const TrackList& t = *b.tracks();
             ASSERT_EQ(t.rowCount(), 40);
             const int last = b.view()->rowAt(b.view()->viewport()->height() - 1);
             ASSERT_EQ(b.view()->rowAt(0), 0);
             ASSERT_TRUE(last > 0 && last < 39) << last;
             for (int row = 0; row < t.rowCount(); ++row) {
                 EXPECT_EQ(t.track(row).sha256.isEmpty(), row > last) << row;
                 EXPECT_EQ(t.track(row).thumbnail.isNull(), row > last) << row;
             }
         }},
        {"rows far out of view give their thumbnails back", 80, 0, false,
         [&](TrackBrowser& b) {
             const TrackList& t = *b.tracks();
             b.view()->scrollToBottom();
             ASSERT_TRUE(QTest::qWaitFor([&] { return !t.track(79).thumbnail.isNull(); }));
             ASSERT_TRUE(settled(b));
             EXPECT_TRUE(t.track(0).thumbnail.isNull());
             EXPECT_FALSE(t.track(0).sha256.isEmpty());
         }},
        {"small pictures are read two at a time", 6, 0, false,
         [](TrackBrowser& b) { EXPECT_EQ(b.tracks()->mostPicturesAtOnce(), 2); }},
        {"a large picture is read alone", 0, 3, false,
         [](TrackBrowser& b) {
             EXPECT_EQ(b.tracks()->mostPicturesAtOnce(), 1);
             for (int row = 0; row < 3; ++row)
                 EXPECT_EQ(b.tracks()->track(row).thumbnail.size(), QSize(96, 48)) << row;
         }},
        {"closing stops the reading and empties the list", 40, 2, false,
         [&](TrackBrowser& b) {
             b.showFolder(b.tracks()->folder(), {}, nullptr);
             ASSERT_TRUE(b.tracks()->scanning());
             b.close();
             EXPECT_EQ(b.tracks()->rowCount(), 0);
             ASSERT_TRUE(settled(b));
             EXPECT_EQ(b.tracks()->rowCount(), 0);
         }},
        {"a name that is not UTF-8 is listed, loads, and keys the bytes it was read from", 0, 0,
         true,
         [&](TrackBrowser& b) {
             const TrackList& t = *b.tracks();
             ASSERT_EQ(t.rowCount(), 1);
             EXPECT_EQ(trackRowTexts(t, 0).mid(0, 4),
                       (QStringList{"Caf\uFFFD.bmp", "1.0", "Eve", "444"}));
             EXPECT_EQ(t.track(0).sha256,
                       QCryptographicHash::hash(level, QCryptographicHash::Sha256).toHex());
             QString chosen;
             QObject::connect(&b, &TrackBrowser::levelChosen,
                              [&](const QString& path) { chosen = path; });
             b.view()->setCurrentIndex(t.index(0, TrackList::Track));
             QTest::keyClick(b.view(), Qt::Key_Return);
             EXPECT_FALSE(readBitmapFile(chosen).isNull());
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        PlayFolder folder;
        for (int i = 0; i < c.levels; ++i)
            folder.writeBytes(QStringLiteral("Level_%1.bmp").arg(i, 3, 10, QLatin1Char('0')),
                              level);
        for (int i = 0; i < c.large; ++i)
            folder.writeBytes(QStringLiteral("Large_%1.bmp").arg(i), largeLevelBytes());
        // Qt cannot name these files, so the folder cannot remove them: the test does.
        const QByteArray latin1 = QFile::encodeName(folder.path()) + "/Caf\xe9.bmp";
        const std::pair<QByteArray, QByteArray> latin1Files[] = {{latin1, level},
                                                                 {latin1 + ".kfh", "Eve\r\n444"}};
        for (const auto& [path, bytes] : latin1Files) {
            if (!c.latin1Name)
                break;
            const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
            ASSERT_GE(fd, 0);
            ASSERT_EQ(::write(fd, bytes.constData(), size_t(bytes.size())), bytes.size());
            ::close(fd);
        }
        TrackBrowser browser;
        browser.showFolder(folder.path(), {}, nullptr);
        browser.show();
        ASSERT_TRUE(settled(browser));
        c.check(browser);
        for (const auto& [path, bytes] : latin1Files)
            ::unlink(path.constData());
    }
}

} // namespace

// Escape closes the history window and the track browser, also with the focus on their tables.
TEST(BesideWindowsTest, EscapeClosesThem) {
    HistoryWindow history;
    TrackBrowser browser;
    const std::pair<QWidget*, QWidget*> windows[] = {{&history, history.table()},
                                                     {&browser, browser.view()}};
    for (const auto& [window, table] : windows) {
        window->show();
        QTest::keyClick(table, Qt::Key_Escape);
        EXPECT_FALSE(window->isVisible()) << window->metaObject()->className();
    }
}
