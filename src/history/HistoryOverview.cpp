#include "history/HistoryOverview.h"

#include "history/DailyStreak.h"

#include "history/RunHistory.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <optional>

namespace kf {

namespace {

constexpr int kBestRows = 10;

// How many consecutive runs of a track one of the database's blocks holds at most.
constexpr int kBlockRuns = 128;

// What one pixel column of the chart shows: its fastest and slowest finished run and its
// first failed run, by run number (0 where it has none).
struct Column {
    qint64 fastestRun = 0;
    int fastestMs = 0;
    qint64 slowestRun = 0;
    int slowestMs = 0;
    qint64 failedRun = 0;
};

// The level's runs within a range of ids, as the database counts them.
struct Stretch {
    qint64 firstId = 0;
    qint64 lastId = 0;
    qint64 finished = 0;
    qint64 failed = 0;
    int fastestMs = 0;
    int slowestMs = 0;

    qint64 runs() const { return finished + failed; }
};

// The reads of one overview; the first query that fails keeps its error and the rest is
// skipped.
class OverviewReader {
public:
    OverviewReader(const QSqlDatabase& db, const QString& levelSha256)
        : m_db(db), m_level(levelSha256), m_stretch(db) {
        m_stretch.setForwardOnly(true);
        m_stretch.prepare(
            QStringLiteral("SELECT COUNT(*), MIN(time_ms), MAX(time_ms), "
                           "(SELECT COUNT(*) FROM runs WHERE level_sha256 = ? AND "
                           "outcome <> 'finished' AND id BETWEEN ? AND ?) "
                           "FROM runs WHERE level_sha256 = ? AND outcome = 'finished' AND "
                           "id BETWEEN ? AND ?"));
    }

    bool failed() const { return m_error.isValid(); }
    const QSqlError& error() const { return m_error; }

    // The level's first runs in order, one column each, if there are at most `columns`.
    std::optional<QList<Column>> eachRun(int columns) {
        QSqlQuery q = query(QStringLiteral("SELECT outcome = 'finished', time_ms FROM runs "
                                           "WHERE level_sha256 = ? ORDER BY id LIMIT ?"),
                            {m_level, qint64(columns) + 1});
        QList<Column> runs;
        while (q.next()) {
            Column run;
            const qint64 number = runs.size() + 1;
            if (q.value(0).toBool())
                run = {number, q.value(1).toInt(), number, q.value(1).toInt(), 0};
            else
                run.failedRun = number;
            runs.append(run);
        }
        if (failed() || runs.size() > columns)
            return std::nullopt;
        return runs;
    }

    // The level's blocks, in order: what the database keeps of each 128 consecutive runs as
    // they are added. None when the database has no blocks (it could not be prepared); that is
    // no error, as the runs themselves can still be read.
    std::optional<QList<Stretch>> blocks() {
        QSqlQuery q(m_db);
        q.setForwardOnly(true);
        q.prepare(QStringLiteral("SELECT first_id, last_id, finished, failed, fastest_ms, "
                                 "slowest_ms FROM run_blocks WHERE level_sha256 = ? "
                                 "ORDER BY first_id"));
        q.addBindValue(m_level);
        if (failed() || !q.exec())
            return std::nullopt;
        QList<Stretch> blocks;
        while (q.next()) {
            blocks.append({q.value(0).toLongLong(), q.value(1).toLongLong(),
                           q.value(2).toLongLong(), q.value(3).toLongLong(), q.value(4).toInt(),
                           q.value(5).toInt()});
        }
        return blocks;
    }

    // Every run of the level in stretches of at most a column's worth of runs, in order: the
    // level's range of ids cut evenly, then any stretch with more runs cut again, as the
    // runs of a track may crowd into a few of its ids (one evening of it among months of
    // others).
    QList<Stretch> stretches(int columns) {
        QSqlQuery q =
            query(QStringLiteral("SELECT (SELECT MIN(id) FROM runs WHERE level_sha256 = ?), "
                                 "(SELECT MAX(id) FROM runs WHERE level_sha256 = ?)"),
                  {m_level, m_level});
        if (!q.next() || q.isNull(0))
            return {};
        QList<Stretch> all =
            cut(q.value(0).toLongLong(), q.value(1).toLongLong(), 2 * qint64(columns));
        qint64 runs = 0;
        for (const Stretch& s : all)
            runs += s.runs();
        const qint64 most = (runs + columns - 1) / columns;
        for (bool again = true; again && !failed();) {
            again = false;
            QList<Stretch> finer;
            for (const Stretch& s : all) {
                if (s.runs() <= most || s.firstId == s.lastId) {
                    finer.append(s);
                    continue;
                }
                finer.append(cut(s.firstId, s.lastId, 2 * ((s.runs() + most - 1) / most)));
                again = true;
            }
            all = std::move(finer);
        }
        return all;
    }

    // The ten best finished runs, by the index of finished times.
    QList<HistoryRun> best() {
        QSqlQuery q = query(QStringLiteral("SELECT %1 FROM runs WHERE level_sha256 = ? AND "
                                           "outcome = 'finished' ORDER BY time_ms, id LIMIT ?")
                                .arg(storedRunColumns()),
                            {m_level, kBestRows});
        QList<HistoryRun> runs;
        while (q.next())
            runs.append(historyRunFrom(q));
        return runs;
    }

private:
    QSqlQuery query(const QString& sql, const QVariantList& values) {
        QSqlQuery q(m_db);
        q.setForwardOnly(true);
        if (failed())
            return q;
        q.prepare(sql);
        for (const QVariant& v : values)
            q.addBindValue(v);
        if (!q.exec())
            m_error = q.lastError();
        return q;
    }

    // The ids from `firstId` to `lastId` in `parts` stretches of about equal width; those
    // without a run of the level are left out.
    QList<Stretch> cut(qint64 firstId, qint64 lastId, qint64 parts) {
        const qint64 width = lastId - firstId + 1;
        parts = std::clamp<qint64>(parts, 1, width);
        QList<Stretch> stretches;
        qint64 from = firstId;
        for (qint64 k = 0; k < parts && !failed(); ++k) {
            const qint64 to = from + width / parts + (k < width % parts ? 1 : 0) - 1;
            Stretch s{from, to};
            from = to + 1;
            for (const QVariant& v : {QVariant(m_level), QVariant(s.firstId), QVariant(s.lastId),
                                      QVariant(m_level), QVariant(s.firstId), QVariant(s.lastId)})
                m_stretch.addBindValue(v);
            if (!m_stretch.exec() || !m_stretch.next()) {
                m_error = m_stretch.lastError();
                break;
            }
            s.finished = m_stretch.value(0).toLongLong();
            s.fastestMs = m_stretch.value(1).toInt();
            s.slowestMs = m_stretch.value(2).toInt();
            s.failed = m_stretch.value(3).toLongLong();
            m_stretch.finish();
            if (s.runs() > 0)
                stretches.append(s);
        }
        return stretches;
    }

    QSqlDatabase m_db;
    QString m_level;
    QSqlQuery m_stretch;
    QSqlError m_error;
};

// Whether the blocks can stand for the stretches of `columns` columns: each holds at most a
// column's runs, and they follow each other without overlapping.
bool blocksFit(const QList<Stretch>& blocks, int columns) {
    qint64 runs = 0;
    for (const Stretch& b : blocks)
        runs += b.runs();
    const qint64 most = (runs + columns - 1) / columns;
    qint64 after = 0;
    for (const Stretch& b : blocks) {
        if (b.runs() > most || b.firstId <= after || b.lastId < b.firstId)
            return false;
        after = b.lastId;
    }
    return most >= kBlockRuns;
}

// The stretches gathered into the pixel columns of their first runs.
QList<Column> columnsOf(const QList<Stretch>& stretches, qint64 runs, int columns) {
    QList<Column> gathered;
    qint64 column = -1;
    qint64 firstRun = 1;
    for (const Stretch& s : stretches) {
        const qint64 at = (firstRun - 1) * columns / runs;
        if (at != column) {
            gathered.append(Column{});
            column = at;
        }
        Column& c = gathered.last();
        if (s.finished > 0 && (c.fastestRun == 0 || s.fastestMs < c.fastestMs)) {
            c.fastestRun = firstRun;
            c.fastestMs = s.fastestMs;
        }
        if (s.finished > 0 && (c.slowestRun == 0 || s.slowestMs > c.slowestMs)) {
            c.slowestRun = firstRun;
            c.slowestMs = s.slowestMs;
        }
        if (s.failed > 0 && c.failedRun == 0)
            c.failedRun = firstRun;
        firstRun += s.runs();
    }
    return gathered;
}

// The chart's points of the columns in order.
void draw(const QList<Column>& columns, HistoryOverview& overview) {
    int bestMs = 0;
    for (const Column& c : columns) {
        if (c.failedRun != 0)
            overview.failed.append({double(c.failedRun), 0});
        if (c.fastestRun == 0)
            continue;
        const QPointF fastest(c.fastestRun, c.fastestMs);
        const QPointF slowest(c.slowestRun, c.slowestMs);
        if (fastest == slowest) {
            overview.finished.append(fastest);
        } else if (c.slowestRun < c.fastestRun) {
            overview.finished.append({slowest, fastest});
        } else {
            overview.finished.append({fastest, slowest});
        }
        overview.slowestMs = std::max(overview.slowestMs, c.slowestMs);
        // A step: the old best holds up to this column's fastest run, the new one from it on.
        if (overview.bestSoFar.isEmpty() || c.fastestMs < bestMs) {
            if (!overview.bestSoFar.isEmpty())
                overview.bestSoFar.append({fastest.x(), double(bestMs)});
            bestMs = c.fastestMs;
            overview.bestSoFar.append(fastest);
        }
    }
    if (!overview.bestSoFar.isEmpty() && overview.bestSoFar.constLast().x() < overview.runs)
        overview.bestSoFar.append({double(overview.runs), double(bestMs)});
}

} // namespace

HistoryOverview readOverview(const QSqlDatabase& db, const QString& levelSha256, int columns) {
    // No chart is wider than this many pixels.
    columns = std::clamp(columns, 1, 1 << 20);
    // One snapshot of the file for all the queries, though other games may write meanwhile.
    QSqlDatabase connection = db;
    const bool snapshot = connection.transaction();
    OverviewReader reader(db, levelSha256);
    HistoryOverview overview;
    std::optional<QList<Column>> shown = reader.eachRun(columns);
    if (shown) {
        overview.runs = shown->size();
    } else {
        // A long history comes from its blocks, a few thousand rows however many runs it has;
        // a shorter one, whose columns hold fewer runs than a block, is cut finer by ids.
        std::optional<QList<Stretch>> blocks = reader.blocks();
        const QList<Stretch> stretches =
            blocks && blocksFit(*blocks, columns) ? *std::move(blocks) : reader.stretches(columns);
        for (const Stretch& s : stretches)
            overview.runs += s.runs();
        shown = columnsOf(stretches, overview.runs, columns);
    }
    draw(*shown, overview);
    overview.best = reader.best();
    if (snapshot)
        connection.commit();
    if (reader.failed()) {
        overview = HistoryOverview();
        overview.unreadable = troubleReasonFor(reader.error());
    }
    return overview;
}

namespace {

const QString kIndexes[] = {
    // Each stretch's finished runs and their times, from the index alone.
    QStringLiteral("CREATE INDEX IF NOT EXISTS runs_finished_in_order ON "
                   "runs(level_sha256, id, time_ms, outcome) WHERE outcome = 'finished'"),
    // Each stretch's failed runs.
    QStringLiteral("CREATE INDEX IF NOT EXISTS runs_failed_in_order ON "
                   "runs(level_sha256, id, outcome) WHERE outcome <> 'finished'"),
    // The best finished runs, fastest first.
    QStringLiteral("CREATE INDEX IF NOT EXISTS runs_fastest_first ON "
                   "runs(level_sha256, time_ms) WHERE outcome = 'finished'"),
    // The finished runs of the tracks of the day, for their streak.
    QStringLiteral("CREATE INDEX IF NOT EXISTS runs_daily_finished ON "
                   "runs(level_name, started_utc) WHERE level_name GLOB 'Daily_*' AND "
                   "outcome = 'finished'"),
};

// Each track's runs in blocks of 128 consecutive runs (the last block of a track may hold
// fewer), each with its counts and its finished runs' fastest and slowest time (0 without
// one): made from the runs already there, then kept by a trigger as runs are added, so that
// any game writing the file keeps them right.
const QString kBlocks[] = {
    QStringLiteral("CREATE TABLE run_blocks(level_sha256 TEXT NOT NULL, "
                   "first_id INTEGER NOT NULL, last_id INTEGER NOT NULL, "
                   "finished INTEGER NOT NULL, failed INTEGER NOT NULL, "
                   "fastest_ms INTEGER NOT NULL, slowest_ms INTEGER NOT NULL, "
                   "PRIMARY KEY(level_sha256, first_id)) WITHOUT ROWID"),
    QStringLiteral("INSERT INTO run_blocks SELECT level_sha256, MIN(id), MAX(id), "
                   "SUM(outcome = 'finished'), SUM(outcome <> 'finished'), "
                   "IFNULL(MIN(CASE WHEN outcome = 'finished' THEN time_ms END), 0), "
                   "IFNULL(MAX(CASE WHEN outcome = 'finished' THEN time_ms END), 0) "
                   "FROM (SELECT level_sha256, id, outcome, time_ms, (ROW_NUMBER() OVER "
                   "(PARTITION BY level_sha256 ORDER BY id) - 1) / %1 AS block FROM runs) "
                   "GROUP BY level_sha256, block")
        .arg(kBlockRuns),
    // A new run joins its track's last block while that has room, else begins a block.
    QStringLiteral(
        "CREATE TRIGGER run_blocks_grow AFTER INSERT ON runs BEGIN "
        "UPDATE run_blocks SET last_id = NEW.id, "
        "finished = finished + (NEW.outcome = 'finished'), "
        "failed = failed + (NEW.outcome <> 'finished'), "
        "fastest_ms = CASE WHEN NEW.outcome <> 'finished' THEN fastest_ms "
        "WHEN finished = 0 THEN NEW.time_ms ELSE MIN(fastest_ms, NEW.time_ms) END, "
        "slowest_ms = CASE WHEN NEW.outcome <> 'finished' THEN slowest_ms "
        "WHEN finished = 0 THEN NEW.time_ms ELSE MAX(slowest_ms, NEW.time_ms) END "
        "WHERE level_sha256 = NEW.level_sha256 AND first_id = (SELECT MAX(first_id) FROM "
        "run_blocks WHERE level_sha256 = NEW.level_sha256) AND finished + failed < %1 AND "
        "last_id < NEW.id; "
        "INSERT INTO run_blocks SELECT NEW.level_sha256, NEW.id, NEW.id, "
        "NEW.outcome = 'finished', NEW.outcome <> 'finished', "
        "CASE WHEN NEW.outcome = 'finished' THEN NEW.time_ms ELSE 0 END, "
        "CASE WHEN NEW.outcome = 'finished' THEN NEW.time_ms ELSE 0 END "
        "WHERE (SELECT last_id FROM run_blocks WHERE level_sha256 = NEW.level_sha256 "
        "ORDER BY first_id DESC LIMIT 1) IS NOT NEW.id; END")
        .arg(kBlockRuns),
};

} // namespace

bool prepareOverview(const QSqlDatabase& db) {
    QSqlQuery q(db);
    // Each index that is there already costs a look at the schema, never the write lock.
    bool ok = true;
    for (const QString& statement : kIndexes)
        ok = q.exec(statement) && ok;
    const auto blocksThere = [&q] {
        const bool there = q.exec(QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = "
                                                 "'table' AND name = 'run_blocks'")) &&
                           q.next();
        q.finish();
        return there;
    };
    if (blocksThere())
        return ok;
    // Another game may make them while this one waits for the lock.
    if (!q.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return false;
    const bool made = blocksThere();
    for (const QString& statement : kBlocks)
        ok = ok && (made || q.exec(statement));
    if (ok && q.exec(QStringLiteral("COMMIT")))
        return true;
    q.exec(QStringLiteral("ROLLBACK"));
    return false;
}

QList<QDate> readDailyDaysFinished(const QSqlDatabase& db) {
    QSqlQuery q(db);
    q.setForwardOnly(true);
    // The same condition as the index's, so that the index alone answers.
    if (!q.exec(QStringLiteral("SELECT DISTINCT level_name, substr(started_utc, 1, 10) FROM runs "
                               "WHERE level_name GLOB 'Daily_*' AND outcome = 'finished'")))
        return {};
    QList<QDate> days;
    while (q.next()) {
        const std::optional<QDate> day = dailyTrackDate(q.value(0).toString());
        if (day && *day == QDate::fromString(q.value(1).toString(), Qt::ISODate))
            days.append(*day);
    }
    return days;
}

} // namespace kf
