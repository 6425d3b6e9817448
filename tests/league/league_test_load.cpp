#include "TestLeague.h"
#include "league/LeagueVerifier.h"
#include "support/QtPrinters.h"

#include <QDeadlineTimer>
#include <QSet>
#include <QThread>

#include <atomic>
#include <latch>
#include <thread>
#include <vector>

namespace {

using namespace kf;

constexpr int kPlayers = 3;
constexpr int kGames = 30;
constexpr int kRunsPerGame = 100;
constexpr int kRuns = kGames * kRunsPerGame;

struct Game {
    QList<qint64> ids;
    QString failure;
};

// One game of `player` submitting its runs on a connection of its own, each finished a second
// after the one before so that no player has two runs finished at the same moment.
void playGame(const TestLeague& league, const QString& player, int game, std::latch& start,
              const QDeadlineTimer& deadline, Game& out) {
    LeagueConnection connection(league.connInfo(player));
    start.arrive_and_wait();
    if (!connection.isOpen()) {
        out.failure = connection.reason();
        return;
    }
    LeagueRun run = tinyRun(kTopRow, 45);
    const QDateTime first = run.finishedUtc;
    for (int i = 0; i < kRunsPerGame && !deadline.hasExpired(); ++i) {
        run.finishedUtc = first.addSecs(qint64(game) * kRunsPerGame + i);
        const LeagueSubmission submitted = submitRun(connection.database(), run);
        if (!submitted.refusal.isEmpty()) {
            out.failure = submitted.refusal;
            return;
        }
        out.ids.append(submitted.id);
    }
}

TEST(LeagueLoadTest, ThirtyGamesSubmitAtOnceWhileTheVerifierProvesEveryRunOnce) {
    QStringList players;
    for (int p = 0; p < kPlayers; ++p)
        players << QStringLiteral("load%1_p").arg(p);
    const TestLeague league(QStringLiteral("load"), players, {QStringLiteral("proof_load")});
    ASSERT_TRUE(league.error.isEmpty()) << league.error.toStdString();
    LeagueConnection proof(league.connInfo(QStringLiteral("proof_load")));
    ASSERT_TRUE(proof.isOpen()) << proof.reason().toStdString();

    const QDeadlineTimer deadline(120 * 1000);
    std::vector<Game> games(kGames);
    std::latch start(kGames);
    std::atomic<int> playing = kGames;
    std::vector<std::thread> threads;
    for (int g = 0; g < kGames; ++g)
        threads.emplace_back([&, g] {
            playGame(league, players[g % kPlayers], g / kPlayers, start, deadline, games[g]);
            --playing;
        });
    LeagueVerifier verifier(proof.database());
    LeagueVerifier::Tally proven;
    const auto prove = [&] {
        const LeagueVerifier::Tally tally = verifier.provePending();
        proven.confirmed += tally.confirmed;
        proven.refused += tally.refused;
        proven.failure += tally.failure;
        return tally.confirmed + tally.refused;
    };
    while (playing > 0 && proven.failure.isEmpty() && !deadline.hasExpired())
        if (prove() == 0)
            QThread::msleep(5);
    for (std::thread& thread : threads)
        thread.join();
    prove();

    QSet<qint64> submitted;
    for (int g = 0; g < kGames; ++g) {
        EXPECT_EQ(games[g].failure, QString()) << "game " << g;
        for (const qint64 id : games[g].ids)
            submitted.insert(id);
    }
    EXPECT_FALSE(deadline.hasExpired())
        << submitted.size() << " of " << kRuns << " runs submitted, " << proven.confirmed
        << " confirmed in 120 s";
    EXPECT_EQ(submitted.size(), kRuns);
    EXPECT_EQ(proven.failure, QString());
    EXPECT_EQ(proven.confirmed, kRuns);
    EXPECT_EQ(proven.refused, 0);

    LeagueConnection owner(league.connInfo(QString::fromLatin1(PostgresServer::kOwner)));
    const struct {
        const char* sql;
        QVariant value;
    } cases[] = {
        {"SELECT count(*) FROM submissions", kRuns},
        {"SELECT count(*) FROM submissions WHERE state = 'confirmed'", kRuns},
        {"SELECT count(DISTINCT (player, finished_utc)) FROM submissions", kRuns},
        {"SELECT string_agg(player || ' ' || finished_runs, ', ' ORDER BY player) FROM board",
         "load0_p 1000, load1_p 1000, load2_p 1000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sql);
        EXPECT_EQ(valueOf(owner, QString::fromLatin1(c.sql)).toString(), c.value.toString());
    }
    QSqlQuery ids(owner.database());
    ASSERT_TRUE(ids.exec(QStringLiteral("SELECT id FROM submissions")));
    QSet<qint64> stored;
    while (ids.next())
        stored.insert(ids.value(0).toLongLong());
    EXPECT_EQ(stored.size(), kRuns);
    EXPECT_TRUE(stored == submitted);
}

} // namespace
