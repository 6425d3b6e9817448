#include "TestLeague.h"
#include "league/LeagueVerifier.h"
#include "support/QtPrinters.h"

#include <QSqlError>

namespace {

using namespace kf;

// Whether the statements, run in order in a transaction that is then rolled back, are refused:
// one fails, or the last touches or returns no row.
bool refused(QSqlDatabase db, const QStringList& statements) {
    db.transaction();
    QSqlQuery query(db);
    bool failed = false;
    for (const QString& sql : statements)
        if (!query.exec(sql)) {
            failed = true;
            break;
        }
    const bool touchedNothing =
        !failed && (query.isSelect() ? !query.next() : query.numRowsAffected() <= 0);
    db.rollback();
    return failed || touchedNothing;
}

TEST(LeagueRolesTest, RefuseEveryStatementBeyondTheirPart) {
    const TestLeague league(QStringLiteral("roles"),
                            {QStringLiteral("ann_r"), QStringLiteral("ben_r")},
                            {QStringLiteral("proof_r")});
    ASSERT_TRUE(league.error.isEmpty()) << league.error.toStdString();
    {
        // Ben has a confirmed run and a pending one; Ann a pending one.
        LeagueConnection ben(league.connInfo(QStringLiteral("ben_r")));
        ASSERT_TRUE(submitRun(ben.database(), tinyRun(kTopRow, 45)).refusal.isEmpty());
        LeagueConnection proof(league.connInfo(QStringLiteral("proof_r")));
        ASSERT_EQ(LeagueVerifier(proof.database()).provePending().confirmed, 1);
        ASSERT_TRUE(submitRun(ben.database(), tinyRun(kTopRow, 45, 1)).refusal.isEmpty());
        LeagueConnection ann(league.connInfo(QStringLiteral("ann_r")));
        ASSERT_TRUE(submitRun(ann.database(), tinyRun(kRoundBelow, 80)).refusal.isEmpty());
    }
    const QString values = QStringLiteral(
        "(SELECT sha256 FROM tracks LIMIT 1), 1, now(), '\\x01010000000000000000000000'");
    const struct {
        const char* role;
        QStringList statements;
    } cases[] = {
        {"ann_r",
         {"INSERT INTO submissions (player, track_sha256, time_ms, finished_utc, path) "
          "VALUES ('ben_r', " +
          values + ")"}},
        {"ann_r",
         {"INSERT INTO submissions (track_sha256, time_ms, finished_utc, path, state) "
          "VALUES (" +
          values + ", 'confirmed')"}},
        {"ann_r",
         {"SET ROLE kf_player", "INSERT INTO submissions (track_sha256, time_ms, "
                                "finished_utc, path) VALUES (" +
                                    values + ")"}},
        {"ann_r", {"UPDATE submissions SET state = 'confirmed'"}},
        {"ann_r", {"UPDATE submissions SET time_ms = 1"}},
        {"ann_r", {"DELETE FROM submissions"}},
        {"ann_r", {"TRUNCATE submissions"}},
        {"ann_r", {"ALTER TABLE submissions DISABLE ROW LEVEL SECURITY"}},
        {"ann_r", {"UPDATE tracks SET name = 'Mine.bmp'"}},
        {"ann_r", {"DELETE FROM tracks"}},
        {"ann_r", {"SELECT * FROM standings"}},
        {"ann_r", {"UPDATE board SET best_ms = 1"}},
        {"ann_r", {"SELECT * FROM submissions WHERE state = 'pending' AND player <> session_user"}},
        {"ann_r", {"SET ROLE kf_verifier"}},
        {"ann_r", {"CREATE TABLE mine (x integer)"}},
        {"proof_r",
         {"INSERT INTO submissions (track_sha256, time_ms, finished_utc, path) "
          "VALUES (" +
          values + ")"}},
        {"proof_r", {"UPDATE submissions SET state = 'refused' WHERE state = 'confirmed'"}},
        {"proof_r", {"UPDATE submissions SET time_ms = 1"}},
        {"proof_r", {"UPDATE submissions SET state = 'pending'"}},
        {"proof_r", {"DELETE FROM submissions"}},
        {"proof_r", {"INSERT INTO tracks SELECT sha256, 'Other.bmp', bytes FROM tracks"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.role + (": " + c.statements.join(QStringLiteral("; ")).toStdString()));
        LeagueConnection role(league.connInfo(QString::fromLatin1(c.role)));
        ASSERT_TRUE(role.isOpen()) << role.reason().toStdString();
        EXPECT_TRUE(refused(role.database(), c.statements));
    }
}

TEST(LeagueRolesTest, LetAPlayerReadTheBoardTracksAndConfirmedPaths) {
    const TestLeague league(QStringLiteral("reads"),
                            {QStringLiteral("ann_s"), QStringLiteral("ben_s")},
                            {QStringLiteral("proof_s")});
    ASSERT_TRUE(league.error.isEmpty()) << league.error.toStdString();
    LeagueConnection ben(league.connInfo(QStringLiteral("ben_s")));
    ASSERT_TRUE(submitRun(ben.database(), tinyRun(kTopRow, 45)).refusal.isEmpty());
    LeagueConnection proof(league.connInfo(QStringLiteral("proof_s")));
    ASSERT_EQ(LeagueVerifier(proof.database()).provePending().confirmed, 1);

    LeagueConnection ann(league.connInfo(QStringLiteral("ann_s")));
    const struct {
        const char* sql;
        QVariant value;
    } cases[] = {
        {"SELECT player || ' ' || best_ms || ' ' || finished_runs FROM board", "ben_s 45 1"},
        {"SELECT octet_length(bytes) FROM tracks", tinyTrackBytes().size()},
        {"SELECT octet_length(path) FROM submissions WHERE player = 'ben_s'", 37},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sql);
        EXPECT_EQ(valueOf(ann, QString::fromLatin1(c.sql)).toString(), c.value.toString());
    }
}

} // namespace
