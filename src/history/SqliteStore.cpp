// The module `kfstore`: the history's database in SQLite through Qt SQL, loaded by the
// writer's thread when it opens the history (see HistoryStore).

#include "history/HistoryStore.h"
#include "history/RunHistory.h"

#include <QSqlQuery>

#include <type_traits>

namespace kf {

namespace {

class SqliteStore : public HistoryStore {
public:
    SqliteStore(const QString& path, int busyTimeoutMs) : m_history(path, busyTimeoutMs) {
        // Indexes for the history window's queries; a database of any size gets them once.
        if (m_history.available()) {
            for (const QString& statement : overviewIndexes())
                QSqlQuery(m_history.database()).exec(statement);
        }
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

    std::optional<GhostPath> ghostOf(const QString& levelSha256) const override {
        return m_history.ghostOf(levelSha256);
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
