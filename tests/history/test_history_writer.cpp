#include "history/HistoryWriter.h"
#include "history/PendingRuns.h"
#include "history/RunHistory.h"
#include "support/FileSizeLimit.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <QVariant>
#include <QtEndian>

#include <gtest/gtest.h>

#include <functional>
#include <unistd.h>

namespace {

using namespace kf;

const QDateTime kHandedOverAt = QDateTime(QDate(2026, 3, 1), QTime(9, 30), Qt::UTC);

HistoryRun runOf(int timeMs, RunEnd outcome = RunEnd::Finished) {
    return {"lvl", "Curves.bmp", kHandedOverAt, false, "", outcome, timeMs, 10, 20};
}

bool settleWithin(const std::function<bool()>& done, int ms = 10000) {
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return true;
}

// A connection of the test's own: another program beside the game.
class OtherProgram {
public:
    explicit OtherProgram(const QString& path) {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "other program");
        db.setDatabaseName(path);
        db.open();
    }
    ~OtherProgram() {
        QSqlDatabase::database("other program", false).close();
        QSqlDatabase::removeDatabase("other program");
    }
    bool exec(const QString& sql) {
        return QSqlQuery(QSqlDatabase::database("other program")).exec(sql);
    }
    QVariant value(const QString& sql) {
        QSqlQuery q(QSqlDatabase::database("other program"));
        return q.exec(sql) && q.next() ? q.value(0) : QVariant();
    }
};

QList<int> writtenTimes(const QString& path) {
    QList<int> times;
    for (const HistoryRun& run : RunHistory(path).runsOf("lvl"))
        times << run.timeMs;
    return times;
}

QStringList pendingFiles(const QString& path) {
    return QDir(QFileInfo(path).absolutePath() + "/pending").entryList(QDir::Files);
}

class HistoryWriterTest : public ::testing::Test {
protected:
    QString path() const { return dir.filePath("kurvenflitzerl/history.sqlite"); }
    QTemporaryDir dir;
};

// The database's code is a module, as race files' libzip is: an installed game finds them in
// its module folder from its own place, and a game without them keeps its runs waiting and
// says in one sentence that there is no history, and why a race file cannot be used.
TEST_F(HistoryWriterTest, TheGameFindsTheStoresModuleInItsFolderOrTellsWhyThereIsNoHistory) {
    struct Case {
        const char* name;
        bool installed;
        qsizetype runsWritten;
        const char* said;
    } cases[] = {
        {"installed", true, 1,
         "The race file \"Empty.kfrace\" cannot be used: it lacks the entry race.json.\n"},
        {"missing", false, 0,
         "The run history is not available because the part of the game that keeps its "
         "database is missing.\n"
         "The race file \"Empty.kfrace\" cannot be used: the part of the game that reads and "
         "writes race files is missing.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QTemporaryDir tree;
        const QDir game(tree.filePath("libexec/kurvenflitzerl"));
        QDir().mkpath(game.path());
        ASSERT_TRUE(QFile::copy(KF_HISTORY_CHILD, game.filePath("kf_history_child")));
        if (c.installed) {
            const QDir modules(game.filePath(KF_MODULE_DIR));
            QDir().mkpath(modules.path());
            ASSERT_TRUE(QFile::copy(KF_STORE_MODULE, modules.filePath("libkfstore.so")));
            ASSERT_TRUE(QFile::copy(KF_ZIP_MODULE, modules.filePath("libkfzip.so")));
        }
        const QString database = tree.filePath("data/history.sqlite");
        QProcess child;
        child.start(game.filePath("kf_history_child"), {database, "0", "1"});
        ASSERT_TRUE(child.waitForFinished(30000));
        EXPECT_EQ(child.exitCode(), 0);
        EXPECT_EQ(child.readAllStandardOutput(), QByteArray("1\n") + c.said);
        EXPECT_EQ(writtenTimes(database).size(), c.runsWritten);
        // A run that could not be written waits in its file for a game that can write it.
        EXPECT_EQ(pendingFiles(database).size(), 1 - c.runsWritten);
    }
}

// Every database fault: what the writer's state becomes, and whether the file stays as it was.
// Only a database that cannot be the game's ends the history; the rest make the runs wait.
TEST_F(HistoryWriterTest, EachDatabaseFaultEndsOrDelaysTheHistoryWithASentence) {
    struct Case {
        const char* name;
        std::function<void(const QString&)> spoil;
        HistoryWriter::State state;
        const char* reasonWord;
    } cases[] = {
        {"negative version",
         [](const QString& p) { OtherProgram(p).exec("PRAGMA user_version = -1"); },
         HistoryWriter::State::Unavailable, "damaged"},
        {"newer version", [](const QString& p) { OtherProgram(p).exec("PRAGMA user_version = 7"); },
         HistoryWriter::State::Unavailable, "newer version"},
        {"version 1 without its tables",
         [](const QString& p) {
             OtherProgram o(p);
             o.exec("CREATE TABLE other(x)");
             o.exec("PRAGMA user_version = 1");
         },
         HistoryWriter::State::Unavailable, "damaged"},
        {"not a database",
         [](const QString& p) {
             QFile f(p);
             f.open(QIODevice::WriteOnly);
             f.write(QByteArray(4096, 'x'));
         },
         HistoryWriter::State::Unavailable, "damaged"},
        {"read-only",
         [](const QString& p) {
             RunHistory(p).available();
             QFile::setPermissions(p, QFile::ReadOwner);
         },
         HistoryWriter::State::Waiting, "read-only"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QDir().mkpath(QFileInfo(path()).absolutePath());
        QFile::remove(path());
        c.spoil(path());
        if (c.state == HistoryWriter::State::Waiting && access(qPrintable(path()), W_OK) == 0)
            continue; // root writes to any file: the unprivileged run has this case
        QFile file(path());
        file.open(QIODevice::ReadOnly);
        const QByteArray before = file.readAll();
        file.close();
        {
            HistoryWriter writer(path());
            ASSERT_TRUE(
                settleWithin([&] { return writer.state() != HistoryWriter::State::Opening; }));
            EXPECT_EQ(writer.state(), c.state);
            // A plain sentence, never the driver's words.
            EXPECT_TRUE(writer.reason().startsWith("The run history is not available because"));
            EXPECT_TRUE(writer.reason().contains(c.reasonWord)) << writer.reason().toStdString();
            EXPECT_FALSE(writer.reason().contains("Unable to"));
            EXPECT_TRUE(writer.record(runOf(1)));
        }
        file.open(QIODevice::ReadOnly);
        EXPECT_TRUE(file.readAll() == before);
        file.close();
        QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner);
        // The run waits beside the database for a game that can write it.
        EXPECT_EQ(pendingFiles(path()).size(), 1);
        QDir(QFileInfo(path()).absolutePath() + "/pending").removeRecursively();
    }
}

// Another program holds the database far longer than one write waits: the runs wait, the game
// goes on, and once the lock is gone each run is written, in order and once.
TEST_F(HistoryWriterTest, RunsWaitForALockAndAreWrittenInOrderOnce) {
    HistoryWriter writer(path());
    ASSERT_TRUE(settleWithin([&] { return writer.state() == HistoryWriter::State::Ready; }));
    OtherProgram other(path());
    ASSERT_TRUE(other.exec("BEGIN EXCLUSIVE"));
    for (int t = 1; t <= 10; ++t)
        writer.record(runOf(t, t % 3 ? RunEnd::Finished : RunEnd::Wall));
    ASSERT_TRUE(settleWithin([&] { return writer.state() == HistoryWriter::State::Waiting; }));
    EXPECT_TRUE(writer.reason().contains("locked"));
    EXPECT_FALSE(writer.settled());
    other.exec("COMMIT");
    ASSERT_TRUE(settleWithin([&] { return writer.settled(); }));
    EXPECT_EQ(writer.state(), HistoryWriter::State::Ready);
    EXPECT_EQ(writtenTimes(path()), (QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
}

// Runs that still wait when the game ends (the lock still held, the disk full) stay beside the
// database and are written by the next game, once.
TEST_F(HistoryWriterTest, RunsWaitingAtTheEndAreWrittenByTheNextGame) {
    const struct {
        const char* name;
        std::function<std::function<void()>(const QString&)> hold; // gives the release
    } causes[] = {
        {"locked",
         [](const QString& p) {
             auto other = std::make_shared<OtherProgram>(p);
             other->exec("BEGIN EXCLUSIVE");
             return [other] { other->exec("COMMIT"); };
         }},
        {"disk full",
         [](const QString&) {
             auto limit = std::make_shared<kf::test::FileSizeLimit>(4096);
             return [limit]() mutable { limit.reset(); };
         }},
    };
    int written = 0;
    for (const auto& cause : causes) {
        SCOPED_TRACE(cause.name);
        std::function<void()> release;
        {
            HistoryWriter writer(path());
            ASSERT_TRUE(
                settleWithin([&] { return writer.state() == HistoryWriter::State::Ready; }));
            release = cause.hold(path());
            for (int i = 0; i < 3; ++i)
                writer.record(runOf(++written));
            ASSERT_TRUE(
                settleWithin([&] { return writer.state() == HistoryWriter::State::Waiting; }));
        }
        EXPECT_EQ(pendingFiles(path()).size(), 1);
        release();
        HistoryWriter next(path());
        ASSERT_TRUE(settleWithin([&] { return pendingFiles(path()).size() == 1; }));
        ASSERT_TRUE(settleWithin([&] { return writtenTimes(path()).size() == written; }));
        QList<int> expected;
        for (int t = 1; t <= written; ++t)
            expected << t;
        EXPECT_EQ(writtenTimes(path()), expected);
    }
}

// One bad row never costs the history: a run without a start time is refused where it is
// handed over, and the runs after it are written.
TEST_F(HistoryWriterTest, ARunThatCannotBeStoredIsRefusedAndTheHistoryGoesOn) {
    HistoryWriter writer(path());
    HistoryRun noStart = runOf(5);
    noStart.startedUtc = QDateTime();
    EXPECT_FALSE(writer.record(noStart));
    EXPECT_TRUE(writer.record(runOf(6)));
    ASSERT_TRUE(settleWithin([&] { return writer.settled(); }));
    EXPECT_EQ(writer.state(), HistoryWriter::State::Ready);
    EXPECT_EQ(writtenTimes(path()), QList<int>{6});
    // The store refuses it too, and stays available.
    RunHistory store(path());
    EXPECT_EQ(store.store(noStart), Stored::Refused);
    EXPECT_TRUE(store.available());
}

// The game killed at any moment: the database stays whole and holds, after the next start,
// every run whose notice was shown, each once.
TEST_F(HistoryWriterTest, AGameKilledAtAnyMomentLosesNoRunWhoseNoticeWasShown) {
    constexpr int kRounds = 6;
    QList<int> shown;
    for (int round = 0; round < kRounds; ++round) {
        QProcess child;
        child.start(QStringLiteral(KF_HISTORY_CHILD),
                    {path(), QString::number(round * 1000), QString::number(200)});
        ASSERT_TRUE(child.waitForStarted());
        const int killAt = QRandomGenerator::global()->bounded(1, 60);
        int lines = 0;
        while (lines < killAt && child.state() == QProcess::Running) {
            child.waitForReadyRead(100);
            while (child.canReadLine()) {
                shown << child.readLine().trimmed().toInt();
                ++lines;
            }
        }
        child.kill();
        child.waitForFinished();
        while (child.canReadLine())
            shown << child.readLine().trimmed().toInt();
    }
    {
        HistoryWriter next(path());
        ASSERT_TRUE(settleWithin([&] { return pendingFiles(path()).size() <= 1; }));
        ASSERT_TRUE(settleWithin([&] { return next.state() == HistoryWriter::State::Ready; }));
    }
    OtherProgram other(path());
    EXPECT_EQ(other.value("PRAGMA integrity_check").toString(), "ok");
    const QList<int> times = writtenTimes(path());
    for (int t : shown)
        EXPECT_EQ(times.count(t), 1) << t;
    for (int t : times)
        EXPECT_EQ(times.count(t), 1) << t;
}

GhostPath pathEndingAt(int x) {
    GhostPath path;
    path.append({0, 0}, 0);
    path.append({x, 0}, x);
    return path;
}

// Shared ghosts handed over while another program holds the database wait like runs; once
// kept the track's ghosts hold them in order beside its own, and one forgotten goes. A run's path
// and the track's best run with its path come back by their ids.
TEST_F(HistoryWriterTest, GhostsAndPathsGoThroughTheWritersThread) {
    HistoryWriter writer(path());
    QStringList changed;
    std::optional<TrackGhosts> ghosts;
    QList<std::optional<GhostPath>> runPaths;
    std::optional<std::pair<std::optional<HistoryRun>, GhostPath>> best;
    QObject::connect(&writer, &HistoryWriter::ghostsChanged,
                     [&](const QString& sha) { changed << sha; });
    QObject::connect(&writer, &HistoryWriter::ghostsRead,
                     [&](const QString&, const TrackGhosts& g) { ghosts = g; });
    QObject::connect(&writer, &HistoryWriter::runPathRead,
                     [&](qint64, const std::optional<GhostPath>& p) { runPaths << p; });
    QObject::connect(&writer, &HistoryWriter::bestRunRead,
                     [&](const QString&, const std::optional<HistoryRun>& run, const GhostPath& p) {
                         best = std::pair(run, p);
                     });
    ASSERT_TRUE(settleWithin([&] { return writer.state() == HistoryWriter::State::Ready; }));
    writer.record(runOf(900), pathEndingAt(9));
    writer.record(runOf(700), pathEndingAt(7));
    writer.record(runOf(500, RunEnd::Wall), pathEndingAt(5));

    const SharedGhost ann{0, "Ann", 800, kHandedOverAt, pathEndingAt(8)};
    const SharedGhost bob{0, "Bob", 600, kHandedOverAt, pathEndingAt(6)};
    OtherProgram other(path());
    ASSERT_TRUE(other.exec("BEGIN EXCLUSIVE"));
    writer.keepSharedGhosts("lvl", {ann, bob, ann});
    ASSERT_TRUE(settleWithin([&] { return writer.state() == HistoryWriter::State::Waiting; }));
    other.exec("COMMIT");
    ASSERT_TRUE(settleWithin([&] { return changed == QStringList{"lvl"}; }));
    writer.askGhosts("lvl");
    ASSERT_TRUE(settleWithin([&] { return ghosts.has_value(); }));
    EXPECT_EQ(ghosts->own, pathEndingAt(7));
    ASSERT_EQ(ghosts->shared.size(), 2);
    EXPECT_EQ(ghosts->shared[0].player, "Ann");
    EXPECT_EQ(ghosts->shared[1].path, pathEndingAt(6));

    writer.forgetSharedGhost(ghosts->shared[0].id);
    ghosts.reset();
    writer.askGhosts("lvl");
    ASSERT_TRUE(settleWithin([&] { return ghosts.has_value(); }));
    EXPECT_EQ(changed.size(), 2);
    ASSERT_EQ(ghosts->shared.size(), 1);
    EXPECT_EQ(ghosts->shared[0].player, "Bob");

    for (qint64 id : {1, 3})
        writer.askRunPath(id);
    writer.askBestRun("lvl");
    ASSERT_TRUE(settleWithin([&] { return best.has_value(); }));
    EXPECT_EQ(runPaths, (QList<std::optional<GhostPath>>{pathEndingAt(9), std::nullopt}));
    ASSERT_TRUE(best->first);
    EXPECT_EQ(best->first->id, 2);
    EXPECT_EQ(best->first->timeMs, 700);
    EXPECT_EQ(best->second, pathEndingAt(7));
    best.reset();
    writer.askBestRun("a track never run");
    ASSERT_TRUE(settleWithin([&] { return best.has_value(); }));
    EXPECT_FALSE(best->first);
    EXPECT_TRUE(best->second.isEmpty());
}

// The file of waiting runs reads back what was written, and stops at a run cut short.
TEST(PendingRunsTest, ARunReadsBackAndACutRunEndsTheFile) {
    GhostPath path;
    path.append({1, 2}, 0);
    path.append({3, 4}, 50);
    PendingRun run{7, runOf(50), path};
    run.run.league = "host=league";
    const QByteArray bytes = encodePendingRun(run);
    const std::optional<PendingRun> back = decodePendingRun(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->seq, 7);
    EXPECT_EQ(back->run.startedUtc, run.run.startedUtc);
    EXPECT_EQ(back->run.timeMs, 50);
    EXPECT_EQ(back->path, path);
    EXPECT_EQ(back->run.league, "host=league");
    for (qsizetype cut : {qsizetype(0), qsizetype(10), bytes.size() - 1})
        EXPECT_FALSE(decodePendingRun(bytes.left(cut))) << cut;
    QByteArray garbled = bytes;
    garbled[garbled.size() - 3] = char(garbled[garbled.size() - 3] ^ 0x40);
    EXPECT_FALSE(decodePendingRun(garbled));
}

// A run kept by a game before leagues: its data ends with the path. It decodes, with no league.
TEST(PendingRunsTest, ARunKeptBeforeLeaguesReadsBackWithoutALeague) {
    QByteArray bytes = encodePendingRun({3, runOf(40), pathEndingAt(4)});
    bytes.chop(4); // the league, empty
    constexpr int kHeaderBytes = 18;
    qToLittleEndian<quint32>(quint32(bytes.size() - kHeaderBytes), bytes.data() + 4);
    qToLittleEndian<quint16>(qChecksum(bytes.mid(8, 8) + bytes.mid(kHeaderBytes)),
                             bytes.data() + 16);
    const std::optional<PendingRun> back = decodePendingRun(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->run.timeMs, 40);
    EXPECT_EQ(back->path, pathEndingAt(4));
    EXPECT_TRUE(back->run.league.isEmpty());
}

// A finished run with a league waits in the history's outbox once written, with its track's
// bytes, until it is sent.
TEST_F(HistoryWriterTest, ARunForALeagueWaitsInTheOutboxUntilItIsSent) {
    HistoryWriter writer(path());
    std::optional<LeagueOutbox> outbox;
    QObject::connect(&writer, &HistoryWriter::leagueOutboxRead,
                     [&](const QString&, const LeagueOutbox& o) { outbox = o; });
    QObject::connect(&writer, &HistoryWriter::runWritten,
                     [&] { writer.askLeagueOutbox("host=league", 10); });
    HistoryRun run = runOf(900);
    run.league = "host=league";
    writer.record(run, pathEndingAt(9));
    writer.keepLeagueTrack("lvl", "BM");
    ASSERT_TRUE(settleWithin([&] { return outbox.has_value(); }));
    ASSERT_EQ(outbox->runs.size(), 1);
    EXPECT_EQ(outbox->runs[0].run.league, "host=league");
    EXPECT_EQ(outbox->runs[0].trackBytes, "BM");
    writer.leagueRunSent(outbox->runs[0].run.id);
    outbox.reset();
    writer.askLeagueOutbox("host=league", 10);
    ASSERT_TRUE(settleWithin([&] { return outbox.has_value(); }));
    EXPECT_TRUE(outbox->runs.isEmpty());
}

} // namespace
