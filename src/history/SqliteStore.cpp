// The module `kfstore`: the history's database in SQLite through Qt SQL, loaded by the
// writer's thread when it opens the history (see HistoryStore).

#include "history/HistoryStore.h"
#include "history/RunHistory.h"

#include <QSqlDatabase>

#include <type_traits>

namespace kf {

namespace {

class SqliteStore : public HistoryStore {
public:
    SqliteStore(const QString& path, int busyTimeoutMs) : m_history(path, busyTimeoutMs) {
        // Indexes and blocks for the history window's queries; a database of any size gets
        // them once. A locked database gets them at a later start.
        if (m_history.available())
            prepareOverview(m_history.database());
    }

    Trouble trouble() const override { return m_history.trouble(); }
    QString unavailableReason() const override { return m_history.unavailableReason(); }
    QString waitingReason() const override { return m_history.waitingReason(); }

    Stored store(const HistoryRun& run, const GhostPath& path,
                 const std::optional<PendingMark>& mark) override {
        return m_history.store(run, path, mark);
    }
    qint64 writtenSeq(const QString& pendingFile) const override {
        return m_history.writtenSeq(pendingFile);
    }
    void forgetPending(const QString& pendingFile) override {
        m_history.forgetPending(pendingFile);
    }

    TrackGhosts ghostsOf(const QString& levelSha256) const override {
        return m_history.ghostsOf(levelSha256);
    }
    Stored keepSharedGhosts(const QString& levelSha256, const QList<SharedGhost>& ghosts) override {
        return m_history.keepSharedGhosts(levelSha256, ghosts);
    }
    Stored forgetSharedGhost(qint64 id, QString* levelSha256) override {
        return m_history.forgetSharedGhost(id, levelSha256);
    }
    std::optional<GhostPath> runPathOf(qint64 runId) const override {
        return m_history.runPathOf(runId);
    }
    std::optional<WatchedRun> bestRunOf(const QString& levelSha256) const override {
        return m_history.bestRunOf(levelSha256);
    }
    QHash<QString, LevelTally> talliesOf(const QStringList& levelSha256s) const override {
        return m_history.talliesOf(levelSha256s);
    }
    HistoryOverview overviewOf(const QString& levelSha256, int columns) const override {
        HistoryOverview overview = readOverview(m_history.database(), levelSha256, columns);
        if (overview.unreadable)
            m_history.readFailed(*overview.unreadable);
        return overview;
    }
    QList<QDate> dailyDaysFinished() const override {
        return readDailyDaysFinished(m_history.database());
    }
    Stored keepLeagueTrack(const QString& levelSha256, const QByteArray& bytes) override {
        return m_history.keepLeagueTrack(levelSha256, bytes);
    }
    LeagueOutbox leagueOutbox(const QString& league, int limit) const override {
        return m_history.leagueOutbox(league, limit);
    }
    Stored leagueRunSent(qint64 runId) override { return m_history.leagueRunSent(runId); }

private:
    RunHistory m_history;
};

} // namespace

} // namespace kf

extern "C" Q_DECL_EXPORT kf::HistoryStore* kf_openHistoryStore(const QString& path,
                                                               int busyTimeoutMs) {
    return new kf::SqliteStore(path, busyTimeoutMs);
}
static_assert(std::is_same_v<decltype(&kf_openHistoryStore), kf::OpenHistoryStore>);
