#pragma once

#include "history/HistoryRun.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QSqlDatabase;
class QSqlError;
class QSqlQuery;
class QVariant;

namespace kf {

// The player's run history: one SQLite database (WAL, a busy timeout, each write in a
// transaction) that several games may write at once. A database that cannot be used leaves
// the store unavailable with one sentence saying why; it never throws and never changes a
// file it cannot read as its own.
class RunHistory {
public:
    static constexpr int kSchemaVersion = 3;
    static constexpr int kDefaultBusyTimeoutMs = 5000;
    // Each finished run's path is kept while it is among the last kRecentPaths finished runs of
    // its track or among its kFastestPaths fastest (the ten the history window lists): at most
    // 210 paths a track, 10 to 20 KB each for a run of ten seconds.
    static constexpr int kRecentPaths = 200;
    static constexpr int kFastestPaths = 10;

    // `<data folder>/kurvenflitzerl/history.sqlite` (defaultHistoryPath).
    static QString defaultPath() { return defaultHistoryPath(); }

    // Opens the database at `path`, creating it (and its folder) when missing and upgrading
    // an older schema in one transaction.
    explicit RunHistory(const QString& path, int busyTimeoutMs = kDefaultBusyTimeoutMs);
    ~RunHistory();
    RunHistory(const RunHistory&) = delete;
    RunHistory& operator=(const RunHistory&) = delete;

    bool available() const { return m_trouble == Trouble::None; }
    // Why there is no history, in one sentence; empty while it is available.
    const QString& unavailableReason() const { return m_reason; }
    // Why the store is unavailable, or Trouble::None.
    Trouble trouble() const { return m_trouble; }
    // Why the last run could not be written, while it waits: one sentence.
    const QString& waitingReason() const { return m_waitingReason; }

    // Stores one run, and with `mark` notes it as written from its file of waiting runs, in one
    // transaction. A finished run keeps `path` (when it is not empty and within GhostPath's
    // bound), and the paths of its track beyond kRecentPaths and kFastestPaths are dropped. A
    // finished run strictly faster than every earlier finished run of its level becomes the
    // level's ghost with `path` (none when the path is empty or beyond the bound), in the same
    // transaction: the run, its path, its ghost and its mark are stored or none of them. A finished
    // single run with a `league` and a path is kept for that league in the same transaction,
    // with a copy of its path, until leagueRunSent.
    // Passing trouble leaves the store available and the run Waiting; lasting trouble makes the
    // store unavailable with its reason.
    Stored store(const HistoryRun& run, const GhostPath& path = {},
                 const std::optional<PendingMark>& mark = std::nullopt);
    // store() for a run of its own: true when it is written.
    bool record(const HistoryRun& run, const GhostPath& path = {});
    // The highest run number of a file of waiting runs that has been written; 0 for none.
    qint64 writtenSeq(const QString& pendingFile) const;
    // Forgets the file's mark once the file itself is gone.
    void forgetPending(const QString& pendingFile);
    // Reads. One that fails for a lasting reason makes the store unavailable (readFailed).
    // Every run of the level, finished or not, in the order they were run.
    QList<HistoryRun> runsOf(const QString& levelSha256) const;
    // The `count` fastest finished runs of the level, fastest first; of equal times the earlier.
    QList<HistoryRun> bestOf(const QString& levelSha256, int count = 10) const;
    // The path of the level's best finished run; none without one, or when the stored bytes
    // are not a path.
    std::optional<GhostPath> ghostOf(const QString& levelSha256) const;
    // The path of the level's best finished run and the ghosts shared for it, in the order
    // they were kept; a shared ghost whose bytes are not a path is left out.
    TrackGhosts ghostsOf(const QString& levelSha256) const;
    // Keeps other players' ghosts for the level, in order, in one transaction. One equal to a
    // ghost kept for the level already (player, time, finished time and path) is not kept
    // again; one with an empty path or beyond GhostPath's bound is not kept at all.
    Stored keepSharedGhosts(const QString& levelSha256, const QList<SharedGhost>& ghosts);
    // Forgets the shared ghost `id`; `levelSha256` (when given) gets its level, empty when no
    // ghost has that id.
    Stored forgetSharedGhost(qint64 id, QString* levelSha256 = nullptr);
    // The path kept for the run `runId`; none when it was not kept or no longer is.
    std::optional<GhostPath> runPathOf(qint64 runId) const;
    // The level's fastest finished run with a path kept (of equal times the earlier) and that
    // path; none without one.
    std::optional<WatchedRun> bestRunOf(const QString& levelSha256) const;
    // The tallies of many levels at once, by SHA-256; a level without runs has no entry.
    QHash<QString, LevelTally> talliesOf(const QStringList& levelSha256s) const;
    // Keeps a track's bytes for the runs kept for a league, once per SHA-256 (the first bytes
    // stay); they go when a run of the track is sent and none of its runs waits any more.
    // Refused for an empty SHA-256, no bytes or more than kMaxBitmapFileBytes.
    Stored keepLeagueTrack(const QString& levelSha256, const QByteArray& bytes);
    // The oldest `limit` runs kept for the league `league` (its connection string), oldest
    // first, with their paths and their tracks' bytes, and how many wait on each track. A
    // path (or a track's bytes) beyond its bound is given empty, never read.
    LeagueOutbox leagueOutbox(const QString& league, int limit) const;
    // The run no longer waits for its league (sent, or refused by it); its track's bytes go
    // once no run of that track waits. Written when the run was not waiting at all.
    Stored leagueRunSent(qint64 runId);
    // The store's own connection, for queries of the history's readers on this store's thread.
    QSqlDatabase database() const;
    // Makes the store unavailable when a read through its connection failed for a lasting
    // reason; a read that failed for a passing one only loses that answer.
    void readFailed(const QSqlError& error) const;
    // The same for a read whose error is told already (troubleReasonFor): the overview's.
    void readFailed(const TroubleReason& trouble) const;

private:
    bool open(int busyTimeoutMs);
    bool upgrade();
    // Whether the database holds the tables of schema `version`, with their columns.
    bool hasItsTables(QSqlQuery& q, int version);
    bool insertRun(QSqlQuery& q, const HistoryRun& run);
    bool keepGhostOfBest(QSqlQuery& q, const HistoryRun& run, const GhostPath& path);
    bool keepRunPath(QSqlQuery& q, const HistoryRun& run, const GhostPath& path);
    // Keeps the run just inserted for its league, with its own copy of the path.
    bool keepForLeague(QSqlQuery& q, const HistoryRun& run, const GhostPath& path);
    bool markWritten(QSqlQuery& q, const PendingMark& mark);
    // The stored path that `SELECT … FROM <fromWhere>` finds for `key`: its length checked
    // against GhostPath's bound before its bytes are read; none when there is none.
    std::optional<GhostPath> pathFrom(const QString& fromWhere, const QVariant& key) const;
    // Runs `steps` in one write transaction: Written, or why not (as store() tells it).
    Stored write(const std::function<bool(QSqlQuery&)>& steps);
    void fail(const QSqlError& error) const;
    void fail(Trouble trouble, const QString& reason) const;

    QString m_path;
    QString m_connection;
    // A read may find the database damaged, so even a const store can become unavailable.
    mutable QString m_reason;
    QString m_waitingReason;
    mutable Trouble m_trouble = Trouble::None;
};

// The sentence that tells the player why the history cannot use its database, for an error of
// the SQLite driver, and whether that trouble passes. No driver text reaches the player.
TroubleReason troubleReasonFor(const QSqlError& error);

// The columns of a stored run that historyRunFrom reads, for a SELECT: level_sha256,
// level_name, started_utc, mode, player, outcome, time_ms, distance_px, speed_px_s, id.
const QString& storedRunColumns();

// A run, its id set, from a row whose first columns are storedRunColumns().
HistoryRun historyRunFrom(const QSqlQuery& q);

} // namespace kf
