// The run history as the main window uses it: opening the store, recording each run that ends,
// and the history window, reached by key H and the board's context menu; the menu and key G
// also switch the ghosts.

#include "history/HistoryView.h"
#include "history/HistoryWriter.h"
#include "res/ControlIds.h"
#include "toolkit/MessageBox.h"
#include "window/LeagueSetting.h"
#include "window/MainDialog.h"

#include <QContextMenuEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>

namespace kf {

void MainDialog::openHistory() {
    // The ghost of the track follows the store and the level's fingerprint.
    bool changed = false;
    if (!m_unhashedLevelBytes.isEmpty()) {
        m_levelSha256 = bytesSha256(m_unhashedLevelBytes);
        m_unhashedLevelBytes.clear();
        changed = true;
    }
    if (!m_history) {
        useHistory(std::make_unique<HistoryWriter>(defaultHistoryPath()));
        return;
    }
    if (changed)
        loadGhost();
}

void MainDialog::useHistory(std::unique_ptr<HistoryWriter> history) {
    m_history = std::move(history);
    HistoryWriter* h = m_history.get();
    connect(h, &HistoryWriter::stateChanged, this, &MainDialog::refreshHistoryWindow);
    connect(h, &HistoryWriter::runWritten, this, [this](const QString& sha, RunEnd outcome) {
        if (sha != m_levelSha256)
            return;
        // A finished run may be the new best, whose path the ghost follows from now on.
        if (outcome == RunEnd::Finished)
            m_history->askGhosts(sha);
        refreshHistoryWindow();
    });
    connect(h, &HistoryWriter::ghostsRead, this,
            [this](const QString& sha, const TrackGhosts& ghosts) {
                if (sha == m_levelSha256)
                    showGhosts(ghosts);
            });
    // Shared ghosts kept from a race file or forgotten through the board's menu.
    connect(h, &HistoryWriter::ghostsChanged, this, [this](const QString& sha) {
        if (sha == m_levelSha256)
            m_history->askGhosts(sha);
    });
    connect(h, &HistoryWriter::runPathRead, this,
            [this](qint64 runId, const std::optional<GhostPath>& path) {
                if (runId != std::exchange(m_watchAsked, 0))
                    return;
                if (path)
                    watchPath(*path);
                else
                    MessageBox(this,
                               QStringLiteral("The path of this run is no longer kept, so it "
                                              "cannot be watched again."),
                               MessageIcon::Information);
            });
    connect(h, &HistoryWriter::bestRunRead, this, &MainDialog::shareBestRun);
    connect(h, &HistoryWriter::dailyDaysRead, this, [this](const QList<QDate>& days) {
        if (m_historyWindow && dailyTrackDate(m_levelName))
            m_historyWindow->showStreak(dailyStreak(days, QDateTime::currentDateTimeUtc().date()));
    });
    connect(h, &HistoryWriter::overviewRead, this,
            [this](const QString& sha, const HistoryOverview& overview) {
                if (sha == m_levelSha256 && m_historyWindow && m_historyWindow->isVisible())
                    showHistoryOverview(&overview);
            });
    loadGhost();
    // A league set in an earlier session: the runs kept for it go on.
    if (const QString league = leagueSetting(); !league.isEmpty())
        leagueLink().setConnection(league);
}

void MainDialog::rememberLevelForHistory(const QString& path, const QByteArray& bytes) {
    // Before the window is shown the hash waits for the store's opening, which every use of
    // the history goes through.
    if (isVisible()) {
        m_levelSha256 = bytesSha256(bytes);
        m_unhashedLevelBytes.clear();
    } else {
        m_levelSha256.clear();
        m_unhashedLevelBytes = bytes;
    }
    m_levelName = QFileInfo(path).fileName();
    loadGhost();
    refreshHistoryWindow();
}

QString MainDialog::historyPlayer(bool recordNamed) const {
    if (m_multiplayer.m_match.m_active)
        return m_multiplayer.m_match.currentPlayerName();
    return recordNamed ? m_recordName : QString();
}

void MainDialog::recordRunInHistory(RunEnd outcome, const QString& player) {
    openHistory();
    // Handing the run over is all the window does: the history's thread writes it, and keeps
    // a finished single run for the league, which the league's thread then sends.
    const QString league = leagueOfRun(outcome);
    if (!league.isEmpty() && !m_leagueTracksKept.contains(m_levelSha256)) {
        m_history->keepLeagueTrack(m_levelSha256, m_boardLevelBytes);
        m_leagueTracksKept.insert(m_levelSha256);
    }
    m_history->record({m_levelSha256, m_levelName, m_runStartedUtc, m_multiplayer.m_match.m_active,
                       player, outcome, m_timeMs, m_distance, m_speed, 0, league},
                      m_runPath);
}

void MainDialog::refreshHistoryWindow() {
    if (!m_historyWindow || !m_historyWindow->isVisible())
        return;
    showHistoryOverview(nullptr);
    m_historyWindow->showStreak(std::nullopt);
    if (m_history && m_history->usable()) {
        m_history->askOverview(m_levelSha256, m_historyWindow->chartColumns());
        if (dailyTrackDate(m_levelName))
            m_history->askDailyDays();
    }
    refreshLeaguePage();
}

void MainDialog::showHistoryOverview(const HistoryOverview* overview) {
    // Whatever keeps the runs from the database is said above the chart.
    if (!m_history || m_history->state() == HistoryWriter::State::Opening) {
        m_historyWindow->showUnavailable(QStringLiteral("The run history is not open yet."));
    } else if (!m_history->usable()) {
        m_historyWindow->showUnavailable(m_history->reason());
    } else if (overview) {
        m_historyWindow->showOverview(*overview, m_levelName);
        if (m_history->state() == HistoryWriter::State::Waiting)
            m_historyWindow->showWaiting(m_history->reason());
    }
}

QString MainDialog::historyMenuText() const {
    if (m_history && m_history->state() == HistoryWriter::State::Waiting)
        return QStringLiteral("Run history… (runs waiting)");
    if (m_history && !m_history->usable())
        return QStringLiteral("Run history… (not available)");
    return QStringLiteral("Run history…");
}

void MainDialog::OnRunHistory() {
    if (m_run.running())
        return;
    openHistory();
    // A window of its own beside the board, which stays usable while the game runs modally.
    if (!m_historyWindow) {
        m_historyWindow = openHistoryView(this);
        m_historyWindow->setWatchHandler([this](const HistoryRun& run) { watchRun(run); });
        m_historyWindow->setRaceLeaderHandler([this] {
            if (m_league)
                m_league->raceLeader(m_levelSha256);
        });
    }
    m_historyWindow->show();
    m_historyWindow->raise();
    m_historyWindow->activateWindow();
    refreshHistoryWindow();
}

void MainDialog::watchRun(const HistoryRun& run) {
    if (!m_history || m_run.running())
        return;
    m_watchAsked = run.id;
    m_history->askRunPath(run.id);
}

void MainDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_H && event->modifiers() == Qt::NoModifier) {
        event->accept();
        OnRunHistory();
        return;
    }
    if (event->key() == Qt::Key_G && event->modifiers() == Qt::NoModifier) {
        event->accept();
        setGhostOn(!m_ghostOn);
        return;
    }
    if (handleTracksKey(event))
        return;
    if (event->key() == Qt::Key_E && event->modifiers() == Qt::NoModifier) {
        event->accept();
        OnEditLevel();
        return;
    }
    if (event->key() == Qt::Key_D && event->modifiers() == Qt::NoModifier) {
        event->accept();
        OnDailyTrack();
        return;
    }
    if (event->key() == Qt::Key_X && event->modifiers() == Qt::NoModifier) {
        event->accept();
        OnShareRace();
        return;
    }
    if (event->key() == Qt::Key_L && event->modifiers() == Qt::NoModifier) {
        event->accept();
        OnLeague();
        return;
    }
    Dialog::keyPressEvent(event);
}

void MainDialog::contextMenuEvent(QContextMenuEvent* event) {
    const QRect board =
        templateControlRect([](const ControlTemplate& c) { return c.id == id::main::Board; });
    if (m_run.running() ||
        (event->reason() == QContextMenuEvent::Mouse && !board.contains(event->pos()))) {
        event->ignore();
        return;
    }
    QMenu menu(this);
    menu.addAction(historyMenuText(), this, &MainDialog::OnRunHistory);
    addGhostsMenu(menu);
    menu.addAction(QStringLiteral("Tracks…"), this, &MainDialog::OnTracks);
    if (levelChangeAllowed())
        menu.addAction(QStringLiteral("Track of the day"), this, &MainDialog::OnDailyTrack);
    if (!m_boardLevelBytes.isEmpty())
        menu.addAction(QStringLiteral("Share this race…"), this, &MainDialog::OnShareRace);
    if (canEditLevel())
        menu.addAction(QStringLiteral("Edit this track…"), this, &MainDialog::OnEditLevel);
    if (levelChangeAllowed())
        menu.addAction(QStringLiteral("League…"), this, &MainDialog::OnLeague);
    menu.exec(event->globalPos());
}

} // namespace kf
