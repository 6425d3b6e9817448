#pragma once

#include "match/Match.h"

#include <QString>

#include <array>

namespace kf {

// The choices of the match set-up: two rows of five flags, players and rounds. Each row reads
// as a count: the fifth flag stands for the one player and the one round that are always there,
// and each of the four others that is selected adds one. Which flags are selected means nothing
// else: the players are always the first playerCount() name slots.
class MatchSetup {
public:
    // Flag indices: 0 to 4 the player flags, 5 to 9 the round flags, left to right.
    static constexpr int kFlagCount = 2 * kMaxPlayers;

    // Whether flag `index` reacts to a click: all but the fifth of each row.
    static bool isClickable(int index);
    // A click on flag `index` selects it or clears it; false (nothing changed) for a flag that
    // does not react.
    bool toggle(int index);
    bool selected(int index) const;

    // 1 + the selected player flags, 1 to 5.
    int playerCount() const;
    // 1 + the selected round flags: the runs per player and level, 1 to 5.
    int roundCount() const;

    // The choices at program start: no flag selected, one player, one round.
    void reset() { m_flags.fill(false); }
    // The name of slot `index` at program start: "Player 1" to "Player 5".
    static QString defaultName(int index);

private:
    int selectedInRow(int first) const;

    std::array<bool, kFlagCount> m_flags{};
};

} // namespace kf
