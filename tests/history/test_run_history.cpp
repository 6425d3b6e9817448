#include "history/RunHistory.h"
#include "level/BitmapFile.h"
#include "support/SpoiledDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>
#include <tuple>
#include <unistd.h>

namespace {

using namespace kf;

const QString kLevel = QStringLiteral("ab12");
const QDateTime kStartedAt = QDateTime(QDate(2026, 3, 1), QTime(9, 30, 5, 250), Qt::UTC);

HistoryRun finishedRun(int timeMs, const QString& level = kLevel) {
    return {level, "Curves.bmp", kStartedAt, false, "", RunEnd::Finished, timeMs, 500, 700};
}

// A raw connection of the test's own, beside the store's, for setting up and looking in.
class RawDb {
public:
    explicit RawDb(const QString& path, const QString& name = "raw") : m_name(name) {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", m_name);
        db.setDatabaseName(path);
        db.open();
    }
    ~RawDb() {
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
    }
    bool exec(const QString& sql) { return QSqlQuery(QSqlDatabase::database(m_name)).exec(sql); }
    QList<QVariantList> rows(const QString& sql, int columns) {
        QSqlQuery q(QSqlDatabase::database(m_name));
        q.exec(sql);
        QList<QVariantList> result;
        while (q.next()) {
            QVariantList row;
            for (int c = 0; c < columns; ++c)
                row.append(q.value(c));
            result.append(row);
        }
        return result;
    }
    QVariant value(const QString& sql) {
        const auto r = rows(sql, 1);
        return r.isEmpty() ? QVariant() : r.first().first();
    }

private:
    QString m_name;
};

class RunHistoryTest : public ::testing::Test {
protected:
    QString path() const { return dir.filePath("data/kurvenflitzerl/history.sqlite"); }
    QTemporaryDir dir;
};

TEST_F(RunHistoryTest, TheDefaultPathIsTheGamesFolderInTheDataHome) {
    const QByteArray before = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", dir.path().toLocal8Bit());
    EXPECT_EQ(RunHistory::defaultPath(), dir.filePath("kurvenflitzerl/history.sqlite"));
    qputenv("XDG_DATA_HOME", before);
}

// Whatever the database held of an older schema, it comes out at the current version with its
// tables, in WAL mode, and the runs it held are kept.
TEST_F(RunHistoryTest, CreatesOrUpgradesTheSchema) {
    struct Case {
        const char* name;
        std::function<void(RawDb&)> prepare;
        int runsKept;
    } cases[] = {
        {"missing", nullptr, 0},
        {"empty at version 0", [](RawDb& db) { db.exec("CREATE TABLE other(x)"); }, 0},
        {"already at the current version", nullptr, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(path());
        if (c.prepare) {
            RunHistory(path()).available(); // makes the folder
            QFile::remove(path());
            RawDb db(path());
            c.prepare(db);
        }
        if (c.runsKept)
            RunHistory(path()).record(finishedRun(1234));
        RunHistory history(path());
        ASSERT_TRUE(history.available()) << history.unavailableReason().toStdString();
        RawDb db(path());
        EXPECT_EQ(db.value("PRAGMA user_version").toInt(), RunHistory::kSchemaVersion);
        EXPECT_EQ(db.value("PRAGMA journal_mode").toString(), "wal");
        const auto columns = [&](const char* table) {
            QStringList names;
            for (const QVariantList& row :
                 db.rows(QStringLiteral("PRAGMA table_info(%1)").arg(table), 2))
                names << row[1].toString();
            return names.join(',');
        };
        EXPECT_EQ(columns("runs"), "id,level_sha256,level_name,started_utc,mode,player,outcome,"
                                   "time_ms,distance_px,speed_px_s");
        EXPECT_EQ(columns("ghosts"), "level_sha256,time_ms,points");
        EXPECT_EQ(history.runsOf(kLevel).size(), c.runsKept);
    }
}

TEST_F(RunHistoryTest, RecordsARunOfEachOutcomeWithItsFigures) {
    const HistoryRun runs[] = {
        {kLevel, "Curves.bmp", kStartedAt, false, "Ann", RunEnd::Finished, 4321, 812, 187},
        {kLevel, "Curves.bmp", kStartedAt.addSecs(60), true, "Bob", RunEnd::Wall, 1500, 300, 200},
        {kLevel, "Curves.bmp", kStartedAt.addSecs(90), false, "", RunEnd::Release, 700, 90, 128},
    };
    {
        RunHistory history(path());
        for (const HistoryRun& run : runs)
            EXPECT_TRUE(history.record(run));
        const QList<HistoryRun> back = history.runsOf(kLevel);
        ASSERT_EQ(back.size(), 3);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(back[i].startedUtc, runs[i].startedUtc);
            EXPECT_EQ(back[i].player, runs[i].player);
            EXPECT_EQ(back[i].outcome, runs[i].outcome);
            EXPECT_EQ(back[i].match, runs[i].match);
            EXPECT_EQ(back[i].timeMs, runs[i].timeMs);
            EXPECT_EQ(back[i].distancePx, runs[i].distancePx);
            EXPECT_EQ(back[i].speedPxPerS, runs[i].speedPxPerS);
        }
        EXPECT_TRUE(history.runsOf("other").isEmpty());
    }
    // What a player sees with sqlite3.
    RawDb db(path());
    const auto rows = db.rows("SELECT started_utc, mode, outcome, level_name FROM runs "
                              "ORDER BY id",
                              4);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0][0].toString(), "2026-03-01T09:30:05.250Z");
    const char* expected[][2] = {{"single", "finished"}, {"match", "wall"}, {"single", "release"}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(rows[i][1].toString(), expected[i][0]);
        EXPECT_EQ(rows[i][2].toString(), expected[i][1]);
        EXPECT_EQ(rows[i][3].toString(), "Curves.bmp");
    }
}

TEST_F(RunHistoryTest, TheBestAreTheTenFastestFinishedRunsOfTheLevel) {
    RunHistory history(path());
    const int times[] = {900, 500, 700, 500, 1200, 800, 650, 1000, 1100, 950, 600, 1300};
    for (int t : times)
        history.record(finishedRun(t));
    HistoryRun failed = finishedRun(100);
    failed.outcome = RunEnd::Wall;
    history.record(failed);
    history.record(finishedRun(50, "another level"));
    QList<HistoryRun> best = history.bestOf(kLevel);
    QList<int> bestTimes;
    for (const HistoryRun& run : best)
        bestTimes << run.timeMs;
    EXPECT_EQ(bestTimes, (QList<int>{500, 500, 600, 650, 700, 800, 900, 950, 1000, 1100}));
}

// One query for many levels: runs of every outcome count, only finished ones give the best;
// levels asked for without runs, or never asked for, are not in the answer.
TEST_F(RunHistoryTest, TalliesCountRunsAndFinishesAndTakeTheBestFinishOfEachLevel) {
    RunHistory history(path());
    for (const auto& [level, time, outcome] :
         {std::tuple{"one", 900, RunEnd::Finished}, std::tuple{"one", 400, RunEnd::Wall},
          std::tuple{"one", 700, RunEnd::Finished}, std::tuple{"one", 300, RunEnd::Release},
          std::tuple{"two", 200, RunEnd::Wall}, std::tuple{"else", 100, RunEnd::Finished}}) {
        HistoryRun run = finishedRun(time, level);
        run.outcome = outcome;
        history.record(run);
    }
    const QHash<QString, LevelTally> tallies = history.talliesOf({"one", "two", "none"});
    ASSERT_EQ(tallies.size(), 2);
    EXPECT_EQ(tallies["one"].runs, 4);
    EXPECT_EQ(tallies["one"].finished, 2);
    EXPECT_EQ(tallies["one"].bestMs, 700);
    EXPECT_EQ(tallies["two"].runs, 1);
    EXPECT_EQ(tallies["two"].finished, 0);
    EXPECT_EQ(tallies["two"].bestMs, 0);
}

// Two games at once: one holds the write lock for a while; the other's run waits for it
// (the busy timeout) instead of being lost, and both connections keep writing.
TEST_F(RunHistoryTest, TwoConnectionsWritingAtOnceKeepEveryRun) {
    RunHistory first(path());
    RunHistory second(path());
    for (int i = 0; i < 20; ++i) {
        EXPECT_TRUE(first.record(finishedRun(1000 + i)));
        EXPECT_TRUE(second.record(finishedRun(2000 + i)));
    }
    std::atomic<bool> locked{false};
    std::thread other([&] {
        RawDb db(path(), "other game");
        db.exec("BEGIN IMMEDIATE");
        db.exec("INSERT INTO runs VALUES(NULL, 'ab12', 'x', 'x', 'single', '', 'finished', 1, "
                "1, 1)");
        locked = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        db.exec("COMMIT");
    });
    while (!locked)
        std::this_thread::yield();
    EXPECT_TRUE(first.record(finishedRun(3000)));
    other.join();
    EXPECT_EQ(second.runsOf(kLevel).size(), 42);
}

// A database the store cannot use leaves it unavailable with the reason, never a write to it.
TEST_F(RunHistoryTest, ADatabaseItCannotUseCostsTheHistoryOnly) {
    for (const kftest::SpoiledDatabase& c : kftest::spoiledDatabases()) {
        SCOPED_TRACE(c.name);
        QFile::remove(path());
        RunHistory(path()).available();
        QFile::remove(path());
        c.spoil(path());
        QFile file(path());
        file.open(QIODevice::ReadOnly);
        const QByteArray before = file.readAll();
        file.close();
        if (access(path().toLocal8Bit().constData(), W_OK) == 0 &&
            QByteArray(c.name) == "read-only") {
            // Root writes to any file: there the read-only case is the unprivileged run's.
            QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner);
            continue;
        }
        RunHistory history(path());
        EXPECT_FALSE(history.available());
        EXPECT_TRUE(history.unavailableReason().contains(c.reasonWord))
            << history.unavailableReason().toStdString();
        EXPECT_FALSE(history.record(finishedRun(1)));
        EXPECT_TRUE(history.runsOf(kLevel).isEmpty());
        file.open(QIODevice::ReadOnly);
        EXPECT_TRUE(file.readAll() == before);
        file.close();
        QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner);
    }
}

TEST_F(RunHistoryTest, ADatabaseLockedBeyondTheBusyTimeoutCostsTheHistoryOnly) {
    RunHistory(path()).available();
    RawDb holder(path(), "holder");
    ASSERT_TRUE(holder.exec("BEGIN EXCLUSIVE"));
    RunHistory history(path(), 100);
    EXPECT_FALSE(history.available());
    EXPECT_TRUE(history.unavailableReason().contains("locked"))
        << history.unavailableReason().toStdString();
    holder.exec("ROLLBACK");
}

// A path from (0, 0) to (x, 0), told apart by its end.
GhostPath pathTo(int x) {
    GhostPath path;
    path.append({0, 0}, 0);
    path.append({x, 0}, x);
    return path;
}

// Only a finished run strictly faster than every earlier finished run of its level keeps its
// path as the ghost.
TEST_F(RunHistoryTest, TheGhostIsThePathOfTheFastestFinishedRun) {
    RunHistory history(path());
    EXPECT_EQ(history.ghostOf(kLevel), std::nullopt);
    HistoryRun wall = finishedRun(100);
    wall.outcome = RunEnd::Wall;
    const struct {
        const char* name;
        HistoryRun run;
        int pathEnd;
        int ghostEnd;
    } cases[] = {
        {"the first finished run", finishedRun(900), 9, 9},
        {"a slower run", finishedRun(950), 95, 9},
        {"an equal time", finishedRun(900), 90, 9},
        {"a faster failed run", wall, 10, 9},
        {"another level's faster run", finishedRun(50, "other"), 5, 9},
        {"a new best", finishedRun(800), 8, 8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(history.record(c.run, pathTo(c.pathEnd)));
        EXPECT_EQ(history.ghostOf(kLevel), pathTo(c.ghostEnd));
    }
    EXPECT_EQ(history.ghostOf("other"), pathTo(5));
    RawDb db(path());
    EXPECT_EQ(db.value("SELECT time_ms FROM ghosts WHERE level_sha256 = 'ab12'").toInt(), 800);
    // Bytes that are not a path are no ghost.
    db.exec("UPDATE ghosts SET points = x'0201000000'");
    EXPECT_EQ(history.ghostOf(kLevel), std::nullopt);
}

// A new best and its ghost are one transaction: when either write fails, neither is kept.
TEST_F(RunHistoryTest, ANewBestAndItsGhostAreStoredTogetherOrNotAtAll) {
    for (const char* table : {"runs", "ghosts"}) {
        SCOPED_TRACE(table);
        QFile::remove(path());
        RunHistory(path()).record(finishedRun(900), pathTo(9));
        {
            RawDb db(path());
            db.exec(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON %1 BEGIN "
                                   "SELECT RAISE(ABORT, 'refused'); END")
                        .arg(table));
        }
        EXPECT_FALSE(RunHistory(path()).record(finishedRun(800), pathTo(8)));
        RunHistory history(path());
        EXPECT_EQ(history.runsOf(kLevel).size(), 1);
        EXPECT_EQ(history.ghostOf(kLevel), pathTo(9));
    }
}

} // namespace

namespace {

// A write that fails gives the write lock back at once: another game, beside the store that
// failed, still writes.
TEST_F(RunHistoryTest, AFailedWriteLetsOtherGamesWrite) {
    RunHistory failing(path());
    failing.record(finishedRun(900), pathTo(9));
    RawDb(path()).exec("CREATE TRIGGER refuse BEFORE INSERT ON ghosts BEGIN "
                       "SELECT RAISE(ABORT, 'refused'); END");
    EXPECT_FALSE(failing.record(finishedRun(800), pathTo(8)));
    RunHistory other(path(), 100);
    EXPECT_TRUE(other.record(finishedRun(1000))) << other.unavailableReason().toStdString();
}

// A newer game upgrades the database while this one waits for the lock: this one refuses it
// and leaves the newer version as it is.
TEST_F(RunHistoryTest, ADatabaseUpgradedByANewerGameMeanwhileIsLeftAsItIs) {
    RunHistory(path()).available();
    std::atomic<bool> locked{false};
    std::thread newer([&] {
        RawDb db(path(), "newer game");
        db.exec("BEGIN IMMEDIATE");
        db.exec("CREATE TABLE future(x)");
        locked = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        db.exec("PRAGMA user_version = 7");
        db.exec("COMMIT");
    });
    while (!locked)
        std::this_thread::yield();
    RunHistory history(path(), 5000);
    newer.join();
    EXPECT_FALSE(history.available());
    EXPECT_TRUE(history.unavailableReason().contains("newer version"))
        << history.unavailableReason().toStdString();
    EXPECT_EQ(RawDb(path(), "look").value("PRAGMA user_version").toInt(), 7);
}

} // namespace

namespace {

// The database of a game of the history's first version: the runs of two tracks and their
// ghosts, one of a time no run of its track has. `spoil` runs last.
void writeVersionOneHistory(const QString& path, const QString& spoil) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    RawDb db(path, "older game");
    for (const char* statement : {
             "CREATE TABLE runs(id INTEGER PRIMARY KEY, level_sha256 TEXT NOT NULL, level_name "
             "TEXT NOT NULL, started_utc TEXT NOT NULL, mode TEXT NOT NULL, player TEXT NOT "
             "NULL, outcome TEXT NOT NULL, time_ms INTEGER NOT NULL, distance_px INTEGER NOT "
             "NULL, speed_px_s INTEGER NOT NULL)",
             "CREATE INDEX runs_by_level ON runs(level_sha256, id)",
             "CREATE TABLE ghosts(level_sha256 TEXT PRIMARY KEY, time_ms INTEGER NOT NULL, "
             "points BLOB NOT NULL)",
             "CREATE TABLE pending_written(file TEXT PRIMARY KEY, seq INTEGER NOT NULL)",
         })
        db.exec(statement);
    for (const auto& [level, outcome, time] :
         {std::tuple{"ab12", "finished", 900}, std::tuple{"ab12", "finished", 700},
          std::tuple{"ab12", "wall", 500}, std::tuple{"ab12", "finished", 700},
          std::tuple{"cd34", "finished", 600}})
        db.exec(QStringLiteral("INSERT INTO runs VALUES(NULL, '%1', 'x.bmp', "
                               "'2026-03-01T09:30:05.250Z', 'single', '', '%2', %3, 1, 1)")
                    .arg(level, outcome)
                    .arg(time));
    QSqlQuery q(QSqlDatabase::database("older game"));
    for (const auto& [level, time] : {std::pair{"ab12", 700}, std::pair{"cd34", 500}}) {
        q.prepare("INSERT INTO ghosts VALUES(?, ?, ?)");
        q.addBindValue(level);
        q.addBindValue(time);
        q.addBindValue(pathTo(time / 100).encode());
        q.exec();
    }
    db.exec("PRAGMA user_version = 1");
    if (!spoil.isEmpty())
        db.exec(spoil);
}

// The upgrade gives the ghost to the earliest finished run of its time, so the best can be
// watched, in one transaction: a step that fails leaves the older game's database as it was.
TEST_F(RunHistoryTest, AnOlderGamesHistoryIsUpgradedWithItsBestRunsPathOrNotAtAll) {
    const struct {
        const char* name;
        const char* spoil;
        int version;
        std::optional<GhostPath> pathOfBest;
    } cases[] = {
        {"as the older game left it", "", RunHistory::kSchemaVersion, pathTo(7)},
        {"a table in the way of the upgrade", "CREATE TABLE shared_ghosts(x)", 1, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(path());
        writeVersionOneHistory(path(), c.spoil);
        RunHistory history(path());
        EXPECT_EQ(history.available(), c.version == RunHistory::kSchemaVersion);
        EXPECT_EQ(history.runPathOf(2), c.pathOfBest);
        EXPECT_EQ(history.runPathOf(4), std::nullopt);
        RawDb db(path());
        EXPECT_EQ(db.value("PRAGMA user_version").toInt(), c.version);
        EXPECT_EQ(db.value("SELECT COUNT(*) FROM sqlite_master WHERE name = 'run_paths'").toInt(),
                  c.pathOfBest ? 1 : 0);
        EXPECT_EQ(db.value("SELECT COUNT(*) FROM runs").toInt(), 5);
        const std::optional<WatchedRun> best = history.bestRunOf(kLevel);
        EXPECT_EQ(best ? best->run.id : 0, c.pathOfBest ? 2 : 0);
        EXPECT_EQ(history.bestRunOf("cd34"), std::nullopt);
    }
}

// A finished run keeps its path while it is among the last 200 finished runs of its track or
// its ten fastest: 5 fast runs, 247 slow, 3 failed, 2 slow and the fastest of all.
TEST_F(RunHistoryTest, PathsAreKeptForTheRecentAndTheFastestFinishedRuns) {
    RunHistory history(path());
    QList<HistoryRun> runs;
    for (int i = 0; i < 5; ++i)
        runs << finishedRun(100 + i);
    for (int i = 0; i < 247; ++i)
        runs << finishedRun(1000 + i);
    for (int i = 0; i < 3; ++i) {
        runs << finishedRun(10);
        runs.last().outcome = RunEnd::Wall;
    }
    runs << finishedRun(2000) << finishedRun(2001) << finishedRun(50);
    for (const HistoryRun& run : runs)
        ASSERT_TRUE(history.record(run, pathTo(run.timeMs)));
    const struct {
        const char* rule;
        qint64 runId;
        bool kept;
    } cases[] = {
        {"the newest", 258, true},
        {"the 200th newest finished run", 56, true},
        {"the 201st newest finished run", 55, false},
        {"an old run among the ten fastest", 1, true},
        {"the last of the ten fastest, old", 9, true},
        {"an old run pushed out of the ten fastest", 10, false},
        {"a failed run", 254, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rule);
        const std::optional<GhostPath> expected =
            c.kept ? std::optional(pathTo(runs[c.runId - 1].timeMs)) : std::nullopt;
        EXPECT_EQ(history.runPathOf(c.runId), expected);
    }
    EXPECT_EQ(RawDb(path()).value("SELECT COUNT(*) FROM run_paths").toInt(), 209);
    // The ten the history window lists are those whose paths are kept.
    QList<qint64> bestIds;
    for (const HistoryRun& run : history.bestOf(kLevel))
        bestIds << run.id;
    EXPECT_EQ(bestIds, (QList<qint64>{258, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

// Other players' ghosts are kept for their track in order; one equal to a ghost kept already
// is not kept again, one that differs in anything is.
TEST_F(RunHistoryTest, ASharedGhostIsKeptOnceAndForgottenByItsId) {
    RunHistory history(path());
    const SharedGhost ann{0, "Ann", 900, kStartedAt, pathTo(9)};
    const auto changed = [&](const std::function<void(SharedGhost&)>& change) {
        SharedGhost g = ann;
        change(g);
        return g;
    };
    const struct {
        const char* name;
        SharedGhost ghost;
        bool kept;
    } cases[] = {
        {"a new ghost", ann, true},
        {"the same again", ann, false},
        {"another player", changed([](SharedGhost& g) { g.player = "Bob"; }), true},
        {"another time", changed([](SharedGhost& g) { g.timeMs = 901; }), true},
        {"another finish",
         changed([](SharedGhost& g) { g.finishedUtc = g.finishedUtc.addSecs(1); }), true},
        {"another path", changed([](SharedGhost& g) { g.path = pathTo(8); }), true},
        {"no path", changed([](SharedGhost& g) { g.path = {}; }), false},
    };
    int kept = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(history.keepSharedGhosts(kLevel, {c.ghost}), Stored::Written);
        const QList<SharedGhost> shared = history.ghostsOf(kLevel).shared;
        ASSERT_EQ(shared.size(), kept += c.kept);
        const SharedGhost& last = shared.last();
        EXPECT_EQ(std::tie(last.player, last.timeMs, last.finishedUtc),
                  std::tie(c.ghost.player, c.ghost.timeMs, c.ghost.finishedUtc));
    }
    EXPECT_TRUE(history.ghostsOf("other").shared.isEmpty());
    QString level;
    EXPECT_EQ(history.forgetSharedGhost(history.ghostsOf(kLevel).shared[1].id, &level),
              Stored::Written);
    EXPECT_EQ(level, kLevel);
    QStringList players;
    for (const SharedGhost& g : history.ghostsOf(kLevel).shared)
        players << g.player;
    EXPECT_EQ(players, (QStringList{"Ann", "Ann", "Ann", "Ann"}));
}

} // namespace

namespace {

const QString kLeague = QStringLiteral("host=league.example dbname=kf");

HistoryRun leagueRun(int timeMs, const QString& level = kLevel) {
    HistoryRun run = finishedRun(timeMs, level);
    run.league = kLeague;
    return run;
}

// Only a finished single run with a league and a path waits for the league.
TEST_F(RunHistoryTest, AFinishedSingleRunWithALeagueAndAPathIsKeptForTheLeague) {
    RunHistory history(path());
    const auto changed = [](const std::function<void(HistoryRun&)>& change) {
        HistoryRun run = leagueRun(900);
        change(run);
        return run;
    };
    const struct {
        const char* name;
        HistoryRun run;
        GhostPath path;
        bool kept;
    } cases[] = {
        {"finished single with league and path", leagueRun(900), pathTo(9), true},
        {"a match run", changed([](HistoryRun& r) { r.match = true; }), pathTo(9), false},
        {"into a wall", changed([](HistoryRun& r) { r.outcome = RunEnd::Wall; }), pathTo(9), false},
        {"released", changed([](HistoryRun& r) { r.outcome = RunEnd::Release; }), pathTo(9), false},
        {"no league", changed([](HistoryRun& r) { r.league.clear(); }), pathTo(9), false},
        {"no path", leagueRun(900), {}, false},
    };
    int kept = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(history.record(c.run, c.path));
        EXPECT_EQ(history.leagueOutbox(kLeague, 100).runs.size(), kept += c.kept);
    }
}

QList<qint64> waitingIds(const RunHistory& history) {
    QList<qint64> ids;
    for (const LeagueOutboxRun& waiting : history.leagueOutbox(kLeague, 10).runs)
        ids << waiting.run.id;
    return ids;
}

// The oldest runs of the league come first, up to the limit, with their track's bytes when kept
// (once a track); all that wait are counted by track. A run sent waits no more, and its track's
// bytes go with the last of its runs in any league.
TEST_F(RunHistoryTest, TheOutboxGivesTheOldestRunsWithTheirTracksUntilTheyAreSent) {
    RunHistory history(path());
    HistoryRun otherLeague = leagueRun(500, "t1");
    otherLeague.league = "host=elsewhere";
    for (const HistoryRun& run : {leagueRun(900, "t1"), otherLeague, leagueRun(800, "t2"),
                                  leagueRun(700, "t1"), leagueRun(600, "t3")})
        ASSERT_TRUE(history.record(run, pathTo(run.timeMs / 100)));
    for (const auto& [sha, bytes, stored] :
         {std::tuple{"t1", QByteArray("BM one"), Stored::Written},
          std::tuple{"t1", QByteArray("BM two"), Stored::Written},
          std::tuple{"", QByteArray("BM"), Stored::Refused},
          std::tuple{"t2", QByteArray(), Stored::Refused},
          std::tuple{"t2", QByteArray(kMaxBitmapFileBytes + 1, Qt::Uninitialized),
                     Stored::Refused}})
        EXPECT_EQ(history.keepLeagueTrack(sha, bytes), stored) << sha << bytes.size();
    const LeagueOutbox outbox = history.leagueOutbox(kLeague, 3);
    QList<QByteArray> tracks;
    for (const LeagueOutboxRun& waiting : outbox.runs)
        tracks << waiting.trackBytes;
    EXPECT_EQ(tracks, (QList<QByteArray>{"BM one", "", "BM one"}));
    EXPECT_EQ(outbox.runs.value(1).path, pathTo(8).encode());
    EXPECT_EQ(outbox.waitingByTrack, (QHash<QString, qint64>{{"t1", 2}, {"t2", 1}, {"t3", 1}}));
    const struct {
        qint64 sent;
        QList<qint64> waiting;
        int tracksKept;
    } sends[] = {
        {1, {3, 4, 5}, 1},
        {1, {3, 4, 5}, 1},
        {4, {3, 5}, 1}, // the other league's run of the track still waits
        {2, {3, 5}, 0},
    };
    for (const auto& s : sends) {
        ASSERT_EQ(history.leagueRunSent(s.sent), Stored::Written);
        EXPECT_EQ(waitingIds(history), s.waiting);
        EXPECT_EQ(RawDb(path()).value("SELECT COUNT(*) FROM league_tracks").toInt(), s.tracksKept);
    }
}

// A database of the history's second version keeps its runs and paths and gains the league's
// tables.
TEST_F(RunHistoryTest, ASecondVersionHistoryIsUpgradedWithItsRuns) {
    RunHistory(path()).record(finishedRun(900), pathTo(9));
    {
        RawDb db(path());
        for (const char* statement :
             {"DROP TABLE league_outbox", "DROP TABLE league_tracks", "PRAGMA user_version = 2"})
            db.exec(statement);
    }
    RunHistory history(path());
    EXPECT_EQ(RawDb(path()).value("PRAGMA user_version").toInt(), RunHistory::kSchemaVersion);
    EXPECT_EQ(history.runPathOf(1), pathTo(9));
    EXPECT_TRUE(history.record(leagueRun(800), pathTo(8)));
    EXPECT_EQ(waitingIds(history), QList<qint64>{2});
}

} // namespace
