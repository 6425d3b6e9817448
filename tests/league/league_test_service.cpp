#include "TestLeague.h"
#include "history/HistoryRun.h"
#include "league/LeagueService.h"
#include "support/QtPrinters.h"

namespace {

using namespace kf;

TEST(LeagueServiceTest, SubmitsEachRunOnceHoweverOftenItIsSent) {
    const TestLeague league(QStringLiteral("once"),
                            {QStringLiteral("ann_o"), QStringLiteral("ben_o")});
    ASSERT_TRUE(league.error.isEmpty()) << league.error.toStdString();
    LeagueConnection ann(league.connInfo(QStringLiteral("ann_o")));
    LeagueConnection ben(league.connInfo(QStringLiteral("ben_o")));
    const LeagueRun first = tinyRun(kTopRow, 45);
    const LeagueSubmission submitted = submitRun(ann.database(), first);
    ASSERT_GT(submitted.id, 0) << submitted.refusal.toStdString();

    LeagueRun byKey = first;
    byKey.trackBytes.clear();
    byKey.trackSha256 = bytesSha256(first.trackBytes);
    LeagueRun unknownTrack = byKey;
    unknownTrack.trackSha256 = QString(64, QLatin1Char('e'));
    enum Outcome { FirstId, NewId, Lost };
    const struct {
        const char* name;
        const LeagueConnection& player;
        LeagueRun run;
        Outcome outcome;
    } cases[] = {
        {"the same run again", ann, first, FirstId},
        {"the same run by the track's key", ann, byKey, FirstId},
        {"a later finish", ann, tinyRun(kTopRow, 45, 1), NewId},
        {"another player's run of the same finish", ben, first, NewId},
        {"a track the league lacks, by its key", ann, unknownTrack, Lost},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const LeagueSubmission again = submitRun(c.player.database(), c.run);
        EXPECT_EQ(again.lost, c.outcome == Lost);
        EXPECT_EQ(again.refusal.isEmpty(), c.outcome != Lost) << again.refusal.toStdString();
        if (c.outcome == FirstId) {
            EXPECT_EQ(again.id, submitted.id);
        } else if (c.outcome == NewId) {
            EXPECT_GT(again.id, submitted.id);
        }
    }
    LeagueConnection owner(league.connInfo(QString::fromLatin1(PostgresServer::kOwner)));
    EXPECT_EQ(valueOf(owner, QStringLiteral("SELECT count(*) FROM submissions")).toInt(), 3);
}

TEST(LeagueServiceTest, ThroughItsModuleConnectsSubmitsReadsAndNoticesALostServer) {
    const TestLeague league(QStringLiteral("module"), {QStringLiteral("ann_m")});
    ASSERT_TRUE(league.error.isEmpty()) << league.error.toStdString();
    const std::unique_ptr<LeagueService> service = openLeagueService();
    // No server at that socket: the run waits for a later connection.
    EXPECT_FALSE(service->connect(QStringLiteral("host=/nonexistent/kf dbname=x")).isEmpty());
    LeagueSubmission submitted = service->submit(tinyRun(kTopRow, 45));
    EXPECT_TRUE(submitted.lost && !submitted.refusal.isEmpty());

    ASSERT_EQ(service->connect(league.connInfo(QStringLiteral("ann_m"))), QString());
    EXPECT_TRUE(service->connected());
    EXPECT_EQ(service->player(), QStringLiteral("ann_m"));
    submitted = service->submit(tinyRun(kTopRow, 45));
    EXPECT_GT(submitted.id, 0) << submitted.refusal.toStdString();
    const LeagueStanding standing = service->standing(bytesSha256(tinyTrackBytes()));
    EXPECT_EQ(standing.failure, QString());
    EXPECT_EQ(standing.player, QStringLiteral("ann_m"));
    EXPECT_EQ(standing.pending, 1);

    // The server ends the player's connection: the next call finds it gone.
    LeagueConnection owner(league.connInfo(QString::fromLatin1(PostgresServer::kOwner)));
    ASSERT_TRUE(valueOf(owner, QStringLiteral("SELECT pg_terminate_backend(pid) FROM "
                                              "pg_stat_activity WHERE usename = 'ann_m'"))
                    .toBool());
    submitted = service->submit(tinyRun(kTopRow, 45, 1));
    EXPECT_TRUE(submitted.lost && !submitted.refusal.isEmpty());
    EXPECT_FALSE(service->connected());
}

} // namespace
