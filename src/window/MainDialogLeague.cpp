// The game in a league: "League…" (key L and the board's menu) sets the league's server, each
// finished single run goes to it by way of the history, and the history window's League page
// shows the track's board, with "Race the leader".

#include "history/HistoryView.h"
#include "league/LeagueLink.h"
#include "window/LeagueDialog.h"
#include "window/LeagueSetting.h"
#include "window/MainDialog.h"

namespace kf {

LeagueLink& MainDialog::leagueLink() {
    openHistory();
    if (!m_league) {
        m_league = std::make_unique<LeagueLink>(m_history.get());
        connect(m_league.get(), &LeagueLink::standingRead, this,
                [this](const QString& sha, const LeagueStanding& standing) {
                    if (m_historyWindow && sha == m_levelSha256)
                        m_historyWindow->showLeague(standing);
                });
        connect(m_league.get(), &LeagueLink::sendingChanged, this, &MainDialog::refreshLeaguePage);
        connect(m_league.get(), &LeagueLink::leaderRaced, this,
                [this](const QString& sha, const QString& failure) {
                    if (!m_historyWindow || sha != m_levelSha256)
                        return;
                    if (failure.isEmpty() && !m_ghostOn)
                        setGhostOn(true);
                    m_historyWindow->showLeagueNote(
                        failure.isEmpty()
                            ? QStringLiteral("The leader's run is a ghost on the board now.")
                            : failure);
                });
    }
    return *m_league;
}

void MainDialog::OnLeague() {
    // Not during a run, a replay or a match's turns.
    if (!levelChangeAllowed() || m_replay)
        return;
    LeagueLink& link = leagueLink();
    LeagueDialog dialog(link, link.connection(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    setLeagueSetting(dialog.connection());
    link.setConnection(dialog.connection());
    refreshLeaguePage();
}

QString MainDialog::leagueOfRun(RunEnd outcome) const {
    if (outcome != RunEnd::Finished || m_multiplayer.m_match.m_active || !m_league)
        return {};
    return m_league->connection();
}

void MainDialog::refreshLeaguePage() {
    if (!m_historyWindow || !m_historyWindow->isVisible())
        return;
    if (!m_league || m_league->connection().isEmpty()) {
        m_historyWindow->showLeague(std::nullopt);
        return;
    }
    m_league->askStanding(m_levelSha256);
}

} // namespace kf
