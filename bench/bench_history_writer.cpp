// What the end of a run costs the window's thread: handing the run (with the path of a run of
// about ten seconds) to the history's writer, with the database free and with another program
// holding it locked. Before the writer, the window wrote the run itself and waited for the lock.

#include "history/HistoryOverview.h"
#include "history/HistoryWriter.h"
#include "history/RunHistory.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

kf::GhostPath tenSecondPath() {
    kf::GhostPath path;
    for (int ms = 0; ms <= 10000; ms += 5)
        path.append({ms % 400, (ms / 400) % 400}, ms);
    return path;
}

void BM_RunEndHandOver(benchmark::State& state) {
    const bool locked = state.range(0) != 0;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("history.sqlite"));
    kf::RunHistory(path).available();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "holder");
        db.setDatabaseName(path);
        db.open();
        if (locked)
            QSqlQuery(db).exec(QStringLiteral("BEGIN EXCLUSIVE"));
        kf::HistoryWriter writer(path);
        const kf::GhostPath ghost = tenSecondPath();
        int time = 100000;
        for (auto _ : state) {
            writer.record({QStringLiteral("lvl"), QStringLiteral("Curves.bmp"),
                           QDateTime::currentDateTimeUtc(), false, QString(), kf::RunEnd::Finished,
                           --time, 1000, 100},
                          ghost);
            // The window goes on with its events, as after a run's end.
            QCoreApplication::processEvents();
        }
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        db.close();
    }
    QSqlDatabase::removeDatabase("holder");
}

// The way before the writer: the window's thread wrote each run itself (the database free).
// It is also what the writer's thread does for each run: the run, its path and the pruning of
// older paths in one transaction, on a track with `state.range(0)` finished runs before, in a
// store with the indexes the game's store makes. Each run is a new best, the costliest case.
void BM_RunEndWrittenOnWindowThread(benchmark::State& state) {
    QTemporaryDir dir;
    kf::RunHistory history(dir.filePath(QStringLiteral("history.sqlite")));
    QSqlQuery q(history.database());
    kf::prepareOverview(history.database());
    q.exec(QStringLiteral("BEGIN"));
    q.prepare(QStringLiteral("INSERT INTO runs(level_sha256, level_name, started_utc, mode, "
                             "player, outcome, time_ms, distance_px, speed_px_s) VALUES('lvl', "
                             "'Curves.bmp', '2026-03-01T09:30:00.000Z', 'single', '', "
                             "'finished', ?, 1000, 100)"));
    for (qint64 i = 0; i < state.range(0); ++i) {
        q.addBindValue(int(100000 + i % 40000));
        q.exec();
    }
    q.exec(QStringLiteral("COMMIT"));
    const kf::GhostPath ghost = tenSecondPath();
    int time = 100000;
    for (auto _ : state)
        history.record({QStringLiteral("lvl"), QStringLiteral("Curves.bmp"),
                        QDateTime::currentDateTimeUtc(), false, QString(), kf::RunEnd::Finished,
                        --time, 1000, 100},
                       ghost);
}

} // namespace

// Argument: the finished runs of the track before.
BENCHMARK(BM_RunEndWrittenOnWindowThread)
    ->Arg(0)
    ->Arg(100000)
    ->Iterations(300)
    ->Unit(benchmark::kMicrosecond);
// Argument: 0 the database free, 1 locked by another program all along.
BENCHMARK(BM_RunEndHandOver)->Arg(0)->Arg(1)->Iterations(300)->Unit(benchmark::kMicrosecond);
