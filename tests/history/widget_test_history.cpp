#include "history/HistoryWindow.h"
#include "history/HistoryWriter.h"
#include "history/RunHistory.h"
#include "res/ControlIds.h"
#include "support/ModalAnswerer.h"
#include "support/PlayFolder.h"
#include "support/PointerEvents.h"
#include "support/SpoiledDatabase.h"
#include "toolkit/FileDialog.h"
#include "window/MainDialog.h"

#include "support/QtPrinters.h"
#include <QApplication>
#include <QChart>
#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMouseEvent>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QValueAxis>
#include <QXYSeries>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <unistd.h>

namespace {

using namespace kf;
using kf::test::ModalAnswerer;
using kf::test::PlayFolder;
using kf::test::smallTestLevel;

// The small test level at client (11, 10): start x 11..20, finish x 101..110, a wall at client
// x = 61 over the rows y = 10..39.
constexpr QPoint kOnStart(15, 50);
constexpr QPoint kOnFinish(105, 50);
const QDateTime kStart = QDateTime(QDate(2026, 3, 1), QTime(9, 30), Qt::UTC);

QList<QPointF> pointsOf(const QChart* chart, const QString& name) {
    for (QAbstractSeries* s : chart->series()) {
        if (s->name() == name)
            return static_cast<QXYSeries*>(s)->points();
    }
    return {{-1, -1}};
}

QStringList tableRow(const QTableWidget* table, int row) {
    QStringList cells;
    for (int c = 0; c < table->columnCount(); ++c)
        cells << table->item(row, c)->text();
    return cells;
}

TEST(HistoryWindowTest, ShowsTheChartAndTheBestOfAKnownHistory) {
    QTemporaryDir dir;
    RunHistory history(dir.filePath("history.sqlite"));
    struct Run {
        RunEnd outcome;
        int timeMs;
        const char* player;
    } runs[] = {
        {RunEnd::Finished, 900, "Ann"}, {RunEnd::Wall, 300, ""},
        {RunEnd::Finished, 700, ""},    {RunEnd::Release, 200, ""},
        {RunEnd::Finished, 800, "Bob"}, {RunEnd::Finished, 600, "Cy"},
    };
    int minute = 0;
    for (const Run& r : runs) {
        history.record({"lvl", "Curves.bmp", kStart.addSecs(60 * minute++), false, r.player,
                        r.outcome, r.timeMs, r.timeMs / 2, 1000});
    }
    history.record({"other", "Curves.bmp", kStart, false, "", RunEnd::Finished, 100, 1, 1});

    HistoryWindow window;
    window.showHistory(&history, "lvl", "Curves.bmp");
    EXPECT_EQ(window.windowTitle(), "Kurvenflitzerl.exe  -> Run History");
    EXPECT_EQ(window.statusText(), "Track: Curves.bmp");
    EXPECT_EQ(pointsOf(window.chart(), "Finished runs"),
              (QList<QPointF>{{1, 900}, {3, 700}, {5, 800}, {6, 600}}));
    EXPECT_EQ(pointsOf(window.chart(), "Best so far"),
              (QList<QPointF>{{1, 900}, {3, 900}, {3, 700}, {6, 700}, {6, 600}}));
    EXPECT_EQ(pointsOf(window.chart(), "Failed runs"), (QList<QPointF>{{2, 0}, {4, 0}}));

    const QTableWidget* table = window.table();
    ASSERT_EQ(table->rowCount(), 4);
    const QString date = kStart.addSecs(300).toLocalTime().toString("yyyy-MM-dd HH:mm");
    EXPECT_EQ(tableRow(table, 0), (QStringList{date, "Cy", "600", "300", "1000"}));
    const char* order[] = {"600", "700", "800", "900"};
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(table->item(row, 2)->text(), order[row]);
}

// The values at which the axis draws a labelled tick.
QList<double> labelledTicks(const QValueAxis* axis) {
    QList<double> ticks;
    if (axis->tickType() == QValueAxis::TicksFixed) {
        const double step = (axis->max() - axis->min()) / (axis->tickCount() - 1);
        for (int i = 0; i < axis->tickCount(); ++i)
            ticks << axis->min() + i * step;
        return ticks;
    }
    const double first =
        axis->tickAnchor() +
        std::ceil((axis->min() - axis->tickAnchor()) / axis->tickInterval()) * axis->tickInterval();
    for (double v = first; v <= axis->max() + 1e-9; v += axis->tickInterval())
        ticks << v;
    return ticks;
}

// The x axis counts runs and labels its ticks as whole numbers, so every labelled tick must
// stand on a whole run number, whatever the number of runs (with four runs a tick at 1.25
// would read "1" and put run 1 beside it).
TEST(HistoryWindowTest, TheRunAxisTicksStandOnWholeRunNumbers) {
    for (const int runCount : {0, 1, 2, 3, 4, 6, 10, 23}) {
        QTemporaryDir dir;
        RunHistory history(dir.filePath("history.sqlite"));
        for (int i = 0; i < runCount; ++i) {
            history.record({"lvl", "Curves.bmp", kStart.addSecs(60 * i), false, "",
                            RunEnd::Finished, 500 + i, 100, 1000});
        }
        HistoryWindow window;
        window.showHistory(&history, "lvl", "Curves.bmp");
        const QList<QAbstractAxis*> axes = window.chart()->axes(Qt::Horizontal);
        ASSERT_EQ(axes.size(), 1);
        const auto* axis = qobject_cast<const QValueAxis*>(axes.first());
        ASSERT_NE(axis, nullptr);
        for (const double tick : labelledTicks(axis))
            EXPECT_NEAR(tick, std::round(tick), 1e-9) << runCount << " runs";
    }
}

class HistoryInGameTest : public ::testing::Test {
public:
    void SetUp() override {
        levelPath = folder.writeBitmap("Level_00_INTRO.bmp", smallTestLevel());
        dialog = std::make_unique<MainDialog>();
        dialog->Create();
    }
    // A store of the test's own, so no run of another test is in it.
    void useOwnHistory() {
        dialog->useHistory(std::make_unique<HistoryWriter>(folder.file("history.sqlite")));
    }
    // The runs of the level once the history's thread has written every run handed over.
    QList<HistoryRun> writtenRuns(const QString& sha) {
        EXPECT_TRUE(QTest::qWaitFor([this] { return dialog->m_history->settled(); }));
        return RunHistory(folder.file("history.sqlite")).runsOf(sha);
    }
    void press(QPoint p) { QTest::mousePress(dialog.get(), Qt::LeftButton, {}, p); }
    void release(QPoint p) { QTest::mouseRelease(dialog.get(), Qt::LeftButton, {}, p); }
    void move(QPoint p, bool buttonHeld = true) { test::movePointer(dialog.get(), p, buttonHeld); }
    void finishRun() {
        press(kOnStart);
        move({60, 50});
        move(kOnFinish);
        QTest::qWait(5);
        release(kOnFinish);
    }
    HistoryWindow* openWindow() {
        QTest::keyClick(dialog.get(), Qt::Key_H);
        // The window the game made (loaded from its module): the class this program links too.
        return static_cast<HistoryWindow*>(dialog->m_historyWindow);
    }

    PlayFolder folder;
    QString levelPath;
    ModalAnswerer answers;
    std::unique_ptr<MainDialog> dialog;
};

TEST_F(HistoryInGameTest, TheDatabaseOpensOnceTheWindowIsShownInTheDataFolder) {
    EXPECT_EQ(dialog->m_history, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([this] { return dialog->m_history != nullptr; }));
    EXPECT_TRUE(QTest::qWaitFor(
        [this] { return dialog->m_history->state() == HistoryWriter::State::Ready; }));
    EXPECT_TRUE(
        QFile::exists(qEnvironmentVariable("XDG_DATA_HOME") + "/kurvenflitzerl/history.sqlite"));
}

// Every run that starts is recorded when it ends, with its figures and the level's identity.
TEST_F(HistoryInGameTest, EachEndOfARunIsRecorded) {
    QFile level(levelPath);
    level.open(QIODevice::ReadOnly);
    const QString sha =
        QCryptographicHash::hash(level.readAll(), QCryptographicHash::Sha256).toHex();
    useOwnHistory();
    struct Case {
        const char* name;
        std::function<void(HistoryInGameTest&)> play;
        RunEnd outcome;
        const char* player;
        bool match = false;
    } cases[] = {
        {"finished, record named",
         [](HistoryInGameTest& t) {
             t.answers.clickOk().typeAndEnter(id::newRecord::Name, "Ann");
             t.finishRun();
         },
         RunEnd::Finished, "Ann"},
        {"finished, no record",
         [](HistoryInGameTest& t) {
             t.answers.clickOk();
             t.dialog->m_bestTimeMs = 1;
             t.finishRun();
         },
         RunEnd::Finished, ""},
        {"wall",
         [](HistoryInGameTest& t) {
             t.answers.clickOk();
             t.press({15, 20});
             t.move({80, 20});
         },
         RunEnd::Wall, ""},
        {"button let go",
         [](HistoryInGameTest& t) {
             t.answers.clickOk();
             t.press(kOnStart);
             t.move({40, 50});
             t.move({45, 50}, false);
         },
         RunEnd::Release, ""},
        {"wall in a match",
         [](HistoryInGameTest& t) {
             Match& match = t.dialog->m_multiplayer.m_match;
             match.startMatch(2, 1);
             match.seatPlayers({"Cleo", "Dan"});
             t.answers.clickOk().clickOk();
             t.press({15, 20});
             t.move({80, 20});
         },
         RunEnd::Wall, "Cleo", true},
    };
    const QDateTime before = QDateTime::currentDateTimeUtc().addMSecs(-1);
    int count = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.play(*this);
        const QList<HistoryRun> runs = writtenRuns(sha);
        ASSERT_EQ(runs.size(), ++count) << dialog->m_history->reason().toStdString();
        const HistoryRun& run = runs.last();
        EXPECT_EQ(run.outcome, c.outcome);
        EXPECT_EQ(run.player, c.player);
        EXPECT_EQ(run.match, c.match);
        EXPECT_EQ(run.levelName, "Level_00_INTRO.bmp");
        EXPECT_EQ(run.timeMs, dialog->m_timeMs);
        EXPECT_EQ(run.distancePx, dialog->m_distance);
        EXPECT_EQ(run.speedPxPerS, dialog->m_speed);
        EXPECT_GE(run.startedUtc, before);
    }
    EXPECT_EQ(answers.unexpected(), 0);
}

TEST_F(HistoryInGameTest, KeyHAndTheBoardsMenuOpenTheWindowWhichFollowsTheRuns) {
    useOwnHistory();
    HistoryWindow* window = openWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), "Kurvenflitzerl.exe  -> Run History");
    EXPECT_EQ(window->table()->rowCount(), 0);
    answers.clickOk().typeAndEnter(id::newRecord::Name, "Ann");
    finishRun();
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->table()->rowCount() == 1; }));
    EXPECT_EQ(window->statusText(), "Track: Level_00_INTRO.bmp");

    // Load Level: the other track's history, which is empty; the same bytes under another
    // name are the same track.
    const QString other = folder.writeBitmap("other.bmp", smallTestLevel(100, 70));
    const QString copy = folder.file("copy.bmp");
    QFile::copy(levelPath, copy);
    for (const auto& [path, rows] : {std::pair{other, 0}, std::pair{copy, 1}}) {
        setFileOpenChooser([&](QWidget*, const FileOpenRequest&) { return path; });
        dialog->OnLoadLevel();
        EXPECT_TRUE(QTest::qWaitFor([&] {
            return window->statusText() == "Track: " + QFileInfo(path).fileName() &&
                   window->table()->rowCount() == rows;
        }));
    }
    setFileOpenChooser(nullptr);

    // Right click: a menu over the board, none beside it.
    for (const QPoint at : {QPoint(200, 200), QPoint(450, 200)}) {
        window->close();
        QStringList offered;
        QTimer::singleShot(50, [&] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                for (QAction* a : menu->actions())
                    offered << a->text();
                menu->actions().first()->trigger();
                menu->close();
            }
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, dialog->mapToGlobal(at));
        QApplication::sendEvent(dialog.get(), &event);
        QTest::qWait(80);
        const bool onBoard = at.x() < 411;
        const QStringList onBoardMenu{"Run history…",     "Ghosts",           "Tracks…",
                                      "Track of the day", "Share this race…", "Edit this track…",
                                      "League…"};
        EXPECT_EQ(offered, onBoard ? onBoardMenu : QStringList{});
        EXPECT_EQ(window->isVisible(), onBoard);
    }
}

// A run of the ten best can be watched: the Watch button (greyed until a row is selected),
// Enter on its row and a double click on it each ask the history for that run's path.
TEST_F(HistoryInGameTest, TheWindowsWatchAsksForThePathOfTheRunOnItsRow) {
    useOwnHistory();
    QList<std::pair<qint64, std::optional<GhostPath>>> read;
    QObject::connect(
        dialog->m_history.get(), &HistoryWriter::runPathRead,
        [&](qint64 id, const std::optional<GhostPath>& path) { read << std::pair(id, path); });
    HistoryWindow* window = openWindow();
    answers.clickOk().typeAndEnter(id::newRecord::Name, "Ann");
    finishRun();
    const GhostPath path = dialog->m_runPath;
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->table()->rowCount() == 1; }));
    QTableWidget* table = window->table();
    EXPECT_FALSE(window->watchButton()->isEnabled());
    const QPoint onRow = table->visualRect(table->model()->index(0, 1)).center();
    const struct {
        const char* way;
        std::function<void()> ask;
    } ways[] = {
        {"the Watch button",
         [&] {
             table->selectRow(0);
             EXPECT_TRUE(window->watchButton()->isEnabled());
             QTest::mouseClick(window->watchButton(), Qt::LeftButton);
         }},
        {"Enter",
         [&] {
             table->selectRow(0);
             QTest::keyClick(table, Qt::Key_Return);
         }},
        {"a double click",
         [&] {
             // As a mouse gives it: a press and a release, then the double click.
             QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, onRow);
             QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, onRow);
         }},
    };
    for (const auto& w : ways) {
        SCOPED_TRACE(w.way);
        table->clearSelection();
        read.clear();
        w.ask();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !read.isEmpty(); }));
        EXPECT_EQ(read, (QList<std::pair<qint64, std::optional<GhostPath>>>{{1, path}}));
    }
}

// A database that cannot be used: the game plays on, the record file is written, and the
// history window says why in one sentence.
TEST_F(HistoryInGameTest, ABrokenDatabaseCostsTheHistoryOnly) {
    std::vector<kftest::SpoiledDatabase> cases = kftest::spoiledDatabases();
    cases.push_back({"locked", [](const QString& p) { RunHistory(p).available(); }, "locked"});
    for (const kftest::SpoiledDatabase& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dataDir;
        const QString path = dataDir.filePath("history.sqlite");
        c.spoil(path);
        if (QByteArray(c.name) == "read-only" && access(path.toLocal8Bit().constData(), W_OK) == 0)
            continue; // root writes to any file: this case is the unprivileged run's
        QSqlDatabase holder = QSqlDatabase::addDatabase("QSQLITE", "holder");
        holder.setDatabaseName(path);
        if (QByteArray(c.name) == "locked") {
            holder.open();
            QSqlQuery(holder).exec("BEGIN EXCLUSIVE");
        }
        dialog->useHistory(std::make_unique<HistoryWriter>(path, 100));
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return dialog->m_history->state() != HistoryWriter::State::Opening; }));

        answers.clickOk().typeAndEnter(id::newRecord::Name, "Ann");
        dialog->m_bestTimeMs = 99999;
        finishRun();
        EXPECT_EQ(folder.readBytes("Level_00_INTRO.bmp.kfh"),
                  "Ann\r\n" + QByteArray::number(dialog->m_timeMs));
        HistoryWindow* window = openWindow();
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(QTest::qWaitFor([&] {
            return window->statusText().startsWith("The run history is not available because") &&
                   window->statusText().contains(c.reasonWord);
        })) << window->statusText().toStdString();
        EXPECT_EQ(window->table()->rowCount(), 0);
        // The board's menu tells it without H.
        const bool waits = QByteArray(c.name) == "locked" || QByteArray(c.name) == "read-only";
        EXPECT_EQ(dialog->historyMenuText(),
                  waits ? "Run history… (runs waiting)" : "Run history… (not available)");
        window->close();
        holder.close();
        holder = QSqlDatabase();
        QSqlDatabase::removeDatabase("holder");
        dialog->m_history.reset();
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    }
    EXPECT_EQ(answers.unexpected(), 0);
}

} // namespace
