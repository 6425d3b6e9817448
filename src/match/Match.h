#pragma once

#include "run/RunTimes.h"

#include <QString>

#include <array>
#include <vector>

namespace kf {

// The most players a match can have.
inline constexpr int kMaxPlayers = 5;

// One player of a match.
struct PlayerRecord {
    int m_points = 0;         // collected in this match
    int m_bestMs = kNoTimeMs; // best time on the current level
    QString m_name;
};

// One row of the scoreboard, as shown.
struct ScoreRow {
    QString m_name;
    QString m_points;
    QString m_time; // "FAILED" for a best of exactly a failed run
};

// A hot-seat match and its rules. Players 0 to m_playerCount - 1 take turns on each level in
// index order; each makes m_roundsPerTurn runs and the best counts. When the last player is
// done, every player scores a point for each other player whose best was worse, and the first
// player chooses the next level.
class Match {
public:
    // Who runs next after a reported run.
    enum class Turn {
        SamePlayer,   // the player has runs left on this level
        NextPlayer,   // the next player's turn on this level begins
        LevelComplete // the level was scored; the first player chooses the next level
    };

    // Whose turn follows a run, and what the players are told of it.
    struct TurnReport {
        Turn turn = Turn::SamePlayer;
        QString announcement;       // the next player, or the next round; empty for SamePlayer
        std::vector<ScoreRow> rows; // the level's scoreboard, for LevelComplete only
    };

    // What the players are told after a run, and what follows.
    struct RunReport : TurnReport {
        QString result; // "Good Run : …" or "INVALID RUN. …"
    };

    // Starts a match of `playerCount` players with the first player's first run.
    void startMatch(int playerCount, int roundsPerTurn);
    // Gives the first m_playerCount players their names, no points and no run yet. Records of
    // the other slots stay as they were.
    void seatPlayers(const std::array<QString, kMaxPlayers>& names);

    // Takes one run of the current player (a time in ms, kFailedRunMs for a failed run) and
    // gives its result. The runner stays the current player until passTurn(), so that the
    // result is shown while their name is still in the caption.
    QString recordRun(int timeMs);
    // After a recorded run: the same player again, the next player, or, after the last player's
    // last run, the level scored with the best times reset for the next.
    TurnReport passTurn();
    // Both steps at once.
    RunReport scoreRun(int timeMs);

    // The first player is about to make the first run of a level.
    bool betweenLevels() const { return m_curPlayer == 0 && m_runNo == 1; }
    // Whether the level may not be changed, a level made or the match quitted now: during a
    // match, at any moment but between levels.
    bool locked() const { return m_active && !betweenLevels(); }
    const QString& currentPlayerName() const { return m_players[m_curPlayer].m_name; }

    bool m_active = false;
    int m_playerCount = 1;   // players taking part, 1 to 5
    int m_roundsPerTurn = 1; // runs per player and level, 1 to 5
    int m_curPlayer = 0;     // whose turn it is
    int m_runNo = 1;         // the current player's next run on this level, from 1
    std::array<PlayerRecord, kMaxPlayers> m_players;

private:
    std::vector<ScoreRow> scoreLevel();
};

// "Next Round: <name> , choose Level and begin": the first player is asked to choose a level.
QString nextRoundText(const QString& firstPlayer);

} // namespace kf
