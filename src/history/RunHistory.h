#pragma once

#include "run/GhostPath.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class QSqlDatabase;
class QSqlQuery;

namespace kf {

// How a run ended, as the history stores it.
enum class RunEnd { Finished, Wall, Release };

// One run as the history keeps it. `player` is the record name entered after the run, the
// match player, or empty.
struct HistoryRun {
    QString levelSha256;
    QString levelName;
    QDateTime startedUtc;
    bool match = false;
    QString player;
    RunEnd outcome = RunEnd::Finished;
    int timeMs = 0;
    long distancePx = 0;
    long speedPxPerS = 0;
};

// What the history holds of one level: how many runs, how many of them finished, and the best
// finished time in milliseconds (0 while none finished).
struct LevelTally {
    int runs = 0;
    int finished = 0;
    int bestMs = 0;
};

// The player's run history: one SQLite database (WAL, a busy timeout, each write in a
// transaction) that several games may write at once. A database that cannot be used leaves
// the store unavailable with one sentence saying why; it never throws and never changes a
// file it cannot read as its own.
class RunHistory {
public:
    static constexpr int kSchemaVersion = 1;
    static constexpr int kDefaultBusyTimeoutMs = 5000;

    // `<data folder>/kurvenflitzerl/history.sqlite`: $XDG_DATA_HOME, else ~/.local/share.
    static QString defaultPath();

    // Opens the database at `path`, creating it (and its folder) when missing and upgrading
    // an older schema in one transaction.
    explicit RunHistory(const QString& path, int busyTimeoutMs = kDefaultBusyTimeoutMs);
    ~RunHistory();
    RunHistory(const RunHistory&) = delete;
    RunHistory& operator=(const RunHistory&) = delete;

    bool available() const { return m_reason.isEmpty(); }
    // Why there is no history, in one sentence; empty while it is available.
    const QString& unavailableReason() const { return m_reason; }

    // Stores one run; false (and the store unavailable, with its reason) when it could not.
    // A finished run strictly faster than every earlier finished run of its level becomes the
    // level's ghost with `path` (none when the path is empty), in the same transaction as the
    // run: both are stored or neither.
    bool record(const HistoryRun& run, const GhostPath& path = {});
    // Every run of the level, finished or not, in the order they were run.
    QList<HistoryRun> runsOf(const QString& levelSha256) const;
    // The `count` fastest finished runs of the level, fastest first; of equal times the earlier.
    QList<HistoryRun> bestOf(const QString& levelSha256, int count = 10) const;
    // The path of the level's best finished run; none without one, or when the stored bytes
    // are not a path.
    std::optional<GhostPath> ghostOf(const QString& levelSha256) const;
    // The tallies of many levels at once, by SHA-256; a level without runs has no entry.
    QHash<QString, LevelTally> talliesOf(const QStringList& levelSha256s) const;
    // The store's own connection, for queries of the history's readers on this store's thread.
    QSqlDatabase database() const;

private:
    bool open(int busyTimeoutMs);
    bool upgrade();
    bool insertRun(QSqlQuery& q, const HistoryRun& run);
    bool keepGhostOfBest(QSqlQuery& q, const HistoryRun& run, const GhostPath& path);
    void fail(const QString& reason);

    QString m_path;
    QString m_connection;
    QString m_reason;
};

// The SHA-256 of a file's bytes in lower-case hex; empty when the file cannot be read.
QString fileSha256(const QString& path);

} // namespace kf
