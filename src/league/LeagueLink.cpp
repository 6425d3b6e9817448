#include "league/LeagueLink.h"

#include "history/HistoryWriter.h"
#include "league/LeagueService.h"

#include <QMetaObject>

#include <memory>

namespace kf {

// The league's side of the link, on the league's thread: the one connection to the server,
// made again whenever the connection string changes or the last call lost it.
class LeagueWorker : public QObject {
public:
    // Empty once connected to `connInfo`, else why not.
    QString connectTo(const QString& connInfo) {
        if (!m_service)
            m_service = openLeagueService();
        if (m_connected == connInfo && m_service->connected())
            return {};
        m_connected.clear();
        QString failure = m_service->connect(connInfo);
        if (failure.isEmpty())
            m_connected = connInfo;
        return failure;
    }
    LeagueService& service() { return *m_service; }

private:
    std::unique_ptr<LeagueService> m_service;
    QString m_connected;
};

namespace {

// A run kept by the history as the league takes it: its finish time is when it started plus
// its time, so every sending of the run gives the league the same key.
std::optional<LeagueRun> leagueRunOf(const LeagueOutboxRun& kept) {
    std::optional<GhostPath> path = GhostPath::decode(kept.path);
    if (!path)
        return std::nullopt;
    const HistoryRun& run = kept.run;
    return LeagueRun{run.levelName, kept.trackBytes,
                     run.timeMs,    run.startedUtc.toUTC().addMSecs(run.timeMs),
                     *path,         run.levelSha256};
}

} // namespace

LeagueLink::LeagueLink(HistoryWriter* history, QObject* parent)
    : QObject(parent), m_history(history) {
    m_thread.setObjectName(QStringLiteral("league"));
    m_worker = new LeagueWorker;
    m_worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread.start();

    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &LeagueLink::askOutbox);
    connect(history, &HistoryWriter::leagueOutboxRead, this, &LeagueLink::outboxRead);
    // Each run the history writes may be one for the league; a history that can be written
    // again may hold runs that waited.
    connect(history, &HistoryWriter::runWritten, this, [this](const QString&, RunEnd outcome) {
        if (outcome == RunEnd::Finished)
            askOutbox();
    });
    connect(history, &HistoryWriter::stateChanged, this, &LeagueLink::askOutbox);
}

LeagueLink::~LeagueLink() {
    m_thread.quit();
    m_thread.wait();
}

void LeagueLink::setConnection(const QString& connInfo) {
    if (connInfo == m_connection)
        return;
    m_connection = connInfo;
    m_waitingByTrack.clear();
    m_waitingReason.clear();
    m_retry.stop();
    m_retryMs = kFirstRetryMs;
    askOutbox();
    emit sendingChanged();
}

void LeagueLink::askOutbox() {
    if (m_connection.isEmpty() || m_sending || !m_history->usable())
        return;
    m_sending = true;
    // The runs already taken may still be listed until the history has noted them.
    m_history->askLeagueOutbox(m_connection, kBatch + int(m_done.size()));
}

void LeagueLink::outboxRead(const QString& league, const LeagueOutbox& outbox) {
    if (league != m_connection) {
        m_sending = false;
        askOutbox();
        return;
    }
    m_waitingByTrack = outbox.waitingByTrack;
    for (auto it = m_waitingByTrack.begin(); it != m_waitingByTrack.end(); ++it) {
        for (const LeagueOutboxRun& kept : outbox.runs) {
            if (kept.run.levelSha256 == it.key() && m_done.contains(kept.run.id))
                --it.value();
        }
    }
    // A run taken that the history no longer lists is noted there.
    QSet<qint64> listed;
    for (const LeagueOutboxRun& kept : outbox.runs)
        listed.insert(kept.run.id);
    m_done.intersect(listed);
    QList<LeagueOutboxRun> runs;
    for (const LeagueOutboxRun& kept : outbox.runs) {
        if (!m_done.contains(kept.run.id) && runs.size() < kBatch)
            runs.append(kept);
    }
    if (runs.isEmpty()) {
        m_sending = false;
        return;
    }
    QMetaObject::invokeMethod(m_worker, [this, worker = m_worker, league, runs] {
        QList<qint64> done;
        QString lost = worker->connectTo(league);
        for (qsizetype i = 0; lost.isEmpty() && i < runs.size(); ++i) {
            const std::optional<LeagueRun> run = leagueRunOf(runs[i]);
            // A path the history cannot read back could never be proven: it goes nowhere.
            const LeagueSubmission sent =
                run ? worker->service().submit(*run) : LeagueSubmission{0, {}, false};
            if (sent.lost)
                lost = sent.refusal;
            else
                done.append(runs[i].run.id);
        }
        QMetaObject::invokeMethod(this,
                                  [this, league, done, lost] { batchSent(league, done, lost); });
    });
}

void LeagueLink::batchSent(const QString& league, const QList<qint64>& done,
                           const QString& lostReason) {
    m_sending = false;
    for (qint64 id : done) {
        m_done.insert(id);
        m_history->leagueRunSent(id);
    }
    if (league != m_connection) {
        askOutbox();
        return;
    }
    const QString before = m_waitingReason;
    m_waitingReason = lostReason;
    if (lostReason.isEmpty()) {
        m_retryMs = kFirstRetryMs;
        askOutbox();
    } else {
        m_retry.start(m_retryMs);
        m_retryMs = std::min(m_retryMs * 2, kLastRetryMs);
    }
    if (!done.isEmpty() || before != m_waitingReason)
        emit sendingChanged();
}

void LeagueLink::tryConnection(const QString& connInfo) {
    QMetaObject::invokeMethod(m_worker, [this, connInfo] {
        const std::unique_ptr<LeagueService> trial = openLeagueService();
        const QString failure = trial->connect(connInfo);
        const QString player = failure.isEmpty() ? trial->player() : QString();
        QMetaObject::invokeMethod(
            this, [this, connInfo, player, failure] { emit tried(connInfo, player, failure); });
    });
}

void LeagueLink::askStanding(const QString& levelSha256) {
    const QString league = m_connection;
    if (league.isEmpty())
        return;
    askOutbox();
    QMetaObject::invokeMethod(m_worker, [this, worker = m_worker, league, levelSha256] {
        LeagueStanding standing;
        if (const QString failure = worker->connectTo(league); !failure.isEmpty())
            standing.failure = leagueUnreachable(failure);
        else
            standing = worker->service().standing(levelSha256);
        QMetaObject::invokeMethod(this, [this, league, levelSha256, standing] {
            standingFromWorker(league, levelSha256, standing);
        });
    });
}

void LeagueLink::standingFromWorker(const QString& league, const QString& levelSha256,
                                    LeagueStanding standing) {
    if (league != m_connection)
        return;
    standing.unsent = m_waitingByTrack.value(levelSha256);
    emit standingRead(levelSha256, standing);
}

void LeagueLink::raceLeader(const QString& levelSha256) {
    const QString league = m_connection;
    if (league.isEmpty())
        return;
    QMetaObject::invokeMethod(m_worker, [this, worker = m_worker, league, levelSha256] {
        QString failure = worker->connectTo(league);
        std::optional<SharedGhost> ghost;
        if (failure.isEmpty())
            ghost = worker->service().leaderGhost(levelSha256, &failure);
        if (!ghost && failure.isEmpty())
            failure = QStringLiteral("No run of this track is confirmed in the league yet.");
        QMetaObject::invokeMethod(this, [this, levelSha256, ghost, failure] {
            if (ghost)
                m_history->keepSharedGhosts(levelSha256, {*ghost});
            emit leaderRaced(levelSha256, failure);
        });
    });
}

} // namespace kf
