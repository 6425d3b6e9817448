#include "history/HistoryStore.h"

#include "level/GameModule.h"

namespace kf {

namespace {

// The store of a game whose module for the database cannot be loaded: no history this session.
class MissingStore : public HistoryStore {
public:
    Trouble trouble() const override { return Trouble::Lasting; }
    QString unavailableReason() const override {
        return QStringLiteral("The run history is not available because the part of the game "
                              "that keeps its database is missing.");
    }
    QString waitingReason() const override { return {}; }
    Stored store(const HistoryRun&, const GhostPath&, const std::optional<PendingMark>&) override {
        return Stored::Never;
    }
    qint64 writtenSeq(const QString&) const override { return 0; }
    void forgetPending(const QString&) override {}
    TrackGhosts ghostsOf(const QString&) const override { return {}; }
    Stored keepSharedGhosts(const QString&, const QList<SharedGhost>&) override {
        return Stored::Never;
    }
    Stored forgetSharedGhost(qint64, QString*) override { return Stored::Never; }
    std::optional<GhostPath> runPathOf(qint64) const override { return std::nullopt; }
    std::optional<WatchedRun> bestRunOf(const QString&) const override { return std::nullopt; }
    QHash<QString, LevelTally> talliesOf(const QStringList&) const override { return {}; }
    HistoryOverview overviewOf(const QString&, int) const override { return {}; }
    QList<QDate> dailyDaysFinished() const override { return {}; }
    Stored keepLeagueTrack(const QString&, const QByteArray&) override { return Stored::Never; }
    LeagueOutbox leagueOutbox(const QString&, int) const override { return {}; }
    Stored leagueRunSent(qint64) override { return Stored::Never; }
};

} // namespace

std::unique_ptr<HistoryStore> openHistoryStore(const QString& path, int busyTimeoutMs) {
    static const auto open = reinterpret_cast<OpenHistoryStore>(
        gameModuleFunction(QStringLiteral("kfstore"), "kf_openHistoryStore"));
    if (!open)
        return std::make_unique<MissingStore>();
    return std::unique_ptr<HistoryStore>(open(path, busyTimeoutMs));
}

} // namespace kf
