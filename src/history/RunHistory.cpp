#include "history/RunHistory.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>

#include <atomic>

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
};
static_assert(std::size(kUpgradeSteps) == RunHistory::kSchemaVersion);

const QString kNewerReason = QStringLiteral(
    "The run history is not available because its database was made by a newer version of "
    "the game.");

const char* const kOutcomeNames[] = {"finished", "wall", "release"};

// SQLite's primary result codes that say more to a player than the engine's own words.
enum SqliteCode { Busy = 5, Locked = 6, ReadOnly = 8, Corrupt = 11, CantOpen = 14, NotADb = 26 };

QString reasonFor(const QSqlError& error) {
    switch (error.nativeErrorCode().toInt() & 0xff) {
    case Busy:
    case Locked:
        return QStringLiteral("The run history is not available because another program "
                              "keeps its database locked.");
    case ReadOnly:
        return QStringLiteral("The run history is not available because its database is "
                              "read-only.");
    case Corrupt:
    case NotADb:
        return QStringLiteral("The run history is not available because its database is "
                              "damaged.");
    case CantOpen:
        return QStringLiteral("The run history is not available because its database cannot "
                              "be opened.");
    default:
        return QStringLiteral("The run history is not available because its database "
                              "reported: %1.")
            .arg(error.text());
    }
}

QString nextConnectionName() {
    static std::atomic<int> count{0};
    return QStringLiteral("kf-history-%1").arg(count++);
}

HistoryRun runFrom(const QSqlQuery& q) {
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
    return run;
}

// The driver binds a null string as NULL, which the NOT NULL columns refuse.
QString text(const QString& s) {
    return s.isNull() ? QStringLiteral("") : s;
}

const QString kRunColumns = QStringLiteral(
    "level_sha256, level_name, started_utc, mode, player, outcome, time_ms, distance_px, "
    "speed_px_s");

} // namespace

QString RunHistory::defaultPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/kurvenflitzerl/history.sqlite");
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

void RunHistory::fail(const QString& reason) {
    m_reason = reason;
}

bool RunHistory::open(int busyTimeoutMs) {
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE"))) {
        fail(QStringLiteral("The run history is not available because Qt's SQLite driver is "
                            "not installed."));
        return false;
    }
    if (!QDir().mkpath(QFileInfo(m_path).absolutePath())) {
        fail(QStringLiteral("The run history is not available because its folder cannot be "
                            "made."));
        return false;
    }
    // SQLite would open a write-protected file for reading only and fail at the first run.
    if (const QFileInfo file(m_path); file.exists() && !file.isWritable()) {
        fail(reasonFor(QSqlError({}, {}, QSqlError::ConnectionError, QString::number(ReadOnly))));
        return false;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.setDatabaseName(m_path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs));
    if (!db.open()) {
        fail(reasonFor(db.lastError()));
        return false;
    }
    return true;
}

bool RunHistory::upgrade() {
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QSqlQuery q(db);
    // The version is read before anything is written, so a newer game's database stays as it is.
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next()) {
        fail(reasonFor(q.lastError()));
        return false;
    }
    if (q.value(0).toInt() > kSchemaVersion) {
        fail(kNewerReason);
        return false;
    }
    // Taking the write lock also finds a database that is locked or cannot be written.
    if (!q.exec(QStringLiteral("PRAGMA journal_mode=WAL")) ||
        !q.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        fail(reasonFor(q.lastError()));
        return false;
    }
    // Another game may have upgraded it since the first look.
    bool ok = q.exec(QStringLiteral("PRAGMA user_version")) && q.next();
    const int version = ok ? q.value(0).toInt() : 0;
    const bool newer = version > kSchemaVersion;
    for (int step = version; ok && step < kSchemaVersion; ++step) {
        for (const QString& statement : kUpgradeSteps[step])
            ok = ok && q.exec(statement);
    }
    ok = ok && !newer &&
         (version == kSchemaVersion ||
          q.exec(QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion)));
    if (ok && q.exec(QStringLiteral("COMMIT")))
        return true;
    const QSqlError error = q.lastError();
    q.exec(QStringLiteral("ROLLBACK"));
    fail(newer ? kNewerReason : reasonFor(error));
    return false;
}

bool RunHistory::record(const HistoryRun& run, const GhostPath& path) {
    if (!available())
        return false;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    if (run.outcome != RunEnd::Finished) {
        // One statement is its own transaction: all of the run or none of it.
        if (insertRun(q, run))
            return true;
        fail(reasonFor(q.lastError()));
        return false;
    }
    // A finished run and the ghost it may make are one transaction. The write lock comes
    // first, so no other game records a faster run between the comparison and the writes.
    if (q.exec(QStringLiteral("BEGIN IMMEDIATE")) && keepGhostOfBest(q, run, path) &&
        insertRun(q, run) && q.exec(QStringLiteral("COMMIT")))
        return true;
    const QSqlError error = q.lastError();
    q.exec(QStringLiteral("ROLLBACK"));
    fail(reasonFor(error));
    return false;
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
    if (path.isEmpty()) {
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

QList<HistoryRun> RunHistory::runsOf(const QString& levelSha256) const {
    QList<HistoryRun> runs;
    if (!available())
        return runs;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(
        QStringLiteral("SELECT %1 FROM runs WHERE level_sha256 = ? ORDER BY id").arg(kRunColumns));
    q.addBindValue(levelSha256);
    if (q.exec()) {
        while (q.next())
            runs.append(runFrom(q));
    }
    return runs;
}

QList<HistoryRun> RunHistory::bestOf(const QString& levelSha256, int count) const {
    QList<HistoryRun> runs;
    if (!available())
        return runs;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(QStringLiteral("SELECT %1 FROM runs WHERE level_sha256 = ? AND outcome = "
                             "'finished' ORDER BY time_ms, id LIMIT ?")
                  .arg(kRunColumns));
    q.addBindValue(levelSha256);
    q.addBindValue(count);
    if (q.exec()) {
        while (q.next())
            runs.append(runFrom(q));
    }
    return runs;
}

std::optional<GhostPath> RunHistory::ghostOf(const QString& levelSha256) const {
    if (!available())
        return std::nullopt;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(QStringLiteral("SELECT points FROM ghosts WHERE level_sha256 = ?"));
    q.addBindValue(levelSha256);
    if (!q.exec() || !q.next())
        return std::nullopt;
    return GhostPath::decode(q.value(0).toByteArray());
}

QHash<QString, LevelTally> RunHistory::talliesOf(const QStringList& levelSha256s) const {
    QHash<QString, LevelTally> tallies;
    if (!available())
        return tallies;
    // Within SQLite's oldest limit of bound values per statement.
    constexpr qsizetype kPerQuery = 500;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
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
        if (!q.exec())
            continue;
        while (q.next())
            tallies.insert(q.value(0).toString(),
                           {q.value(1).toInt(), q.value(2).toInt(), q.value(3).toInt()});
    }
    return tallies;
}

QSqlDatabase RunHistory::database() const {
    return QSqlDatabase::database(m_connection, false);
}

QString fileSha256(const QString& path) {
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return {};
    return QString::fromLatin1(hash.result().toHex());
}

} // namespace kf
