#include "history/RunHistory.h"

#include "level/BitmapFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <atomic>
#include <functional>

namespace kf {

namespace {

// Each step brings the schema from its index to the next version, inside the upgrade's
// transaction.
const QStringList kUpgradeSteps[] = {
    {QStringLiteral("CREATE TABLE runs(id INTEGER PRIMARY KEY, level_sha256 TEXT NOT NULL, "
                    "level_name TEXT NOT NULL, started_utc TEXT NOT NULL, mode TEXT NOT NULL, "
                    "player TEXT NOT NULL, outcome TEXT NOT NULL, time_ms INTEGER NOT NULL, "
                    "distance_px INTEGER NOT NULL, speed_px_s INTEGER NOT NULL)"),
     QStringLiteral("CREATE INDEX runs_by_level ON runs(level_sha256, id)"),
     QStringLiteral("CREATE TABLE ghosts(level_sha256 TEXT PRIMARY KEY, "
                    "time_ms INTEGER NOT NULL, points BLOB NOT NULL)")},
    {QStringLiteral("CREATE TABLE run_paths(run_id INTEGER PRIMARY KEY REFERENCES runs(id), "
                    "points BLOB NOT NULL)"),
     // The ghost of each track's best becomes the path of the earliest finished run of its
     // time, so the best run of an older game's history can be watched too.
     QStringLiteral("INSERT INTO run_paths(run_id, points) SELECT run_id, points FROM ("
                    "SELECT (SELECT r.id FROM runs r WHERE r.level_sha256 = g.level_sha256 AND "
                    "r.outcome = 'finished' AND r.time_ms = g.time_ms ORDER BY r.id LIMIT 1) "
                    "AS run_id, g.points AS points FROM ghosts g) WHERE run_id IS NOT NULL"),
     QStringLiteral("CREATE TABLE shared_ghosts(id INTEGER PRIMARY KEY, "
                    "level_sha256 TEXT NOT NULL, player TEXT NOT NULL, time_ms INTEGER NOT NULL, "
                    "finished_utc TEXT NOT NULL, points BLOB NOT NULL)"),
     QStringLiteral("CREATE INDEX shared_ghosts_by_level ON shared_ghosts(level_sha256, id)")},
    // Finished single runs kept for a league until they are sent, each with a copy of its
    // path (run_paths drops paths the outbox still needs), and the bytes of their tracks.
    {QStringLiteral("CREATE TABLE league_outbox(run_id INTEGER PRIMARY KEY REFERENCES runs(id), "
                    "league TEXT NOT NULL, path BLOB NOT NULL)"),
     QStringLiteral("CREATE INDEX league_outbox_by_league ON league_outbox(league, run_id)"),
     QStringLiteral("CREATE TABLE league_tracks(level_sha256 TEXT PRIMARY KEY, "
                    "bytes BLOB NOT NULL)")},
};
static_assert(std::size(kUpgradeSteps) == RunHistory::kSchemaVersion);

const QString kNewerReason = QStringLiteral(
    "The run history is not available because its database was made by a newer version of "
    "the game.");
const QString kDamagedReason =
    QStringLiteral("The run history is not available because its database is damaged.");

const char* const kOutcomeNames[] = {"finished", "wall", "release"};
static_assert(std::size(kOutcomeNames) == int(RunEnd::Release) + 1);

// SQLite's primary result codes, each with what it means for the player.
enum SqliteCode {
    Error = 1,
    Perm = 3,
    Busy = 5,
    Locked = 6,
    NoMem = 7,
    ReadOnly = 8,
    IoErr = 10,
    Corrupt = 11,
    Full = 13,
    CantOpen = 14,
    Constraint = 19,
    Mismatch = 20,
    Auth = 23,
    NotADb = 26,
};

const struct {
    int code;
    Trouble trouble;
    const char* reason;
} kReasons[] = {
    {Busy, Trouble::Passing, "another program keeps its database locked"},
    {Locked, Trouble::Passing, "another program keeps its database locked"},
    {ReadOnly, Trouble::Passing, "its database is read-only"},
    {Perm, Trouble::Passing, "the game may not open its database"},
    {Auth, Trouble::Passing, "the game may not open its database"},
    {CantOpen, Trouble::Passing, "its database cannot be opened"},
    {Full, Trouble::Passing, "the disk that holds its database is full"},
    {IoErr, Trouble::Passing, "its database could not be read or written"},
    {NoMem, Trouble::Passing, "there is not enough memory for its database"},
    {Corrupt, Trouble::Lasting, "its database is damaged"},
    {NotADb, Trouble::Lasting, "its database is damaged"},
    // A statement the game's own tables do not fit: tables missing or changed by hand.
    {Error, Trouble::Lasting, "its database is damaged"},
    {Mismatch, Trouble::Lasting, "its database is damaged"},
};

QString sentence(const char* cause) {
    return QStringLiteral("The run history is not available because %1.").arg(QLatin1String(cause));
}

// Unique in the process even where two copies of this code are loaded (a program that links
// the store and loads the store's module as well): each copy's counter has an address of its own.
QString nextConnectionName() {
    static std::atomic<int> count{0};
    return QStringLiteral("kf-history-%1-%2").arg(quintptr(&count), 0, 16).arg(count++);
}

// The driver binds a null string as NULL, which the NOT NULL columns refuse.
QString text(const QString& s) {
    return s.isNull() ? QStringLiteral("") : s;
}

const QString kRunColumns = QStringLiteral(
    "level_sha256, level_name, started_utc, mode, player, outcome, time_ms, distance_px, "
    "speed_px_s");

// A stored path's bytes, read only when they are within GhostPath's bound.
const QString kBoundedPoints =
    QStringLiteral("CASE WHEN length(points) <= %1 THEN points END").arg(GhostPath::kMaxBytes);

// The same for a path kept for a league, and for a track's bytes.
const QString kBoundedOutboxPath =
    QStringLiteral("CASE WHEN length(path) <= %1 THEN path END").arg(GhostPath::kMaxBytes);
const QString kBoundedTrackBytes =
    QStringLiteral("CASE WHEN length(bytes) <= %1 THEN bytes END").arg(kMaxBitmapFileBytes);

} // namespace

TroubleReason troubleReasonFor(const QSqlError& error) {
    const int code = error.nativeErrorCode().toInt() & 0xff;
    for (const auto& r : kReasons) {
        if (r.code == code)
            return {r.trouble, sentence(r.reason)};
    }
    // A driver that gives no code could not even talk to the database: it may pass.
    return {Trouble::Passing,
            QStringLiteral("The run history is not available because its database reported "
                           "an error the game does not know (code %1).")
                .arg(code)};
}

const QString& storedRunColumns() {
    static const QString columns = kRunColumns + QStringLiteral(", id");
    return columns;
}

HistoryRun historyRunFrom(const QSqlQuery& q) {
    HistoryRun run;
    run.levelSha256 = q.value(0).toString();
    run.levelName = q.value(1).toString();
    run.startedUtc = QDateTime::fromString(q.value(2).toString(), Qt::ISODateWithMs);
    run.match = q.value(3).toString() == QLatin1String("match");
    run.player = q.value(4).toString();
    const QString outcome = q.value(5).toString();
    for (int i = 0; i < int(std::size(kOutcomeNames)); ++i) {
        if (outcome == QLatin1String(kOutcomeNames[i]))
            run.outcome = RunEnd(i);
    }
    run.timeMs = q.value(6).toInt();
    run.distancePx = q.value(7).toLongLong();
    run.speedPxPerS = q.value(8).toLongLong();
    run.id = q.value(9).toLongLong();
    return run;
}

RunHistory::RunHistory(const QString& path, int busyTimeoutMs)
    : m_path(path), m_connection(nextConnectionName()) {
    if (open(busyTimeoutMs))
        upgrade();
}

RunHistory::~RunHistory() {
    QSqlDatabase::database(m_connection, false).close();
    QSqlDatabase::removeDatabase(m_connection);
}

void RunHistory::fail(Trouble trouble, const QString& reason) const {
    m_trouble = trouble;
    m_reason = reason;
}

void RunHistory::fail(const QSqlError& error) const {
    const TroubleReason t = troubleReasonFor(error);
    fail(t.trouble, t.reason);
}

void RunHistory::readFailed(const QSqlError& error) const {
    readFailed(troubleReasonFor(error));
}

void RunHistory::readFailed(const TroubleReason& trouble) const {
    if (trouble.trouble == Trouble::Lasting)
        fail(trouble.trouble, trouble.reason);
}

bool RunHistory::open(int busyTimeoutMs) {
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE"))) {
        fail(Trouble::Lasting,
             QStringLiteral("The run history is not available because Qt's SQLite driver is "
                            "not installed."));
        return false;
    }
    if (!QDir().mkpath(QFileInfo(m_path).absolutePath())) {
        fail(Trouble::Passing,
             QStringLiteral("The run history is not available because its folder cannot be "
                            "made."));
        return false;
    }
    // SQLite would open a write-protected file for reading only and fail at the first run.
    if (const QFileInfo file(m_path); file.exists() && !file.isWritable()) {
        fail(QSqlError({}, {}, QSqlError::ConnectionError, QString::number(ReadOnly)));
        return false;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.setDatabaseName(m_path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs));
    if (!db.open()) {
        fail(db.lastError());
        return false;
    }
    return true;
}

bool RunHistory::upgrade() {
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QSqlQuery q(db);
    // The version is read before anything is written, so a database of a version this game
    // never wrote (a newer game's, or a negative one) stays exactly as it is.
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next()) {
        fail(q.lastError());
        return false;
    }
    const int seen = q.value(0).toInt();
    q.finish();
    if (seen < 0 || seen > kSchemaVersion) {
        fail(Trouble::Lasting, seen < 0 ? kDamagedReason : kNewerReason);
        return false;
    }
    // A database that says it is ours must hold the tables of its version; that too is seen
    // before anything (even the journal mode) is written.
    if (seen > 0 && !hasItsTables(q, seen)) {
        fail(Trouble::Lasting, kDamagedReason);
        return false;
    }
    // Taking the write lock also finds a database that is locked or cannot be written.
    if (!q.exec(QStringLiteral("PRAGMA journal_mode=WAL")) ||
        !q.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        fail(q.lastError());
        return false;
    }
    // Another game may have upgraded it since the first look.
    bool ok = q.exec(QStringLiteral("PRAGMA user_version")) && q.next();
    const int version = ok ? q.value(0).toInt() : 0;
    q.finish();
    const bool newer = version > kSchemaVersion;
    const bool damaged = version < 0;
    for (int step = version; ok && step >= 0 && step < kSchemaVersion; ++step) {
        for (const QString& statement : kUpgradeSteps[step])
            ok = ok && q.exec(statement);
    }
    ok = ok && !newer && !damaged &&
         (version == kSchemaVersion ||
          q.exec(QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion)));
    const bool itsTables = ok && hasItsTables(q, kSchemaVersion);
    ok = itsTables && q.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS pending_written("
                                            "file TEXT PRIMARY KEY, seq INTEGER NOT NULL)"));
    if (ok && q.exec(QStringLiteral("COMMIT")))
        return true;
    const QSqlError error = q.lastError();
    q.exec(QStringLiteral("ROLLBACK"));
    if (newer)
        fail(Trouble::Lasting, kNewerReason);
    else if (damaged || (!itsTables && error.nativeErrorCode().isEmpty()))
        fail(Trouble::Lasting, kDamagedReason);
    else
        fail(error);
    return false;
}

bool RunHistory::hasItsTables(QSqlQuery& q, int version) {
    const struct {
        int since;
        const char* table;
        const char* columns;
    } tables[] = {
        {1, "runs",
         "id,level_sha256,level_name,started_utc,mode,player,outcome,time_ms,"
         "distance_px,speed_px_s"},
        {1, "ghosts", "level_sha256,time_ms,points"},
        {2, "run_paths", "run_id,points"},
        {2, "shared_ghosts", "id,level_sha256,player,time_ms,finished_utc,points"},
        {3, "league_outbox", "run_id,league,path"},
        {3, "league_tracks", "level_sha256,bytes"},
    };
    for (const auto& t : tables) {
        if (t.since > version)
            continue;
        if (!q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(QLatin1String(t.table))))
            return false;
        QStringList names;
        while (q.next())
            names << q.value(1).toString();
        if (names.join(QLatin1Char(',')) != QLatin1String(t.columns))
            return false;
    }
    return true;
}

Stored RunHistory::store(const HistoryRun& run, const GhostPath& path,
                         const std::optional<PendingMark>& mark) {
    if (!available())
        return Stored::Never;
    if (!isStorable(run))
        return Stored::Refused;
    // The run, its path, the ghost it may make and its mark are one transaction. The write
    // lock comes first, so no other game records a faster run between the comparison and the
    // writes.
    const bool finished = run.outcome == RunEnd::Finished;
    const bool forLeague =
        finished && !run.match && !run.league.isEmpty() && !path.isEmpty() && path.fitsStore();
    return write([&](QSqlQuery& q) {
        return (!finished || keepGhostOfBest(q, run, path)) && insertRun(q, run) &&
               (!forLeague || keepForLeague(q, run, path)) &&
               (!finished || keepRunPath(q, run, path)) && (!mark || markWritten(q, *mark));
    });
}

Stored RunHistory::write(const std::function<bool(QSqlQuery&)>& steps) {
    if (!available())
        return Stored::Never;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    if (q.exec(QStringLiteral("BEGIN IMMEDIATE")) && steps(q) && q.exec(QStringLiteral("COMMIT"))) {
        m_waitingReason.clear();
        return Stored::Written;
    }
    const QSqlError error = q.lastError();
    // Without it the write lock stays held, and every other game waits for it.
    q.exec(QStringLiteral("ROLLBACK"));
    if ((error.nativeErrorCode().toInt() & 0xff) == Constraint)
        return Stored::Refused;
    const TroubleReason t = troubleReasonFor(error);
    if (t.trouble == Trouble::Passing) {
        m_waitingReason = t.reason;
        return Stored::Waiting;
    }
    fail(t.trouble, t.reason);
    return Stored::Never;
}

bool RunHistory::record(const HistoryRun& run, const GhostPath& path) {
    return store(run, path) == Stored::Written;
}

bool RunHistory::insertRun(QSqlQuery& q, const HistoryRun& run) {
    q.prepare(
        QStringLiteral("INSERT INTO runs(%1) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?)").arg(kRunColumns));
    q.addBindValue(text(run.levelSha256));
    q.addBindValue(text(run.levelName));
    q.addBindValue(run.startedUtc.toUTC().toString(Qt::ISODateWithMs));
    q.addBindValue(run.match ? QStringLiteral("match") : QStringLiteral("single"));
    q.addBindValue(text(run.player));
    q.addBindValue(QString::fromLatin1(kOutcomeNames[int(run.outcome)]));
    q.addBindValue(run.timeMs);
    q.addBindValue(qlonglong(run.distancePx));
    q.addBindValue(qlonglong(run.speedPxPerS));
    return q.exec();
}

bool RunHistory::keepGhostOfBest(QSqlQuery& q, const HistoryRun& run, const GhostPath& path) {
    q.prepare(QStringLiteral("SELECT MIN(time_ms) FROM runs WHERE level_sha256 = ? AND "
                             "outcome = 'finished'"));
    q.addBindValue(text(run.levelSha256));
    if (!q.exec() || !q.next())
        return false;
    const QVariant best = q.value(0);
    q.finish();
    if (!best.isNull() && best.toLongLong() <= run.timeMs)
        return true;
    // A path beyond the bound is no ghost: the older, slower best must not stand in for it.
    if (path.isEmpty() || path.points().size() > GhostPath::kMaxPoints) {
        q.prepare(QStringLiteral("DELETE FROM ghosts WHERE level_sha256 = ?"));
        q.addBindValue(text(run.levelSha256));
    } else {
        q.prepare(QStringLiteral("INSERT OR REPLACE INTO ghosts(level_sha256, time_ms, points) "
                                 "VALUES(?, ?, ?)"));
        q.addBindValue(text(run.levelSha256));
        q.addBindValue(run.timeMs);
        q.addBindValue(path.encode());
    }
    return q.exec();
}

bool RunHistory::keepForLeague(QSqlQuery& q, const HistoryRun& run, const GhostPath& path) {
    q.prepare(QStringLiteral("INSERT INTO league_outbox(run_id, league, path) "
                             "VALUES(last_insert_rowid(), ?, ?)"));
    q.addBindValue(run.league);
    q.addBindValue(path.encode());
    return q.exec();
}

bool RunHistory::keepRunPath(QSqlQuery& q, const HistoryRun& run, const GhostPath& path) {
    if (!path.isEmpty() && path.fitsStore()) {
        q.prepare(QStringLiteral("INSERT INTO run_paths(run_id, points) "
                                 "VALUES(last_insert_rowid(), ?)"));
        q.addBindValue(path.encode());
        if (!q.exec())
            return false;
    }
    // One finished run more moves at most one run out of the recent ones and at most one out
    // of the fastest: those two lose their paths unless the other rule keeps them. Looking at
    // those two alone keeps the cost the same however many runs the track has.
    const QString finishedOfLevel =
        QStringLiteral("SELECT id FROM runs WHERE level_sha256 = ? AND outcome = 'finished' ");
    const QString recent = finishedOfLevel + QStringLiteral("ORDER BY id DESC LIMIT %1");
    const QString fastest = finishedOfLevel + QStringLiteral("ORDER BY time_ms, id LIMIT %1");
    QList<qint64> leaving;
    for (const QString& rule : {recent.arg(1) + QStringLiteral(" OFFSET %1").arg(kRecentPaths),
                                fastest.arg(1) + QStringLiteral(" OFFSET %1").arg(kFastestPaths)}) {
        q.prepare(rule);
        q.addBindValue(text(run.levelSha256));
        if (!q.exec())
            return false;
        if (q.next())
            leaving << q.value(0).toLongLong();
    }
    for (const qint64 id : leaving) {
        q.prepare(QStringLiteral("DELETE FROM run_paths WHERE run_id = ? AND run_id NOT IN (%1) "
                                 "AND run_id NOT IN (%2)")
                      .arg(recent.arg(kRecentPaths), fastest.arg(kFastestPaths)));
        q.addBindValue(id);
        q.addBindValue(text(run.levelSha256));
        q.addBindValue(text(run.levelSha256));
        if (!q.exec())
            return false;
    }
    return true;
}

bool RunHistory::markWritten(QSqlQuery& q, const PendingMark& mark) {
    q.prepare(QStringLiteral("INSERT OR REPLACE INTO pending_written(file, seq) VALUES(?, ?)"));
    q.addBindValue(mark.file);
    q.addBindValue(mark.seq);
    return q.exec();
}

qint64 RunHistory::writtenSeq(const QString& pendingFile) const {
    if (!available())
        return 0;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(QStringLiteral("SELECT seq FROM pending_written WHERE file = ?"));
    q.addBindValue(pendingFile);
    if (!q.exec()) {
        readFailed(q.lastError());
        return 0;
    }
    return q.next() ? q.value(0).toLongLong() : 0;
}

void RunHistory::forgetPending(const QString& pendingFile) {
    if (!available())
        return;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(QStringLiteral("DELETE FROM pending_written WHERE file = ?"));
    q.addBindValue(pendingFile);
    q.exec();
}

QList<HistoryRun> RunHistory::runsOf(const QString& levelSha256) const {
    QList<HistoryRun> runs;
    if (!available())
        return runs;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT %1 FROM runs WHERE level_sha256 = ? ORDER BY id")
                  .arg(storedRunColumns()));
    q.addBindValue(levelSha256);
    if (!q.exec()) {
        readFailed(q.lastError());
        return runs;
    }
    while (q.next())
        runs.append(historyRunFrom(q));
    return runs;
}

QList<HistoryRun> RunHistory::bestOf(const QString& levelSha256, int count) const {
    QList<HistoryRun> runs;
    if (!available())
        return runs;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT %1 FROM runs WHERE level_sha256 = ? AND outcome = "
                             "'finished' ORDER BY time_ms, id LIMIT ?")
                  .arg(storedRunColumns()));
    q.addBindValue(levelSha256);
    q.addBindValue(count);
    if (!q.exec()) {
        readFailed(q.lastError());
        return runs;
    }
    while (q.next())
        runs.append(historyRunFrom(q));
    return runs;
}

std::optional<GhostPath> RunHistory::ghostOf(const QString& levelSha256) const {
    if (!available())
        return std::nullopt;
    return pathFrom(QStringLiteral("ghosts WHERE level_sha256 = ?"), levelSha256);
}

std::optional<GhostPath> RunHistory::pathFrom(const QString& fromWhere, const QVariant& key) const {
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    // The length is asked first, so a path beyond the bound is never even read.
    q.prepare(QStringLiteral("SELECT %1 FROM %2").arg(kBoundedPoints, fromWhere));
    q.addBindValue(key);
    if (!q.exec()) {
        readFailed(q.lastError());
        return std::nullopt;
    }
    if (!q.next() || q.isNull(0))
        return std::nullopt;
    return GhostPath::decode(q.value(0).toByteArray());
}

TrackGhosts RunHistory::ghostsOf(const QString& levelSha256) const {
    TrackGhosts ghosts;
    ghosts.own = ghostOf(levelSha256);
    if (!available())
        return ghosts;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT id, player, time_ms, finished_utc, %1 FROM shared_ghosts "
                             "WHERE level_sha256 = ? ORDER BY id")
                  .arg(kBoundedPoints));
    q.addBindValue(levelSha256);
    if (!q.exec()) {
        readFailed(q.lastError());
        return ghosts;
    }
    while (q.next()) {
        // A ghost whose bytes are no path is left out; the others still race.
        std::optional<GhostPath> path = GhostPath::decode(q.value(4).toByteArray());
        if (!path)
            continue;
        ghosts.shared.append({q.value(0).toLongLong(), q.value(1).toString(), q.value(2).toInt(),
                              QDateTime::fromString(q.value(3).toString(), Qt::ISODateWithMs),
                              std::move(*path)});
    }
    return ghosts;
}

Stored RunHistory::keepSharedGhosts(const QString& levelSha256, const QList<SharedGhost>& ghosts) {
    const auto keepAll = [&](QSqlQuery& q) {
        for (const SharedGhost& ghost : ghosts) {
            if (ghost.path.isEmpty() || !ghost.path.fitsStore() || ghost.timeMs < 0)
                continue;
            const QByteArray points = ghost.path.encode();
            const QString finished = ghost.finishedUtc.toUTC().toString(Qt::ISODateWithMs);
            q.prepare(QStringLiteral(
                "INSERT INTO shared_ghosts(level_sha256, player, time_ms, finished_utc, points) "
                "SELECT ?, ?, ?, ?, ? WHERE NOT EXISTS (SELECT 1 FROM shared_ghosts WHERE "
                "level_sha256 = ? AND player = ? AND time_ms = ? AND finished_utc = ? AND "
                "points = ?)"));
            for (int i = 0; i < 2; ++i) {
                q.addBindValue(text(levelSha256));
                q.addBindValue(text(ghost.player));
                q.addBindValue(ghost.timeMs);
                q.addBindValue(text(finished));
                q.addBindValue(points);
            }
            if (!q.exec())
                return false;
        }
        return true;
    };
    return write(keepAll);
}

Stored RunHistory::forgetSharedGhost(qint64 id, QString* levelSha256) {
    return write([&](QSqlQuery& q) {
        q.prepare(QStringLiteral("SELECT level_sha256 FROM shared_ghosts WHERE id = ?"));
        q.addBindValue(id);
        if (!q.exec())
            return false;
        const QString level = q.next() ? q.value(0).toString() : QString();
        q.prepare(QStringLiteral("DELETE FROM shared_ghosts WHERE id = ?"));
        q.addBindValue(id);
        if (!q.exec())
            return false;
        if (levelSha256)
            *levelSha256 = level;
        return true;
    });
}

std::optional<GhostPath> RunHistory::runPathOf(qint64 runId) const {
    if (!available())
        return std::nullopt;
    return pathFrom(QStringLiteral("run_paths WHERE run_id = ?"), runId);
}

std::optional<WatchedRun> RunHistory::bestRunOf(const QString& levelSha256) const {
    if (!available())
        return std::nullopt;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT %1, %2 FROM runs JOIN run_paths ON run_id = id WHERE "
                             "level_sha256 = ? AND outcome = 'finished' ORDER BY time_ms, id")
                  .arg(storedRunColumns(), kBoundedPoints));
    q.addBindValue(levelSha256);
    if (!q.exec()) {
        readFailed(q.lastError());
        return std::nullopt;
    }
    // The fastest whose path reads back; a damaged one is passed over.
    while (q.next()) {
        if (std::optional<GhostPath> path = GhostPath::decode(q.value(10).toByteArray()))
            return WatchedRun{historyRunFrom(q), std::move(*path)};
    }
    return std::nullopt;
}

QHash<QString, LevelTally> RunHistory::talliesOf(const QStringList& levelSha256s) const {
    QHash<QString, LevelTally> tallies;
    if (!available())
        return tallies;
    // Within SQLite's oldest limit of bound values per statement.
    constexpr qsizetype kPerQuery = 500;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.setForwardOnly(true);
    for (qsizetype from = 0; from < levelSha256s.size(); from += kPerQuery) {
        const QStringList some = levelSha256s.mid(from, kPerQuery);
        QStringList marks(some.size(), QStringLiteral("?"));
        q.prepare(QStringLiteral("SELECT level_sha256, COUNT(*), "
                                 "SUM(outcome = 'finished'), "
                                 "MIN(CASE WHEN outcome = 'finished' THEN time_ms END) "
                                 "FROM runs WHERE level_sha256 IN (%1) GROUP BY level_sha256")
                      .arg(marks.join(QLatin1Char(','))));
        for (const QString& sha : some)
            q.addBindValue(sha);
        if (!q.exec()) {
            readFailed(q.lastError());
            return tallies;
        }
        while (q.next())
            tallies.insert(q.value(0).toString(),
                           {q.value(1).toInt(), q.value(2).toInt(), q.value(3).toInt()});
    }
    return tallies;
}

Stored RunHistory::keepLeagueTrack(const QString& levelSha256, const QByteArray& bytes) {
    if (!available())
        return Stored::Never;
    if (levelSha256.isEmpty() || bytes.isEmpty() || bytes.size() > kMaxBitmapFileBytes)
        return Stored::Refused;
    return write([&](QSqlQuery& q) {
        q.prepare(QStringLiteral(
            "INSERT OR IGNORE INTO league_tracks(level_sha256, bytes) VALUES(?, ?)"));
        q.addBindValue(levelSha256);
        q.addBindValue(bytes);
        return q.exec();
    });
}

LeagueOutbox RunHistory::leagueOutbox(const QString& league, int limit) const {
    if (!available())
        return {};
    LeagueOutbox outbox;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.setForwardOnly(true);
    // A path beyond the bound is given empty, so the league refuses it rather than it waiting
    // at the head of the outbox for ever.
    q.prepare(QStringLiteral("SELECT %1, %2 FROM league_outbox JOIN runs ON id = run_id "
                             "WHERE league = ? ORDER BY run_id LIMIT ?")
                  .arg(storedRunColumns(), kBoundedOutboxPath));
    q.addBindValue(league);
    q.addBindValue(limit);
    if (!q.exec()) {
        readFailed(q.lastError());
        return {};
    }
    while (q.next()) {
        LeagueOutboxRun waiting{historyRunFrom(q), q.value(10).toByteArray(), {}};
        waiting.run.league = league;
        outbox.runs.append(std::move(waiting));
    }
    q.prepare(QStringLiteral("SELECT level_sha256, COUNT(*) FROM league_outbox JOIN runs ON "
                             "id = run_id WHERE league = ? GROUP BY level_sha256"));
    q.addBindValue(league);
    if (!q.exec()) {
        readFailed(q.lastError());
        return {};
    }
    while (q.next())
        outbox.waitingByTrack.insert(q.value(0).toString(), q.value(1).toLongLong());
    // Each track's bytes are read once and shared by its runs.
    QHash<QString, QByteArray> tracks;
    for (LeagueOutboxRun& waiting : outbox.runs) {
        const QString& sha = waiting.run.levelSha256;
        if (!tracks.contains(sha)) {
            q.prepare(QStringLiteral("SELECT %1 FROM league_tracks WHERE level_sha256 = ?")
                          .arg(kBoundedTrackBytes));
            q.addBindValue(sha);
            if (!q.exec()) {
                readFailed(q.lastError());
                return {};
            }
            tracks.insert(sha, q.next() ? q.value(0).toByteArray() : QByteArray());
        }
        waiting.trackBytes = tracks.value(sha);
    }
    return outbox;
}

Stored RunHistory::leagueRunSent(qint64 runId) {
    return write([&](QSqlQuery& q) {
        q.prepare(QStringLiteral("SELECT level_sha256 FROM runs WHERE id = ?"));
        q.addBindValue(runId);
        if (!q.exec())
            return false;
        const QString level = q.next() ? q.value(0).toString() : QString();
        q.finish();
        q.prepare(QStringLiteral("DELETE FROM league_outbox WHERE run_id = ?"));
        q.addBindValue(runId);
        if (!q.exec())
            return false;
        // Only the sent run's track: another track's bytes may have been kept just before
        // its run, which is written behind them.
        q.prepare(QStringLiteral("DELETE FROM league_tracks WHERE level_sha256 = ? AND NOT "
                                 "EXISTS (SELECT 1 FROM league_outbox JOIN runs ON id = run_id "
                                 "WHERE runs.level_sha256 = ?)"));
        q.addBindValue(text(level));
        q.addBindValue(text(level));
        return q.exec();
    });
}

QSqlDatabase RunHistory::database() const {
    return QSqlDatabase::database(m_connection, false);
}

} // namespace kf
