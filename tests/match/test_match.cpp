#include "match/Match.h"
#include "match/MatchSetup.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

using namespace kf;
using Turn = Match::Turn;

const std::array<QString, kMaxPlayers> kNames{"Ann", "Bob", "Cid", "Dee", "Eve"};

Match startedMatch(int players, int rounds) {
    Match match;
    match.startMatch(players, rounds);
    match.seatPlayers(kNames);
    return match;
}

// Plays one level: `runs` lists every run of the level in turn order.
std::vector<ScoreRow> playLevel(Match& match, const std::vector<int>& runs) {
    Match::RunReport last;
    for (int t : runs)
        last = match.scoreRun(t);
    EXPECT_EQ(last.turn, Turn::LevelComplete);
    return last.rows;
}

struct LevelCase {
    const char* name;
    int players;
    int rounds;
    std::vector<int> runs;
    std::vector<int> points;
    QStringList times;
};

TEST(Match, ScoringOfALevel) {
    const LevelCase cases[] = {
        {"worked example", 3, 1, {5000, kFailedRunMs, 7000}, {2, 0, 1}, {"5000", "FAILED", "7000"}},
        {"equal bests score nothing",
         3,
         1,
         {4000, 4000, 6000},
         {1, 1, 0},
         {"4000", "4000", "6000"}},
        {"all fail",
         3,
         1,
         {kFailedRunMs, kFailedRunMs, kFailedRunMs},
         {0, 0, 0},
         {"FAILED", "FAILED", "FAILED"}},
        {"one player alone", 1, 1, {1234}, {0}, {"1234"}},
        {"the best of two rounds counts",
         2,
         2,
         {9000, 3000, kFailedRunMs, 5000},
         {1, 0},
         {"3000", "5000"}},
        {"a finish slower than a failure counts as its time",
         2,
         1,
         {kFailedRunMs + 1, kFailedRunMs},
         {0, 1},
         {"100000", "FAILED"}},
        {"six nines never become a best", 2, 1, {kNoTimeMs, 100}, {0, 1}, {"999999", "100"}},
        {"five players, unique fastest gets four",
         5,
         1,
         {50, 40, 30, 20, 10},
         {0, 1, 2, 3, 4},
         {"50", "40", "30", "20", "10"}},
    };
    for (const LevelCase& c : cases) {
        Match match = startedMatch(c.players, c.rounds);
        const std::vector<ScoreRow> rows = playLevel(match, c.runs);
        ASSERT_EQ(rows.size(), c.points.size()) << c.name;
        for (size_t k = 0; k < rows.size(); ++k) {
            EXPECT_EQ(rows[k].m_name, kNames[k]) << c.name;
            EXPECT_EQ(rows[k].m_points, QString::number(c.points[k])) << c.name << " row " << k;
            EXPECT_EQ(rows[k].m_time, c.times[k]) << c.name << " row " << k;
            EXPECT_EQ(match.m_players[k].m_bestMs, kNoTimeMs) << c.name;
        }
        EXPECT_TRUE(match.betweenLevels()) << c.name;
    }
}

TEST(Match, PointsAddUpOverLevelsWhileTimesAreTheLastLevels) {
    Match match = startedMatch(2, 1);
    playLevel(match, {1000, 2000});
    const std::vector<ScoreRow> rows = playLevel(match, {kFailedRunMs, 3000});
    EXPECT_EQ(rows[0].m_points, "1");
    EXPECT_EQ(rows[1].m_points, "1");
    EXPECT_EQ(rows[0].m_time, "FAILED");
    EXPECT_EQ(rows[1].m_time, "3000");
}

struct TextCase {
    const char* name;
    std::vector<int> runs;
    QString lastText;
};

// One player with three rounds, so every run stays with the player.
TEST(Match, TextAfterARun) {
    const TextCase cases[] = {
        {"first run fails", {kFailedRunMs}, "INVALID RUN. Your Best was : 99999"},
        {"fail, then 4321", {kFailedRunMs, 4321}, "Good Run : 4321. Your Best was : 4321"},
        {"4321, then fail", {4321, kFailedRunMs}, "INVALID RUN. Your Best was : 4321"},
        {"a finish of 99999 ms or more", {123456}, "INVALID RUN. Your Best was : 123456"},
        {"a slower good run", {4321, 5000}, "Good Run : 5000. Your Best was : 4321"},
    };
    for (const TextCase& c : cases) {
        Match match = startedMatch(1, 3);
        Match::RunReport report;
        for (int t : c.runs)
            report = match.scoreRun(t);
        EXPECT_EQ(report.result, c.lastText) << c.name;
        EXPECT_EQ(report.turn, Turn::SamePlayer) << c.name;
    }
}

TEST(Match, TurnsAndAnnouncementsOfOneLevel) {
    Match match = startedMatch(2, 2);
    struct Step {
        Turn turn;
        QString announcement;
        int curPlayer;
        int runNo;
    };
    const Step steps[] = {
        {Turn::SamePlayer, "", 0, 2},
        {Turn::NextPlayer, "Bob is up. Get ready and go.", 1, 1},
        {Turn::SamePlayer, "", 1, 2},
        {Turn::LevelComplete, "Next Round: Ann , choose Level and begin", 0, 1},
    };
    for (const Step& s : steps) {
        const Match::RunReport report = match.scoreRun(1000);
        EXPECT_EQ(report.turn, s.turn);
        EXPECT_EQ(report.announcement, s.announcement);
        EXPECT_EQ(match.m_curPlayer, s.curPlayer);
        EXPECT_EQ(match.m_runNo, s.runNo);
    }
}

TEST(Match, StartingResetsOnlyThePlayersTakingPart) {
    Match match = startedMatch(3, 1);
    playLevel(match, {1, 2, 3});
    match.m_players[2].m_bestMs = 777;
    match.startMatch(2, 4);
    match.seatPlayers({"X", "Y", "Z", "", ""});
    EXPECT_EQ(match.m_players[0].m_points, 0);
    EXPECT_EQ(match.m_players[1].m_name, "Y");
    EXPECT_EQ(match.m_players[2].m_name, "Cid");
    EXPECT_EQ(match.m_players[2].m_bestMs, 777);
    EXPECT_TRUE(match.m_active);
    EXPECT_EQ(match.m_roundsPerTurn, 4);
    EXPECT_TRUE(match.betweenLevels());
}

} // namespace

namespace {

// The mode buttons are locked during a match at every moment but between levels.
TEST(Match, LockedDuringALevelOnly) {
    Match match;
    EXPECT_FALSE(match.locked()) << "no match";
    match = startedMatch(2, 2);
    const bool lockedAfterEachRun[] = {true, true, true, false, true};
    EXPECT_FALSE(match.locked()) << "before the first run";
    for (size_t run = 0; run < std::size(lockedAfterEachRun); ++run) {
        match.scoreRun(1000);
        EXPECT_EQ(match.locked(), lockedAfterEachRun[run]) << "after run " << run + 1;
    }
    match.m_active = false;
    EXPECT_FALSE(match.locked()) << "after quitting";
}

// Clicks on the flags, by index (0 to 3 players, 5 to 8 rounds), and the counts they give.
struct SetupCase {
    const char* name;
    std::vector<int> clicks;
    int players;
    int rounds;
};

TEST(MatchSetup, FlagsCountPlayersAndRounds) {
    const SetupCase cases[] = {
        {"program start", {}, 1, 1},
        {"one player flag", {0}, 2, 1},
        {"the third flag alone", {2}, 2, 1},
        {"a flag clicked twice", {1, 1}, 1, 1},
        {"every flag", {0, 1, 2, 3, 5, 6, 7, 8}, 5, 5},
        {"the fifth flags and indices beyond", {4, 9, -1, 10}, 1, 1},
        {"rounds only", {5, 8}, 1, 3},
    };
    for (const SetupCase& c : cases) {
        MatchSetup setup;
        for (int index : c.clicks)
            setup.toggle(index);
        EXPECT_EQ(setup.playerCount(), c.players) << c.name;
        EXPECT_EQ(setup.roundCount(), c.rounds) << c.name;
        setup.reset();
        EXPECT_EQ(setup.playerCount() + setup.roundCount(), 2) << c.name << ", reset";
    }
    // A flag that does not react, or an index beyond both rows, is refused.
    for (const int index : {-1, 4, 9, 10, 11})
        EXPECT_FALSE(MatchSetup().toggle(index)) << index;
    EXPECT_EQ(MatchSetup::defaultName(0), "Player 1");
    EXPECT_EQ(MatchSetup::defaultName(4), "Player 5");
}

} // namespace
