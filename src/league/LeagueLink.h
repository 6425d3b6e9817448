#pragma once

#include "history/HistoryRun.h"
#include "history/LeagueStanding.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <QThread>
#include <QTimer>

namespace kf {

class HistoryWriter;
class LeagueWorker;

// The game in a league. A thread of its own ("league") holds the connection to the league's
// server (LeagueService, loaded from its module at the first use), so no call to the server
// ever waits on the window's thread.
//
// The runs go by way of the history: a finished single run handed to the history's writer with
// the league's connection string is kept in the history's database for that league (and
// survives the game's end); the link asks the writer for the kept runs, submits them in order
// and tells the writer each one that the league took or refused, which then no longer waits.
// The league takes a run once however often it is sent (the track and finish time are its
// key), so a run sent again after a game stopped between the server's answer and the
// history's note is never counted twice. While the server cannot be reached the runs wait and
// the link tries again, at first after 2 seconds and then less often, up to once a minute, and
// at each run the history writes.
class LeagueLink : public QObject {
    Q_OBJECT
public:
    // Runs sent in one batch.
    static constexpr int kBatch = 16;
    static constexpr int kFirstRetryMs = 2000;
    static constexpr int kLastRetryMs = 60000;

    explicit LeagueLink(HistoryWriter* history, QObject* parent = nullptr);
    // Stops the thread after the call under way; the runs not sent stay in the history.
    ~LeagueLink() override;

    // The league's connection string (empty: no league); the runs kept for it are sent from now.
    void setConnection(const QString& connInfo);
    const QString& connection() const { return m_connection; }
    // Why the runs wait for the server, in one sentence; empty while they go.
    const QString& waitingReason() const { return m_waitingReason; }

    // Tries a connection string without taking it (tried).
    void tryConnection(const QString& connInfo);
    // What the League page shows of the track (standingRead), its runs kept on this machine
    // counted as the history last told.
    void askStanding(const QString& levelSha256);
    // Keeps the confirmed run of the track's leader as a shared ghost in the history
    // (leaderRaced: an empty failure once it is handed over).
    void raceLeader(const QString& levelSha256);

signals:
    // `player` is the name the league knows the player by; `failure` says why not, else empty.
    void tried(const QString& connInfo, const QString& player, const QString& failure);
    void standingRead(const QString& levelSha256, const kf::LeagueStanding& standing);
    void leaderRaced(const QString& levelSha256, const QString& failure);
    // Runs went to the league, or they wait (waitingReason).
    void sendingChanged();

private:
    void askOutbox();
    void outboxRead(const QString& league, const kf::LeagueOutbox& outbox);
    void batchSent(const QString& league, const QList<qint64>& done, const QString& lostReason);
    void standingFromWorker(const QString& league, const QString& levelSha256,
                            kf::LeagueStanding standing);

    HistoryWriter* m_history;
    QThread m_thread;
    LeagueWorker* m_worker = nullptr;
    QString m_connection;
    QString m_waitingReason;
    // A batch is with the league's thread.
    bool m_sending = false;
    QTimer m_retry;
    int m_retryMs = kFirstRetryMs;
    // Runs the league took or refused whose note the history may not have written yet: they
    // are not sent again while the history still lists them.
    QSet<qint64> m_done;
    QHash<QString, qint64> m_waitingByTrack;
};

} // namespace kf
