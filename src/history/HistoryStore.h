#pragma once

#include "history/HistoryOverview.h"
#include "history/HistoryRun.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace kf {

// The history's database as the writer's thread uses it. The database's code (RunHistory, with
// Qt SQL and the SQLite driver) lives in the module `kfstore`, which the thread loads when it
// opens the history, so the game starts without it. Each call runs on the thread that opened
// the store; the calls are RunHistory's, which tells what each does.
class HistoryStore {
public:
    virtual ~HistoryStore() = default;

    virtual Trouble trouble() const = 0;
    bool available() const { return trouble() == Trouble::None; }
    virtual QString unavailableReason() const = 0;
    virtual QString waitingReason() const = 0;

    virtual Stored store(const HistoryRun& run, const GhostPath& path,
                         const std::optional<PendingMark>& mark) = 0;
    virtual qint64 writtenSeq(const QString& pendingFile) const = 0;
    virtual void forgetPending(const QString& pendingFile) = 0;

    virtual TrackGhosts ghostsOf(const QString& levelSha256) const = 0;
    virtual Stored keepSharedGhosts(const QString& levelSha256,
                                    const QList<SharedGhost>& ghosts) = 0;
    virtual Stored forgetSharedGhost(qint64 id, QString* levelSha256) = 0;
    virtual std::optional<GhostPath> runPathOf(qint64 runId) const = 0;
    // The level's best run with its path (RunHistory::bestRunOf).
    virtual std::optional<WatchedRun> bestRunOf(const QString& levelSha256) const = 0;
    virtual QHash<QString, LevelTally> talliesOf(const QStringList& levelSha256s) const = 0;
    // What the history window shows of a track (readOverview), its chart `columns` pixels wide.
    virtual HistoryOverview overviewOf(const QString& levelSha256, int columns) const = 0;
    // The days the track of the day was finished on its day (readDailyDaysFinished).
    virtual QList<QDate> dailyDaysFinished() const = 0;
    // The league's side of the history (RunHistory::keepLeagueTrack, leagueOutbox,
    // leagueRunSent).
    virtual Stored keepLeagueTrack(const QString& levelSha256, const QByteArray& bytes) = 0;
    virtual LeagueOutbox leagueOutbox(const QString& league, int limit) const = 0;
    virtual Stored leagueRunSent(qint64 runId) = 0;
};

// The module's one entry: opens (creates, upgrades) the database at `path` and gives the store,
// available or with the reason why not. Named kf_openHistoryStore in the module.
using OpenHistoryStore = HistoryStore* (*)(const QString& path, int busyTimeoutMs);

// Opens the store through the module `kfstore`, loading it at the first call. Without the
// module the store is unavailable for the session, with a sentence that says so.
std::unique_ptr<HistoryStore> openHistoryStore(const QString& path, int busyTimeoutMs);

} // namespace kf
