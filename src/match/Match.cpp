#include "match/Match.h"

namespace kf {

void Match::startMatch(int playerCount, int roundsPerTurn) {
    m_active = true;
    m_playerCount = playerCount;
    m_runNo = 1;
    m_curPlayer = 0;
    m_roundsPerTurn = roundsPerTurn;
}

void Match::seatPlayers(const std::array<QString, kMaxPlayers>& names) {
    for (int i = 0; i < m_playerCount; ++i)
        m_players[i] = {0, kNoTimeMs, names[i]};
}

QString Match::recordRun(int timeMs) {
    PlayerRecord& player = m_players[m_curPlayer];
    // A failed run becomes the best while the player has nothing better.
    if (timeMs < player.m_bestMs)
        player.m_bestMs = timeMs;
    ++m_runNo;
    // Slow finished runs are not rejected: they read as invalid but count like any other.
    return timeMs >= kFailedRunMs
               ? QStringLiteral("INVALID RUN. Your Best was : %1").arg(player.m_bestMs)
               : QStringLiteral("Good Run : %1. Your Best was : %2")
                     .arg(timeMs)
                     .arg(player.m_bestMs);
}

Match::TurnReport Match::passTurn() {
    TurnReport report;
    if (m_runNo <= m_roundsPerTurn)
        return report;

    ++m_curPlayer;
    m_runNo = 1;
    if (m_curPlayer < m_playerCount) {
        report.turn = Turn::NextPlayer;
        report.announcement = currentPlayerName() + QStringLiteral(" is up. Get ready and go.");
        return report;
    }
    m_curPlayer = 0;
    report.turn = Turn::LevelComplete;
    report.rows = scoreLevel();
    report.announcement = nextRoundText(currentPlayerName());
    return report;
}

Match::RunReport Match::scoreRun(int timeMs) {
    RunReport report;
    report.result = recordRun(timeMs);
    static_cast<TurnReport&>(report) = passTurn();
    return report;
}

std::vector<ScoreRow> Match::scoreLevel() {
    // Every comparison uses this level's bests before any is reset; equal bests score nothing.
    for (int i = 0; i < m_playerCount; ++i) {
        for (int j = 0; j < m_playerCount; ++j) {
            if (i != j && m_players[i].m_bestMs < m_players[j].m_bestMs)
                ++m_players[i].m_points;
        }
    }
    std::vector<ScoreRow> rows;
    for (int k = 0; k < m_playerCount; ++k) {
        PlayerRecord& p = m_players[k];
        rows.push_back(
            {p.m_name, QString::number(p.m_points),
             p.m_bestMs == kFailedRunMs ? QStringLiteral("FAILED") : QString::number(p.m_bestMs)});
        p.m_bestMs = kNoTimeMs;
    }
    return rows;
}

QString nextRoundText(const QString& firstPlayer) {
    return QStringLiteral("Next Round: ") + firstPlayer +
           QStringLiteral(" , choose Level and begin");
}

} // namespace kf
