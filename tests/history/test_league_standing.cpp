#include "history/LeagueStanding.h"

#include <gtest/gtest.h>

namespace {

using namespace kf;

// The League page's sentences: singular and plural, what is left out when nothing waits, and
// each reason of refusal on its own line.
TEST(LeagueStandingText, SaysWhereThePlayerStandsAndWhatWaits) {
    const struct {
        qint64 unsent;
        qint64 pending;
        QList<LeagueRefusal> refusals;
        const char* waiting;
    } cases[] = {
        {0, 0, {}, ""},
        {1, 0, {}, "Of your runs, 1 run waits to be sent."},
        {2, 1, {}, "Of your runs, 2 runs wait to be sent, 1 run waits to be proven."},
        {0,
         3,
         {{"too fast", 2}, {"no start", 1}},
         "Of your runs, 3 runs wait to be proven, 3 runs were refused.\n"
         "Refused: too fast (2 runs)\nRefused: no start (1 run)"},
    };
    for (const auto& c : cases) {
        LeagueStanding standing;
        standing.unsent = c.unsent;
        standing.pending = c.pending;
        standing.refusals = c.refusals;
        EXPECT_EQ(leagueWaitingText(standing), c.waiting);
    }

    LeagueStanding standing;
    standing.player = "ben";
    EXPECT_EQ(leagueOwnLine(standing),
              "You play as ben and have no confirmed run of this track yet.");
    standing.own = BoardLine{3, "ben", 5234, 4};
    EXPECT_EQ(leagueOwnLine(standing), "You play as ben: rank 3, best 5234 ms.");
}

} // namespace
