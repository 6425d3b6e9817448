#include "history/HistoryWriter.h"

#include "history/HistoryStore.h"
#include "history/PendingRuns.h"

#include <QTimer>

#include <algorithm>
#include <deque>
#include <variant>

namespace kf {

namespace {

// After passing trouble the thread tries again, waiting longer each time up to a limit.
constexpr int kFirstRetryMs = 250;
constexpr int kLongestRetryMs = 2000;
// Runs written in one go before questions waiting behind them are answered.
constexpr int kRunsPerTurn = 20;

// Shared ghosts to keep for a track, or the one to forget (forgetId; its track is found then).
struct GhostChange {
    QString levelSha256;
    QList<SharedGhost> keep;
    qint64 forgetId = 0;
};

// A track's bytes to keep for the runs that wait for a league.
struct KeptLeagueTrack {
    QString levelSha256;
    QByteArray bytes;
};

// A run that no longer waits for its league.
struct SentLeagueRun {
    qint64 runId = 0;
};

// What the queue holds besides runs, written in turn with them.
using Change = std::variant<GhostChange, KeptLeagueTrack, SentLeagueRun>;

} // namespace

// The thread's side: the store and the queue of runs. Lives on the writer's thread; reports
// to the writer by queued calls, which are dropped once the writer is gone.
class HistoryWorker : public QObject {
public:
    HistoryWorker(HistoryWriter* owner, PendingRuns* pending, int busyTimeoutMs)
        : m_owner(owner), m_pending(pending), m_path(owner->path()),
          m_busyTimeoutMs(busyTimeoutMs) {
        m_retry->setSingleShot(true);
        connect(m_retry, &QTimer::timeout, this, [this] { m_store ? writeSome() : open(); });
    }

    void open() {
        m_store = openHistoryStore(m_path, m_busyTimeoutMs);
        if (!m_store->available()) {
            const Trouble trouble = m_store->trouble();
            const QString reason = m_store->unavailableReason();
            m_store.reset();
            if (trouble == Trouble::Lasting)
                report(HistoryWriter::State::Unavailable, reason);
            else
                waitAndRetry(reason);
            return;
        }
        adoptWaitingRuns();
        report(HistoryWriter::State::Ready, {});
        writeSome();
    }

    void enqueue(const PendingRun& run, const QString& file) {
        push({run, file, nullptr, true, std::nullopt});
    }

    void change(const Change& change) { push({{}, {}, nullptr, false, change}); }

    void askGhosts(const QString& levelSha256) {
        TrackGhosts ghosts;
        if (m_store)
            ghosts = m_store->ghostsOf(levelSha256);
        checkStillAvailable();
        post([levelSha256, ghosts](HistoryWriter* w) { emit w->ghostsRead(levelSha256, ghosts); });
    }

    void askRunPath(qint64 runId) {
        std::optional<GhostPath> path = m_store ? m_store->runPathOf(runId) : std::nullopt;
        checkStillAvailable();
        post([runId, path](HistoryWriter* w) { emit w->runPathRead(runId, path); });
    }

    void askBestRun(const QString& levelSha256) {
        std::optional<WatchedRun> best = m_store ? m_store->bestRunOf(levelSha256) : std::nullopt;
        checkStillAvailable();
        post([levelSha256, best](HistoryWriter* w) {
            emit w->bestRunRead(levelSha256, best ? std::optional(best->run) : std::nullopt,
                                best ? best->path : GhostPath());
        });
    }

    void askTallies(const QStringList& levelSha256s) {
        QHash<QString, LevelTally> tallies;
        if (m_store)
            tallies = m_store->talliesOf(levelSha256s);
        checkStillAvailable();
        post([tallies](HistoryWriter* w) { emit w->talliesRead(tallies); });
    }

    void askOverview(const QString& levelSha256, int columns, int asked) {
        // A read of a million runs takes a while: only the latest question is answered.
        if (asked != m_owner->m_overviewsAsked.load())
            return;
        HistoryOverview overview;
        if (m_store)
            overview = m_store->overviewOf(levelSha256, columns);
        checkStillAvailable();
        post([levelSha256, overview](HistoryWriter* w) {
            emit w->overviewRead(levelSha256, overview);
        });
    }

    void askDailyDays() {
        QList<QDate> days;
        if (m_store)
            days = m_store->dailyDaysFinished();
        post([days](HistoryWriter* w) { emit w->dailyDaysRead(days); });
    }

    void askLeagueOutbox(const QString& league, int limit) {
        LeagueOutbox outbox;
        if (m_store)
            outbox = m_store->leagueOutbox(league, limit);
        checkStillAvailable();
        post([league, outbox](HistoryWriter* w) { emit w->leagueOutboxRead(league, outbox); });
    }

    // Before the thread ends: one last try at what waits, then the store closes in its thread.
    void finish() {
        m_finishing = true;
        m_retry->stop();
        if (m_store && !m_troubled)
            writeSome();
        const bool runsWait =
            std::any_of(m_queue.begin(), m_queue.end(), [](const Entry& e) { return !e.change; });
        if (!runsWait && m_store && m_pending->removeIfAllWritten())
            m_store->forgetPending(m_pending->fileName());
        m_adopted.clear();
        m_store.reset();
    }

private:
    // A run, or another change, in the order they were handed over.
    struct Entry {
        PendingRun pending;
        QString file;                 // the file of waiting runs it is in; empty: none
        AdoptedRuns* from;            // a gone game's file, or null for this game's own
        bool lastOfFile;              // the adopted file is done once this run is
        std::optional<Change> change; // set for a change, not a run
    };

    void push(Entry entry) {
        m_queue.push_back(std::move(entry));
        if (m_store && !m_retry->isActive() && m_queue.size() == 1)
            writeSome();
    }

    void adoptWaitingRuns() {
        std::deque<Entry> earlier;
        for (auto& adopted : adoptPendingRuns(m_path, m_pending->fileName())) {
            const qint64 written = m_store->writtenSeq(adopted->fileName());
            const QList<PendingRun> runs = adopted->read();
            std::deque<Entry> fromFile;
            for (const PendingRun& run : runs) {
                if (run.seq > written)
                    fromFile.push_back(
                        {run, adopted->fileName(), adopted.get(), false, std::nullopt});
            }
            if (fromFile.empty()) {
                forget(*adopted);
                continue;
            }
            fromFile.back().lastOfFile = true;
            earlier.insert(earlier.end(), fromFile.begin(), fromFile.end());
            m_adopted.push_back(std::move(adopted));
        }
        // The runs of games that are gone were made before any of this game's.
        m_queue.insert(m_queue.begin(), earlier.begin(), earlier.end());
    }

    void forget(AdoptedRuns& adopted) {
        const QString name = adopted.fileName();
        adopted.remove();
        m_store->forgetPending(name);
    }

    void writeSome() {
        for (int n = 0; n < kRunsPerTurn && !m_queue.empty() && m_store; ++n) {
            Entry& e = m_queue.front();
            const Stored stored = write(e);
            if (stored == Stored::Waiting) {
                waitAndRetry(m_store->waitingReason());
                return;
            }
            if (stored == Stored::Never) {
                report(HistoryWriter::State::Unavailable, m_store->unavailableReason());
                m_store.reset();
                return;
            }
            settle(e, stored == Stored::Written);
            m_queue.pop_front();
        }
        m_retryMs = kFirstRetryMs;
        if (m_troubled) {
            m_troubled = false;
            report(HistoryWriter::State::Ready, {});
        }
        // Questions that came meanwhile are answered before the next runs.
        if (!m_queue.empty() && !m_finishing)
            QMetaObject::invokeMethod(
                this, [this] { writeSome(); }, Qt::QueuedConnection);
    }

    Stored write(Entry& e) {
        if (e.change)
            return std::visit([this](auto& change) { return writeChange(change); }, *e.change);
        std::optional<PendingMark> mark;
        if (!e.file.isEmpty())
            mark = PendingMark{e.file, e.pending.seq};
        return m_store->store(e.pending.run, e.pending.path, mark);
    }

    Stored writeChange(GhostChange& ghosts) {
        return ghosts.forgetId ? m_store->forgetSharedGhost(ghosts.forgetId, &ghosts.levelSha256)
                               : m_store->keepSharedGhosts(ghosts.levelSha256, ghosts.keep);
    }
    Stored writeChange(const KeptLeagueTrack& track) {
        return m_store->keepLeagueTrack(track.levelSha256, track.bytes);
    }
    Stored writeChange(const SentLeagueRun& sent) { return m_store->leagueRunSent(sent.runId); }

    void settle(const Entry& e, bool written) {
        if (e.change) {
            // A ghost forgotten that was not there changes no track.
            const GhostChange* ghosts = std::get_if<GhostChange>(&*e.change);
            if (const QString sha = ghosts ? ghosts->levelSha256 : QString();
                written && !sha.isEmpty())
                post([sha](HistoryWriter* w) { emit w->ghostsChanged(sha); });
            return;
        }
        if (e.from) {
            if (e.lastOfFile) {
                forget(*e.from);
                std::erase_if(m_adopted, [&](const auto& a) { return a.get() == e.from; });
            }
        } else {
            m_pending->written(e.pending.seq);
            post([](HistoryWriter* w) { w->noteSettled(); });
        }
        if (written) {
            const QString sha = e.pending.run.levelSha256;
            const RunEnd outcome = e.pending.run.outcome;
            post([sha, outcome](HistoryWriter* w) { emit w->runWritten(sha, outcome); });
        }
    }

    void waitAndRetry(const QString& reason) {
        m_troubled = true;
        report(HistoryWriter::State::Waiting, reason);
        if (m_finishing)
            return;
        m_retry->start(m_retryMs);
        m_retryMs = std::min(m_retryMs * 2, kLongestRetryMs);
    }

    void checkStillAvailable() {
        if (m_store && !m_store->available()) {
            report(HistoryWriter::State::Unavailable, m_store->unavailableReason());
            m_store.reset();
        }
    }

    void report(HistoryWriter::State state, const QString& reason) {
        post([state, reason](HistoryWriter* w) { w->setState(state, reason); });
    }

    template <typename F> void post(F&& f) {
        QMetaObject::invokeMethod(
            m_owner, [owner = m_owner, f = std::forward<F>(f)] { f(owner); }, Qt::QueuedConnection);
    }

    HistoryWriter* m_owner;
    PendingRuns* m_pending;
    QString m_path;
    int m_busyTimeoutMs;
    std::unique_ptr<HistoryStore> m_store;
    std::deque<Entry> m_queue;
    std::vector<std::unique_ptr<AdoptedRuns>> m_adopted;
    // A child, so that it moves to the writer's thread with the worker.
    QTimer* m_retry = new QTimer(this);
    int m_retryMs = kFirstRetryMs;
    bool m_troubled = false;
    bool m_finishing = false;
};

HistoryWriter::HistoryWriter(const QString& path, int busyTimeoutMs, QObject* parent)
    : QObject(parent), m_path(path), m_pending(std::make_unique<PendingRuns>(path)) {
    m_worker = new HistoryWorker(this, m_pending.get(), busyTimeoutMs);
    m_worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread.setObjectName(QStringLiteral("run history"));
    m_thread.start();
    QMetaObject::invokeMethod(
        m_worker, [w = m_worker] { w->open(); }, Qt::QueuedConnection);
}

HistoryWriter::~HistoryWriter() {
    QMetaObject::invokeMethod(
        m_worker, [w = m_worker] { w->finish(); }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

bool HistoryWriter::record(const HistoryRun& run, const GhostPath& path) {
    if (!isStorable(run))
        return false;
    const qint64 seq = m_pending->append(run, path);
    const QString file = m_pending->durable() ? m_pending->fileName() : QString();
    ++m_handedOver;
    QMetaObject::invokeMethod(
        m_worker, [w = m_worker, p = PendingRun{seq, run, path}, file] { w->enqueue(p, file); },
        Qt::QueuedConnection);
    return true;
}

void HistoryWriter::askGhosts(const QString& levelSha256) {
    QMetaObject::invokeMethod(
        m_worker, [w = m_worker, levelSha256] { w->askGhosts(levelSha256); }, Qt::QueuedConnection);
}

void HistoryWriter::keepSharedGhosts(const QString& levelSha256, const QList<SharedGhost>& ghosts) {
    QMetaObject::invokeMethod(
        m_worker,
        [w = m_worker, change = GhostChange{levelSha256, ghosts, 0}] { w->change(change); },
        Qt::QueuedConnection);
}

void HistoryWriter::forgetSharedGhost(qint64 id) {
    QMetaObject::invokeMethod(
        m_worker, [w = m_worker, change = GhostChange{{}, {}, id}] { w->change(change); },
        Qt::QueuedConnection);
}

void HistoryWriter::askRunPath(qint64 runId) {
    QMetaObject::invokeMethod(
        m_worker, [w = m_worker, runId] { w->askRunPath(runId); }, Qt::QueuedConnection);
}

void HistoryWriter::askBestRun(const QString& levelSha256) {
    QMetaObject::invokeMethod(
        m_worker, [w = m_worker, levelSha256] { w->askBestRun(levelSha256); },
        Qt::QueuedConnection);
}

void HistoryWriter::askTallies(const QStringList& levelSha256s) {
    QMetaObject::invokeMethod(
        m_worker, [w = m_worker, levelSha256s] { w->askTallies(levelSha256s); },
        Qt::QueuedConnection);
}

void HistoryWriter::askOverview(const QString& levelSha256, int columns) {
    const int asked = ++m_overviewsAsked;
    QMetaObject::invokeMethod(
        m_worker,
        [w = m_worker, levelSha256, columns, asked] {
            w->askOverview(levelSha256, columns, asked);
        },
        Qt::QueuedConnection);
}

void HistoryWriter::askDailyDays() {
    QMetaObject::invokeMethod(
        m_worker, [w = m_worker] { w->askDailyDays(); }, Qt::QueuedConnection);
}

void HistoryWriter::keepLeagueTrack(const QString& levelSha256, const QByteArray& bytes) {
    QMetaObject::invokeMethod(
        m_worker,
        [w = m_worker, change = KeptLeagueTrack{levelSha256, bytes}] { w->change(change); },
        Qt::QueuedConnection);
}

void HistoryWriter::askLeagueOutbox(const QString& league, int limit) {
    QMetaObject::invokeMethod(
        m_worker, [w = m_worker, league, limit] { w->askLeagueOutbox(league, limit); },
        Qt::QueuedConnection);
}

void HistoryWriter::leagueRunSent(qint64 runId) {
    QMetaObject::invokeMethod(
        m_worker, [w = m_worker, change = SentLeagueRun{runId}] { w->change(change); },
        Qt::QueuedConnection);
}

void HistoryWriter::setState(State state, const QString& reason) {
    if (state == m_state && reason == m_reason)
        return;
    // Once unavailable, the history stays so for the session.
    if (m_state == State::Unavailable)
        return;
    m_state = state;
    m_reason = reason;
    emit stateChanged();
}

} // namespace kf
