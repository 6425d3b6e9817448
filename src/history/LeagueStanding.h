#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace kf {

// One line of a track's league board: the best confirmed time of one player. Runs of equal best
// time share their rank.
struct BoardLine {
    int rank = 0;
    QString player;
    int bestMs = 0;
    qint64 finishedRuns = 0;

    friend bool operator==(const BoardLine&, const BoardLine&) = default;
};

// Why some of the player's runs were refused, and how many were refused for it.
struct LeagueRefusal {
    QString reason;
    qint64 runs = 0;

    friend bool operator==(const LeagueRefusal&, const LeagueRefusal&) = default;
};

// What the history window's League page shows of a track: the league's board and where the
// player's own runs stand. Read from the league's server, with the runs still waiting on this
// machine counted by the history.
struct LeagueStanding {
    // Why the league could not be read, in one sentence; everything else is empty then.
    QString failure;
    // The name the league knows this player by (the connection's role).
    QString player;
    // The best confirmed time of each player, fastest first, at most kLeagueBoardTop lines.
    QList<BoardLine> top;
    // The player's own line, also when it is beyond the top; none before a confirmed run.
    std::optional<BoardLine> own;
    // The player's runs of the track submitted and not proven yet.
    qint64 pending = 0;
    // The player's runs of the track refused, by reason, most runs first.
    QList<LeagueRefusal> refusals;
    // The player's finished runs of the track kept on this machine, not submitted yet.
    qint64 unsent = 0;
};

// How many lines of a board the League page shows.
inline constexpr int kLeagueBoardTop = 20;

// The League page's sentences. Where the player stands: "You play as anna: rank 3, best
// 5234 ms." or that no run of theirs is confirmed yet.
QString leagueOwnLine(const LeagueStanding& standing);
// How many of the player's runs wait to be sent, wait to be proven or were refused, in one
// sentence; empty when none does. Each reason of refusal follows on a line of its own.
QString leagueWaitingText(const LeagueStanding& standing);
// The one sentence that says the league's server cannot be reached, and why.
QString leagueUnreachable(const QString& why);

} // namespace kf
