#include "TestLeague.h"
#include "history/HistoryRun.h"
#include "league/LeagueStandingRead.h"
#include "support/QtPrinters.h"

namespace {

using namespace kf;

// Runs `sql` as the league's owner, who may write any row.
void asOwner(const TestLeague& league, const QString& sql) {
    LeagueConnection owner(league.connInfo(QString::fromLatin1(PostgresServer::kOwner)));
    QSqlQuery query(owner.database());
    ASSERT_EQ(execOrMessage(query, sql), QString()) << sql.toStdString();
}

TEST(LeagueStandingTest, ShowsTheTopTheOwnLineAndTheOwnRunsNotConfirmed) {
    const TestLeague league(QStringLiteral("standing"),
                            {QStringLiteral("ann_st"), QStringLiteral("ben_st")});
    ASSERT_TRUE(league.error.isEmpty()) << league.error.toStdString();
    const QString tiny = bytesSha256(tinyTrackBytes());
    LeagueConnection ann(league.connInfo(QStringLiteral("ann_st")));
    for (int run = 0; run < 2; ++run)
        ASSERT_GT(submitRun(ann.database(), tinyRun(kTopRow, 45, run)).id, 0);
    // 22 players two by two on the same time, Ann behind them all; her refused runs, one of
    // another track, and Ben's.
    asOwner(league, QStringLiteral("INSERT INTO standings SELECT '%1', 'p' || lpad(i::text, 2, "
                                   "'0'), 100 + i / 2, 1 FROM generate_series(0, 21) AS i")
                        .arg(tiny));
    asOwner(league,
            QStringLiteral("INSERT INTO standings VALUES ('%1', 'ann_st', 999, 4)").arg(tiny));
    asOwner(league, QStringLiteral("INSERT INTO tracks VALUES (encode(sha256('x'), 'hex'), "
                                   "'X.bmp', 'x')"));
    asOwner(league,
            QStringLiteral(
                "INSERT INTO submissions (player, track_sha256, time_ms, finished_utc, path, "
                "state, reason) SELECT player, track, 1, now() + (10 * k + i) * interval '1 s', "
                "'\\x00', 'refused', reason FROM (VALUES (1, 'ann_st', '%1', 'too fast', 3), "
                "(2, 'ann_st', '%1', 'into a wall', 1), (3, 'ann_st', encode(sha256('x'), "
                "'hex'), 'into a wall', 5), (4, 'ben_st', '%1', 'into a wall', 7)) AS r(k, "
                "player, track, reason, runs), generate_series(1, runs) AS i")
                .arg(tiny));

    const struct {
        const char* player;
        std::optional<BoardLine> own;
        qint64 pending;
        QList<LeagueRefusal> refusals;
    } cases[] = {
        {"ann_st", BoardLine{23, "ann_st", 999, 4}, 2, {{"too fast", 3}, {"into a wall", 1}}},
        {"ben_st", std::nullopt, 0, {{"into a wall", 7}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.player);
        LeagueConnection player(league.connInfo(QString::fromLatin1(c.player)));
        const LeagueStanding standing = readStanding(player.database(), tiny);
        EXPECT_EQ(standing.failure, QString());
        EXPECT_EQ(standing.player, QString::fromLatin1(c.player));
        ASSERT_EQ(standing.top.size(), kLeagueBoardTop);
        EXPECT_EQ(standing.top.first(), (BoardLine{1, "p00", 100, 1}));
        EXPECT_EQ(standing.top[1], (BoardLine{1, "p01", 100, 1}));
        EXPECT_EQ(standing.top.last(), (BoardLine{19, "p19", 109, 1}));
        EXPECT_EQ(standing.own, c.own);
        EXPECT_EQ(standing.pending, c.pending);
        EXPECT_EQ(standing.refusals, c.refusals);
    }
}

TEST(LeagueStandingTest, GivesTheLeadersFastestConfirmedRunAsAGhost) {
    const TestLeague league(QStringLiteral("leader"), {QStringLiteral("ann_ld")});
    ASSERT_TRUE(league.error.isEmpty()) << league.error.toStdString();
    const auto path = [](int x) {
        return QString::fromLatin1(
            GhostPath::fromPoints({{1, 1, 0}, {qint16(x), 1, 45}})->encode().toHex());
    };
    // Tracks a, b and c; on a, p1 leads with two runs of 45 ms (the earlier finish counts) and
    // a faster one still pending.
    asOwner(league, QStringLiteral("INSERT INTO tracks SELECT encode(sha256(t::bytea), 'hex'), "
                                   "t || '.bmp', t::bytea FROM unnest('{a,b,c}'::text[]) AS t"));
    asOwner(league,
            QStringLiteral("INSERT INTO submissions (player, track_sha256, time_ms, finished_utc, "
                           "path, state) SELECT player, encode(sha256(track::bytea), 'hex'), ms, "
                           "finished::timestamptz, decode(path, 'hex'), state FROM (VALUES "
                           "('p1', 'a', 45, '2026-12-01 18:00Z', '%1', 'confirmed'), "
                           "('p1', 'a', 45, '2026-12-01 17:00Z', '%2', 'confirmed'), "
                           "('p1', 'a', 50, '2026-12-01 16:00Z', '%1', 'confirmed'), "
                           "('p1', 'a', 30, '2026-12-01 19:00Z', '%1', 'pending'), "
                           "('p2', 'a', 47, '2026-12-01 15:00Z', '%1', 'confirmed'), "
                           "('p1', 'b', 45, '2026-12-01 18:00Z', '%1', 'pending'), "
                           "('p1', 'c', 45, '2026-12-01 18:00Z', '00', 'confirmed')) "
                           "AS r(player, track, ms, finished, path, state)")
                .arg(path(6), path(5)));

    const struct {
        const char* track;
        std::optional<SharedGhost> ghost;
        bool fails;
    } cases[] = {
        {"a",
         SharedGhost{0, "p1", 45, QDateTime(QDate(2026, 12, 1), QTime(17, 0), Qt::UTC),
                     *GhostPath::fromPoints({{1, 1, 0}, {5, 1, 45}})},
         false},
        {"b", std::nullopt, false},
        {"c", std::nullopt, true},
    };
    LeagueConnection ann(league.connInfo(QStringLiteral("ann_ld")));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.track);
        QString failure;
        const std::optional<SharedGhost> ghost =
            readLeaderGhost(ann.database(), bytesSha256(QByteArray(c.track)), &failure);
        EXPECT_EQ(failure.isEmpty(), !c.fails) << failure.toStdString();
        ASSERT_EQ(ghost.has_value(), c.ghost.has_value());
        if (ghost) {
            EXPECT_EQ(ghost->player, c.ghost->player);
            EXPECT_EQ(ghost->timeMs, c.ghost->timeMs);
            EXPECT_EQ(ghost->finishedUtc, c.ghost->finishedUtc);
            EXPECT_EQ(ghost->path, c.ghost->path);
        }
    }
}

} // namespace
