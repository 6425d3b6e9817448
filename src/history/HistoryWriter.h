#pragma once

#include "history/HistoryOverview.h"
#include "history/RunHistory.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QThread>

#include <atomic>
#include <memory>
#include <optional>

namespace kf {

class HistoryWorker;
class PendingRuns;

// The run history as the game uses it: a thread of its own does every piece of database work,
// so the end of a run costs the window's thread no more than handing the run over, and a
// locked, busy or full database delays the writing, never the game.
//
// A run handed over is kept at once in the game's file of waiting runs beside the database
// (PendingRuns) and written by the thread, in order and each once, as soon as the database can
// be written; a run that waits when the game ends is written by the next game. Only a database
// that cannot be the game's (damaged, newer, not a database) ends the history for the session.
// Questions (the ghosts of a track, a run's path, a track's best run, the tallies of tracks,
// the overview of a track's history, a league's outbox) are answered by signals on the thread
// that asked. Shared ghosts to keep or forget, a league's tracks and its runs sent wait in the
// thread's queue behind the runs, as runs do, while the database cannot be written; those still
// waiting when the game ends are not kept (a run whose sending was not noted waits for its
// league again in the next game). The database's code is a module of its own (HistoryStore),
// loaded by the thread when it opens the history: without it the history is unavailable for
// the session, with a sentence that says so.
class HistoryWriter : public QObject {
    Q_OBJECT
public:
    enum class State {
        Opening,     // the thread has not opened the database yet
        Ready,       // runs are written as they come
        Waiting,     // the database cannot be written now; the runs wait (reason())
        Unavailable, // no history for the rest of the session (reason())
    };
    // How long one write waits for another program's lock before the thread tries again
    // later, so that questions are answered in between.
    static constexpr int kBusyTimeoutMs = 250;

    // Starts the thread, which opens (creates, upgrades) the database at `path` (the player's:
    // RunHistory::defaultPath()), then writes the runs that games which are gone left waiting
    // beside it.
    explicit HistoryWriter(const QString& path, int busyTimeoutMs = kBusyTimeoutMs,
                           QObject* parent = nullptr);
    // Stops the thread after the write under way; runs not yet written stay in the file.
    ~HistoryWriter() override;

    const QString& path() const { return m_path; }
    State state() const { return m_state; }
    // Why the runs wait or the history is unavailable, in one sentence; empty otherwise.
    const QString& reason() const { return m_reason; }
    // Whether the history can still be written in this session (it may be waiting).
    bool usable() const { return m_state != State::Unavailable; }

    // Hands a finished or failed run over; false (and nothing kept) for a run that can never
    // be stored (isStorable).
    bool record(const HistoryRun& run, const GhostPath& path = {});
    // Whether every run handed over has been written or refused.
    bool settled() const { return m_settled == m_handedOver; }

    // The track's ghosts: its best run's path and the ghosts shared for it (ghostsRead).
    void askGhosts(const QString& levelSha256);
    // Keeps other players' ghosts for the track, in order; one equal to a ghost kept already is
    // not kept twice (RunHistory::keepSharedGhosts). ghostsChanged once they are kept.
    void keepSharedGhosts(const QString& levelSha256, const QList<kf::SharedGhost>& ghosts);
    // Forgets a shared ghost by its id; ghostsChanged for its track once it is gone.
    void forgetSharedGhost(qint64 id);
    // The path kept for a stored run (runPathRead): none when it is not kept.
    void askRunPath(qint64 runId);
    // The track's fastest finished run with a path kept, and that path (bestRunRead).
    void askBestRun(const QString& levelSha256);
    void askTallies(const QStringList& levelSha256s);
    // What the history window shows of a track, its chart thinned to `columns` pixels.
    void askOverview(const QString& levelSha256, int columns);
    // The days the track of the day was finished on its day, for the streak.
    void askDailyDays();

    // The league's side. A finished single run handed over with its `league` set is kept for
    // that league when it is written (runWritten), until leagueRunSent. The track's bytes
    // (keepLeagueTrack, queued as runs are) go with its runs while any waits.
    void keepLeagueTrack(const QString& levelSha256, const QByteArray& bytes);
    // The oldest `limit` runs kept for the league and not sent yet (leagueOutboxRead); a run
    // handed over is among them once it is written.
    void askLeagueOutbox(const QString& league, int limit);
    // The run is in the league, or the league refused it: it no longer waits (queued as runs
    // are, so it is noted once the database can be written).
    void leagueRunSent(qint64 runId);

signals:
    void stateChanged();
    void runWritten(const QString& levelSha256, kf::RunEnd outcome);
    void ghostsRead(const QString& levelSha256, const kf::TrackGhosts& ghosts);
    // The shared ghosts of the track were kept or one was forgotten.
    void ghostsChanged(const QString& levelSha256);
    void runPathRead(qint64 runId, const std::optional<kf::GhostPath>& path);
    // No run (and an empty path) when the track has no finished run with a path kept.
    void bestRunRead(const QString& levelSha256, const std::optional<kf::HistoryRun>& run,
                     const kf::GhostPath& path);
    void talliesRead(const QHash<QString, kf::LevelTally>& tallies);
    void overviewRead(const QString& levelSha256, const kf::HistoryOverview& overview);
    void dailyDaysRead(const QList<QDate>& days);
    void leagueOutboxRead(const QString& league, const kf::LeagueOutbox& outbox);

private:
    friend class HistoryWorker;
    void setState(State state, const QString& reason);
    void noteSettled() { ++m_settled; }

    QString m_path;
    std::unique_ptr<PendingRuns> m_pending;
    QThread m_thread;
    HistoryWorker* m_worker = nullptr;
    State m_state = State::Opening;
    QString m_reason;
    qint64 m_handedOver = 0;
    // Counts the overviews asked for, so that the thread answers only the latest.
    std::atomic<int> m_overviewsAsked = 0;
    qint64 m_settled = 0;
};

} // namespace kf
