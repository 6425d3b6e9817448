#include "history/HistoryOverview.h"
#include "history/RunHistory.h"

#include <QMap>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

using namespace kf;

const QString kTrack = QStringLiteral("ab12");
const QString kAnotherTrack = QStringLiteral("cd34");

// A store in a folder of its own with the overview's indexes.
class IndexedStore {
public:
    IndexedStore() : m_history(m_dir.filePath("history.sqlite")) {
        m_indexed = prepareOverview(m_history.database());
    }
    bool indexed() const { return m_indexed; }
    RunHistory& history() { return m_history; }
    // Stores runs in one transaction, in order; a negative time is a wall hit after that many
    // milliseconds.
    void add(const QList<std::pair<QString, int>>& runs) {
        QSqlQuery q(m_history.database());
        q.exec("BEGIN");
        q.prepare("INSERT INTO runs(level_sha256, level_name, started_utc, mode, player, "
                  "outcome, time_ms, distance_px, speed_px_s) VALUES(?, 'Curves.bmp', "
                  "'2026-03-01T09:30:00.000Z', 'single', '', ?, ?, 1, 1)");
        for (const auto& [level, t] : runs) {
            q.addBindValue(level);
            q.addBindValue(t < 0 ? "wall" : "finished");
            q.addBindValue(std::abs(t));
            q.exec();
        }
        q.exec("COMMIT");
    }
    HistoryOverview overview(int columns) {
        return readOverview(m_history.database(), kTrack, columns);
    }

private:
    QTemporaryDir m_dir;
    RunHistory m_history;
    bool m_indexed = true;
};

QList<double> timesOf(const QList<QPointF>& points) {
    QList<double> times;
    for (const QPointF& p : points)
        times << p.y();
    return times;
}

// What the chart must keep of the runs, whatever stretches the database was asked for: points
// in the order of the runs and on them; at most two finished points and one failed mark per
// column; each finished time between the times of points at most a column away, and each
// failed run a mark at most a column away; the fastest and the slowest drawn; and the best
// so far reaching the last run.
void expectShownByColumns(const HistoryOverview& overview, const QList<int>& times, int columns) {
    const qint64 runs = times.size();
    const auto columnOf = [&](double run) { return qint64(run - 1) * columns / runs; };
    for (const QList<QPointF>* points :
         {&overview.finished, &overview.bestSoFar, &overview.failed}) {
        for (qsizetype i = 0; i < points->size(); ++i) {
            const double x = (*points)[i].x();
            EXPECT_EQ(x, std::round(x));
            EXPECT_GE(x, i == 0 ? 1 : (*points)[i - 1].x());
            EXPECT_LE(x, runs);
        }
    }
    QMap<qint64, int> finishedIn, failedIn;
    for (const QPointF& p : overview.finished)
        EXPECT_LE(++finishedIn[columnOf(p.x())], 2) << p.x();
    for (const QPointF& p : overview.failed)
        EXPECT_LE(++failedIn[columnOf(p.x())], 1) << p.x();
    for (qsizetype run = 1; run <= runs; ++run) {
        const int t = times[run - 1];
        bool above = false, below = false, marked = false;
        for (const QPointF& p : overview.finished) {
            const bool near = std::abs(columnOf(p.x()) - columnOf(run)) <= 1;
            below = below || (near && p.y() <= t);
            above = above || (near && p.y() >= t);
        }
        for (const QPointF& p : overview.failed)
            marked = marked || std::abs(columnOf(p.x()) - columnOf(run)) <= 1;
        EXPECT_TRUE(t < 0 ? marked : above && below) << "run " << run;
    }
    QList<double> finished;
    for (const int t : times) {
        if (t >= 0)
            finished << t;
    }
    const QList<double> shown = timesOf(overview.finished);
    if (!finished.isEmpty()) {
        EXPECT_TRUE(shown.contains(*std::min_element(finished.begin(), finished.end())));
        EXPECT_TRUE(shown.contains(*std::max_element(finished.begin(), finished.end())));
        EXPECT_EQ(overview.bestSoFar.constLast().x(), runs);
    }
}

// How the chart's points come from the runs, whether they fit the columns or not: each
// column's fastest and slowest finished time, the best so far by column, and a failed mark
// per column that holds a failed run.
TEST(HistoryOverview, ThePointsStandForTheRunsOrTheirColumns) {
    const QList<int> spiky = {500, 900, -100, 600, 700, 300, 800, 400};
    QList<int> crowded = {1000};
    for (int run = 2; run <= 41; ++run)
        crowded << (run % 10 == 5 ? 4000 + 1000 * (run / 10) : 1000);
    struct Case {
        const char* name;
        QList<int> times;
        // Another track's runs after each run of this one, or with `crowd` all after the first.
        int others;
        bool crowd;
        int columns;
        QList<double> best; // the step line's times in order
    } cases[] = {
        // clang-format off
        {"runs that fill the columns exactly, one point each", {900, -300, 700, -200, 800, 600},
         0, false, 6, {900, 900, 700, 700, 600}},
        {"more runs than columns, a wall's time no finished time", spiky, 0, false, 2,
         {500, 500, 300, 300}},
        {"another track's runs between them count for nothing", spiky, 1, false, 2,
         {500, 500, 300, 300}},
        {"runs crowded among another track's still spread over their columns", crowded, 500,
         true, 4, {1000, 1000}},
        {"a long history in few columns", QList<int>(300, -1) << crowded, 1, false, 7,
         {1000, 1000}},
        {"only failed runs: marks and no line", {-100, -200, -300}, 0, false, 2, {}},
        {"no runs", {}, 0, false, 10, {}},
        // clang-format on
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        IndexedStore store;
        ASSERT_TRUE(store.indexed());
        QList<std::pair<QString, int>> runs;
        for (qsizetype i = 0; i < c.times.size(); ++i) {
            runs.append({kTrack, c.times[i]});
            for (int other = 0; other < c.others && (!c.crowd || i == 0); ++other)
                runs.append({kAnotherTrack, other % 2 == 0 ? 50 : 99999});
        }
        store.add(runs);
        const HistoryOverview overview = store.overview(c.columns);
        EXPECT_FALSE(overview.unreadable);
        EXPECT_EQ(overview.runs, c.times.size());
        EXPECT_EQ(overview.slowestMs, std::accumulate(c.times.begin(), c.times.end(), 0,
                                                      [](int a, int b) { return std::max(a, b); }));
        EXPECT_EQ(timesOf(overview.bestSoFar), c.best);
        expectShownByColumns(overview, c.times, c.columns);
    }
}

// A history of more than a block of runs a column is read from the blocks the database keeps
// as runs are added: each point at a block's first run, still standing for its column. Blocks
// made anew from the same runs, as for an older file, are the same as those kept run by run.
TEST(HistoryOverview, ALongHistoryComesFromBlocksKeptAsRunsAreAdded) {
    IndexedStore store;
    ASSERT_TRUE(store.indexed());
    QList<int> times;
    QList<std::pair<QString, int>> runs;
    for (int i = 0; i < 1200; ++i) {
        times << (i == 299 ? 9000 : i == 699 ? 400 : i % 9 == 4 ? -50 : 1000 + i * 37 % 200);
        runs << std::pair{kTrack, times.last()} << std::pair{kAnotherTrack, 5};
    }
    store.add(runs);
    const HistoryOverview overview = store.overview(5);
    EXPECT_EQ(overview.runs, 1200);
    for (const QList<QPointF>* points : {&overview.finished, &overview.failed}) {
        for (const QPointF& p : *points)
            EXPECT_EQ(qint64(p.x()) % 128, 1) << p.x();
    }
    EXPECT_EQ(overview.bestSoFar,
              (QList<QPointF>{{1, 1000}, {641, 1000}, {641, 400}, {1200, 400}}));
    expectShownByColumns(overview, times, 5);

    const auto blocks = [&store] {
        QSqlQuery q(store.history().database());
        q.exec("SELECT * FROM run_blocks ORDER BY level_sha256, first_id");
        QStringList rows;
        while (q.next()) {
            QStringList row;
            for (int column = 0; column < 7; ++column)
                row << q.value(column).toString();
            rows << row.join(' ');
        }
        return rows;
    };
    const QStringList kept = blocks();
    EXPECT_EQ(kept.size(), 10 + 10);
    QSqlQuery(store.history().database()).exec("DROP TABLE run_blocks");
    QSqlQuery(store.history().database()).exec("DROP TRIGGER IF EXISTS run_blocks_grow");
    ASSERT_TRUE(prepareOverview(store.history().database()));
    EXPECT_EQ(blocks(), kept);
}

// The ten fastest finished runs of the track, of equal times the earlier first; failed runs
// and another track's runs are not among them, however fast.
TEST(HistoryOverview, TheTenBestComeFromTheIndexOfFinishedTimes) {
    IndexedStore store;
    ASSERT_TRUE(store.indexed());
    const QDateTime start(QDate(2026, 3, 1), QTime(9, 30), Qt::UTC);
    const int times[] = {800, 300, -10, 500, 300, 900, 700, 300, 600, 950, 400, 1000};
    for (int i = 0; i < int(std::size(times)); ++i) {
        store.history().record({kTrack, "Curves.bmp", start.addSecs(60 * i), false,
                                QString::number(i), times[i] < 0 ? RunEnd::Wall : RunEnd::Finished,
                                std::abs(times[i]), 1, 1});
        store.history().record(
            {kAnotherTrack, "Other.bmp", start, false, "", RunEnd::Finished, 1 + i, 1, 1});
    }
    QStringList best;
    for (const HistoryRun& run : store.overview(100).best)
        best << QString::number(run.timeMs) + " by " + run.player;
    EXPECT_EQ(best, (QStringList{"300 by 1", "300 by 4", "300 by 7", "400 by 10", "500 by 3",
                                 "600 by 8", "700 by 6", "800 by 0", "900 by 5", "950 by 9"}));
    EXPECT_EQ(store.overview(100).best.first().startedUtc, start.addSecs(60));
    // Each run with its number in the history, for watching it: the second run of two a round.
    EXPECT_EQ(store.overview(100).best.first().id, 3);
}

// A database that cannot be read says so in a plain sentence, and shows no history as if it
// were empty.
TEST(HistoryOverview, ADatabaseThatCannotBeReadGivesItsErrorAndNoPoints) {
    IndexedStore store;
    store.add({{kTrack, 500}, {kTrack, -100}});
    QSqlQuery(store.history().database()).exec("DROP TABLE runs");
    const HistoryOverview overview = store.overview(100);
    ASSERT_TRUE(overview.unreadable);
    EXPECT_TRUE(overview.unreadable->reason.startsWith("The run history is not available because"));
    EXPECT_FALSE(overview.unreadable->reason.contains("no such table"));
    EXPECT_EQ(overview.runs, 0);
    EXPECT_TRUE(overview.failed.isEmpty());
}

} // namespace
