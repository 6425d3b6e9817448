#include "TestLeague.h"
#include "history/HistoryRun.h"
#include "league/LeagueVerifier.h"
#include "support/QtPrinters.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QThread>

namespace {

using namespace kf;

struct Outcome {
    int status = -1;
    QString out;
    QString err;
};

Outcome runLeague(const QStringList& arguments, const QByteArray& input = {}) {
    QProcess program;
    program.start(QStringLiteral(KF_LEAGUE_PROGRAM), arguments);
    program.write(input);
    program.closeWriteChannel();
    program.waitForFinished(60 * 1000);
    return {program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1,
            QString::fromUtf8(program.readAllStandardOutput()),
            QString::fromUtf8(program.readAllStandardError())};
}

TEST(LeagueCliTest, ExplainsBadUseAndAnUnreachableServer) {
    const struct {
        QStringList arguments;
        int status;
        const char* message;
    } cases[] = {
        {{}, 2, "no command given"},
        {{"play"}, 2, "no command 'play'"},
        {{"setup", "again"}, 2, "setup takes no argument"},
        {{"board"}, 2, "board takes one argument"},
        {{"add-player", "ann", "ben"}, 2, "add-player takes one argument"},
        {{"add-player", ""}, 2, "add-player needs a name that is not empty"},
        {{"board", "Tiny.bmp", "--once"}, 2, "--once goes with verify only"},
        {{"--db"}, 2, "Missing value after '--db'"},
        {{"--frobnicate", "setup"}, 2, "Unknown option 'frobnicate'"},
        {{"--db", "host", "setup"}, 2, "a keyword without \"=\""},
        {{"--db", "host=/nonexistent/kf", "setup"}, 1, "cannot reach the league's database: "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        const Outcome outcome = runLeague(c.arguments);
        EXPECT_EQ(outcome.status, c.status);
        EXPECT_TRUE(outcome.err.startsWith(QStringLiteral("kurvenflitzerl-league: ")));
        EXPECT_TRUE(outcome.err.contains(QString::fromUtf8(c.message)))
            << outcome.err.toStdString();
        EXPECT_EQ(outcome.err.count(QLatin1Char('\n')), c.status == 2 ? 2 : 1);
    }
}

TEST(LeagueCliTest, SetsUpAddsPlayersProvesTheirRunsAndShowsTheBoard) {
    PostgresServer& server = PostgresServer::shared();
    ASSERT_TRUE(server.ready()) << server.error().toStdString();
    ASSERT_EQ(server.createDatabase(QStringLiteral("walk")), QString());
    const QString owner = server.connInfo(QStringLiteral("walk"));
    // A name that would end the statement if it were pasted into the SQL.
    const QString bo = QStringLiteral("Bo \"x\"; DROP TABLE tracks; --");
    for (const QStringList& command : {QStringList{"setup"},
                                       {"setup"},
                                       {"add-player", "ann_w"},
                                       {"add-player", bo},
                                       {"add-player", "ann_w"}}) {
        const Outcome outcome = runLeague(QStringList{"--db", owner} + command, "secret\n");
        ASSERT_EQ(outcome.status, 0) << outcome.err.toStdString();
    }
    {
        LeagueConnection ann(server.connInfo(QStringLiteral("walk"), QStringLiteral("ann_w")));
        LeagueConnection boRole(server.connInfo(QStringLiteral("walk"), bo));
        ASSERT_TRUE(submitRun(boRole.database(), tinyRun(kRoundBelow, 80)).refusal.isEmpty());
        ASSERT_TRUE(submitRun(ann.database(), tinyRun(kTopRow, 45)).refusal.isEmpty());
        ASSERT_TRUE(submitRun(ann.database(), tinyRun(kTopRow, 44, 1)).refusal.isEmpty());
        ASSERT_TRUE(submitRun(ann.database(), tinyRun(kRoundBelow, 80, 2)).refusal.isEmpty());
    }
    const Outcome verified = runLeague({"--db", owner, "verify", "--once"});
    EXPECT_EQ(verified.status, 0) << verified.err.toStdString();
    EXPECT_EQ(verified.out, "4 runs proven: 3 confirmed, 1 refused\n");

    const Outcome board = runLeague({"--db", owner, "board", "Tiny.bmp"});
    EXPECT_EQ(board.status, 0) << board.err.toStdString();
    EXPECT_EQ(board.out, QStringLiteral("Tiny.bmp (%1)\n"
                                        "rank  player                               best  runs\n"
                                        "   1  ann_w                               45 ms     2\n"
                                        "   2  Bo \"x\"; DROP TABLE tracks; --       80 ms     1\n")
                             .arg(bytesSha256(tinyTrackBytes())));
    EXPECT_EQ(runLeague({"--db", owner, "board", "Gone.bmp"}).status, 1);
}

TEST(LeagueCliTest, VerifierProvesEachRunAsItIsSubmitted) {
    const TestLeague league(QStringLiteral("listen"), {QStringLiteral("ann_l")},
                            {QStringLiteral("proof_l")});
    ASSERT_TRUE(league.error.isEmpty()) << league.error.toStdString();
    QProcess verifier;
    verifier.start(QStringLiteral(KF_LEAGUE_PROGRAM),
                   {"--db", league.connInfo(QStringLiteral("proof_l")), "verify"});
    ASSERT_TRUE(verifier.waitForStarted());
    LeagueConnection ann(league.connInfo(QStringLiteral("ann_l")));
    // The first run may come before the verifier listens (it proves what is pending when it
    // starts); the second is proven on its notification.
    for (int run = 1; run <= 2; ++run) {
        const LeagueSubmission submitted = submitRun(ann.database(), tinyRun(kTopRow, 45, run));
        ASSERT_TRUE(submitted.refusal.isEmpty()) << submitted.refusal.toStdString();
        const QString state =
            QStringLiteral("SELECT state FROM submissions WHERE id = %1").arg(submitted.id);
        QDeadlineTimer deadline(60 * 1000);
        while (valueOf(ann, state).toString() == QLatin1String("pending") && !deadline.hasExpired())
            QThread::msleep(20);
        EXPECT_EQ(valueOf(ann, state).toString(), QStringLiteral("confirmed")) << run;
    }
    verifier.terminate();
    verifier.waitForFinished();
}

} // namespace
