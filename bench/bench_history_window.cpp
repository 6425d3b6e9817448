// The run history window on a track with many runs: reading the overview the window draws,
// showing it in an open window (what a run's end costs the window's thread), the whole of key H
// on the window's thread, and the memory the open window holds.

#include "history/HistoryOverview.h"
#include "history/HistoryWindow.h"
#include "history/RunHistory.h"

#include <QApplication>
#include <QChartView>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <memory>
#include <unistd.h>

namespace {

using namespace kf;

const QString kTrack =
    QStringLiteral("5f1d0c3a9be24a7f8e6d2c1b0a9f8e7d6c5b4a3928170f6e5d4c3b2a19080706");

// A history file with `runs` runs on one track, one in ten of all runs being another track's,
// made in one statement: a finished run's time falls from about 14 s to about 8 s over the
// runs, with noise and a slow spike now and then; one run in seven hits a wall, one in
// thirteen lets go of the button. The overview's indexes and blocks are made after the
// rows, as the store makes them for an older file.
class LargeHistory {
public:
    explicit LargeHistory(qint64 runs)
        : m_runs(runs), m_history(m_dir.filePath(QStringLiteral("history.sqlite"))) {
        QSqlQuery q(m_history.database());
        const qint64 all = runs + runs / 9;
        q.exec(QStringLiteral("BEGIN"));
        q.prepare(QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < ?) "
            "INSERT INTO runs(level_sha256, level_name, started_utc, mode, player, outcome, "
            "time_ms, distance_px, speed_px_s) "
            "SELECT CASE WHEN i % 10 = 0 THEN 'another' ELSE ? END, 'Curves.bmp', "
            "strftime('%Y-%m-%dT%H:%M:%fZ', 1767225600 + i * 60, 'unixepoch'), 'single', "
            "CASE WHEN i % 101 = 0 THEN 'Ann' ELSE '' END, "
            "CASE WHEN i % 7 = 3 THEN 'wall' WHEN i % 13 = 5 THEN 'release' ELSE 'finished' END, "
            "8000 + (i * 7919) % 6000 - i * 6000 / ? + CASE WHEN i % 9973 = 0 THEN 30000 ELSE 0 "
            "END, 1500 + i % 300, 400 + i % 50 FROM n"));
        q.addBindValue(all);
        q.addBindValue(kTrack);
        q.addBindValue(all);
        m_ok = q.exec() && q.exec(QStringLiteral("COMMIT"));
        m_ok = m_ok && prepareOverview(m_history.database());
        m_ok = m_ok &&
               q.exec(QStringLiteral("SELECT COUNT(*) FROM runs WHERE level_sha256 = '%1'")
                          .arg(kTrack)) &&
               q.next() && q.value(0).toLongLong() == runs;
    }
    qint64 runs() const { return m_runs; }
    bool ok() const { return m_ok; }
    const RunHistory& history() const { return m_history; }

private:
    QTemporaryDir m_dir;
    qint64 m_runs;
    RunHistory m_history;
    bool m_ok = false;
};

// The file of the latest size asked for, kept for the benchmarks after it: a million runs
// take seconds to make.
const LargeHistory& historyOf(qint64 runs) {
    static std::unique_ptr<LargeHistory> made;
    if (!made || made->runs() != runs) {
        made.reset();
        made = std::make_unique<LargeHistory>(runs);
    }
    return *made;
}

// Notes each paint of a widget.
class Paints : public QObject {
public:
    bool painted = false;
    bool eventFilter(QObject*, QEvent* event) override {
        painted = painted || event->type() == QEvent::Paint;
        return false;
    }
};

// Runs the event loop until the chart has been painted.
void untilPainted(HistoryWindow& window, Paints& paints) {
    paints.painted = false;
    window.chart()->update();
    while (!paints.painted)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// An open window, laid out and painted once.
class OpenWindow {
public:
    OpenWindow() {
        m_window.show();
        m_window.findChild<QChartView*>()->viewport()->installEventFilter(&m_paints);
        untilPainted(m_window, m_paints);
    }
    HistoryWindow& window() { return m_window; }
    void paint() { untilPainted(m_window, m_paints); }

private:
    HistoryWindow m_window;
    Paints m_paints;
};

void BM_HistoryReadOverview(benchmark::State& state) {
    const LargeHistory& large = historyOf(state.range(0));
    OpenWindow open;
    const int columns = open.window().chartColumns();
    qint64 points = 0;
    for (auto _ : state) {
        const HistoryOverview overview = readOverview(large.history().database(), kTrack, columns);
        points = overview.finished.size() + overview.bestSoFar.size() + overview.failed.size();
        if (!large.ok() || overview.runs != large.runs())
            state.SkipWithError("the overview does not count every run");
    }
    state.counters["columns"] = columns;
    state.counters["points"] = double(points);
}
BENCHMARK(BM_HistoryReadOverview)
    ->Arg(20000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The track's overview once more after one more finished run, which is then taken away again.
HistoryOverview overviewAfterOneMoreRun(const LargeHistory& large, int columns) {
    QSqlQuery q(large.history().database());
    q.prepare(QStringLiteral("INSERT INTO runs(level_sha256, level_name, started_utc, mode, "
                             "player, outcome, time_ms, distance_px, speed_px_s) "
                             "VALUES(?, 'Curves.bmp', '2030-01-01T00:00:00.000Z', 'single', '', "
                             "'finished', 7000, 1500, 400)"));
    q.addBindValue(kTrack);
    q.exec();
    const QVariant id = q.lastInsertId();
    HistoryOverview overview = readOverview(large.history().database(), kTrack, columns);
    q.prepare(QStringLiteral("DELETE FROM runs WHERE id = ?"));
    q.addBindValue(id);
    q.exec();
    return overview;
}

// What a run's end costs the window's thread while the window is open: the overview after the
// run shown in place of the one before it (the two take turns), with `paint` 1 also the chart
// painted. 24 runs, each a point of its own, are the chart's floor.
void BM_HistoryShowOverview(benchmark::State& state) {
    const LargeHistory& large = historyOf(state.range(0));
    OpenWindow open;
    const int columns = open.window().chartColumns();
    const HistoryOverview overviews[] = {readOverview(large.history().database(), kTrack, columns),
                                         overviewAfterOneMoreRun(large, columns)};
    int turn = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        open.window().showOverview(overviews[turn ^= 1], QStringLiteral("Curves.bmp"));
        if (state.range(1) != 0)
            open.paint();
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
    }
}
BENCHMARK(BM_HistoryShowOverview)
    ->ArgsProduct({{24, 20000, 1000000}, {0, 1}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// Key H as the window's thread did it alone: the overview read and shown, and the chart painted.
void BM_HistoryShowHistory(benchmark::State& state) {
    const LargeHistory& large = historyOf(state.range(0));
    OpenWindow open;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        open.window().showHistory(&large.history(), kTrack, QStringLiteral("Curves.bmp"));
        open.paint();
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
    }
}
BENCHMARK(BM_HistoryShowHistory)
    ->Arg(20000)
    ->Arg(200000)
    ->Arg(1000000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

double residentMB() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    return statm.readAll().split(' ').value(1).toDouble() * double(sysconf(_SC_PAGESIZE)) / 1e6;
}

double heapMB() {
    const struct mallinfo2 info = mallinfo2();
    return double(info.uordblks + info.hblkhd) / 1e6;
}

// What an open window holds beside the open store: the resident set and the heap in use
// before the window and with it open, its history shown and painted. Run it alone, in a
// process of its own, for the resident set's figure (`--benchmark_filter=Memory/1000000`).
void BM_HistoryWindowMemory(benchmark::State& state) {
    const LargeHistory& large = historyOf(state.range(0));
    double resident = 0;
    double heap = 0;
    for (auto _ : state) {
        const double residentBefore = residentMB();
        const double heapBefore = heapMB();
        {
            OpenWindow open;
            open.window().showHistory(&large.history(), kTrack, QStringLiteral("Curves.bmp"));
            open.paint();
            resident = residentMB() - residentBefore;
            heap = heapMB() - heapBefore;
        }
    }
    state.counters["window_MB"] = resident;
    state.counters["window_heap_MB"] = heap;
}
BENCHMARK(BM_HistoryWindowMemory)
    ->Arg(20000)
    ->Arg(200000)
    ->Arg(1000000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace
