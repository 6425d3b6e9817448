#include "TestLeague.h"
#include "league/ScramVerifier.h"
#include "support/QtPrinters.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

namespace {

using namespace kf;

const QByteArray kSalt = "kurvenflitzerl!!";

// The players of `league` log in with their passwords on its database from now on (the owner
// is still trusted): a line before the server's own in pg_hba.conf, read again at once.
QString askPasswords(const TestLeague& league, const QString& anyPlayer) {
    QFile rules(PostgresServer::shared().folder() + QStringLiteral("/data/pg_hba.conf"));
    if (!rules.open(QIODevice::ReadWrite))
        return rules.errorString();
    const QByteArray before = rules.readAll();
    rules.seek(0);
    rules.write("local " + league.database.toUtf8() + " +kf_player scram-sha-256\n" + before);
    rules.close();
    LeagueConnection owner(league.connInfo(QString::fromLatin1(PostgresServer::kOwner)));
    if (!valueOf(owner, QStringLiteral("SELECT pg_reload_conf()")).toBool())
        return QStringLiteral("the server did not read pg_hba.conf again");
    QDeadlineTimer deadline(30 * 1000);
    while (LeagueConnection(league.connInfo(anyPlayer)).isOpen())
        if (deadline.hasExpired())
            return QStringLiteral("players still log in without a password");
        else
            QThread::msleep(20);
    return {};
}

bool logsIn(const TestLeague& league, const QString& role, const QString& password) {
    return LeagueConnection(league.connInfo(role) + QStringLiteral(" password='%1'").arg(password))
        .isOpen();
}

TEST(LeagueScramTest, VerifiersArePinnedKeptAsTheyAreAndLetTheirPasswordIn) {
    const TestLeague league(QStringLiteral("scram_pin"), {QStringLiteral("pin_s")});
    ASSERT_TRUE(league.error.isEmpty()) << league.error.toStdString();
    ASSERT_EQ(askPasswords(league, QStringLiteral("pin_s")), QString());
    LeagueConnection owner(league.connInfo(QString::fromLatin1(PostgresServer::kOwner)));
    const struct {
        QString password;
        QString verifier;
    } cases[] = {
        {QStringLiteral("secret"),
         QStringLiteral("SCRAM-SHA-256$4096:a3VydmVuZmxpdHplcmwhIQ==$tEGctYVmcL2FxzEU2AOJ1GCoid2q6"
                        "72iTWHnP094n68=:AhvzBX0DaFTycVbii2Hj58x5nf88aMgZNlIFL8jdmW0=")},
        // A space of another script is an ordinary space to SASLprep.
        {QStringLiteral("pass\u00A0word"),
         QStringLiteral("SCRAM-SHA-256$4096:a3VydmVuZmxpdHplcmwhIQ==$cSLiu909RqNqBVAHdkDAtkO42fJMe"
                        "SQTAnV8FcovErA=:tUIHV9Xb3LPMCACUiEz9XCuezl86nk4dmEjK+j+ZqAY=")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.password.toStdString());
        EXPECT_EQ(scramVerifier(c.password, kSalt), c.verifier);
        QSqlQuery set(owner.database());
        ASSERT_TRUE(set.exec(QStringLiteral("ALTER ROLE pin_s PASSWORD '%1'").arg(c.verifier)));
        EXPECT_EQ(valueOf(owner, QStringLiteral("SELECT rolpassword FROM pg_authid "
                                                "WHERE rolname = 'pin_s'")),
                  c.verifier);
        EXPECT_TRUE(logsIn(league, QStringLiteral("pin_s"), c.password));
    }
}

TEST(LeagueScramTest, PlayersLogInWithTheirPasswordAsLibpqPreparesIt) {
    const QStringList players{"p0_s", "p1_s", "p2_s", "p3_s", "p4_s", "p5_s", "p6_s"};
    const TestLeague league(QStringLiteral("scram_login"), players);
    ASSERT_TRUE(league.error.isEmpty()) << league.error.toStdString();
    ASSERT_EQ(askPasswords(league, players.first()), QString());
    LeagueConnection owner(league.connInfo(QString::fromLatin1(PostgresServer::kOwner)));
    const struct {
        QString password;
        QString tried;
        bool in;
    } cases[] = {
        {QStringLiteral("secret"), QStringLiteral("secret"), true},
        {QStringLiteral("secret"), QStringLiteral("Secret"), false},
        {QStringLiteral("Straße ✓"), QStringLiteral("Straße ✓"), true},
        // Folded to "pass" (NFKC), the soft hyphen dropped.
        {QStringLiteral("ｐａ\u00ADｓｓ"), QStringLiteral("pass"), true},
        {QStringLiteral("pass\u3000word"), QStringLiteral("pass word"), true},
        // A mark of direction forbids SASLprep: the password's own bytes count, unfolded.
        {QStringLiteral("ｐａｓｓ\u200E"), QStringLiteral("ｐａｓｓ\u200E"), true},
        {QStringLiteral("ｐａｓｓ\u200E"), QStringLiteral("pass\u200E"), false},
    };
    for (qsizetype i = 0; i < std::ssize(cases); ++i) {
        SCOPED_TRACE(cases[i].password.toStdString() + " / " + cases[i].tried.toStdString());
        ASSERT_EQ(
            addLeagueRole(owner.database(), players[i], LeagueRole::Player, cases[i].password),
            QString());
        EXPECT_EQ(logsIn(league, players[i], cases[i].tried), cases[i].in);
    }
}

TEST(LeagueScramTest, ProgramSendsNoPasswordInPlainText) {
    const TestLeague league(QStringLiteral("scram_cli"), {QStringLiteral("ann_c")});
    ASSERT_TRUE(league.error.isEmpty()) << league.error.toStdString();
    ASSERT_EQ(askPasswords(league, QStringLiteral("ann_c")), QString());
    LeagueConnection owner(league.connInfo(QString::fromLatin1(PostgresServer::kOwner)));
    QSqlQuery logAll(owner.database());
    ASSERT_TRUE(logAll.exec(QStringLiteral("ALTER DATABASE scram_cli SET log_statement = 'all'")));

    QProcess program;
    program.start(QStringLiteral(KF_LEAGUE_PROGRAM),
                  {"--db", league.connInfo(QString::fromLatin1(PostgresServer::kOwner)),
                   "add-player", "ann_c"});
    program.write("tell-no-one\n");
    program.closeWriteChannel();
    ASSERT_TRUE(program.waitForFinished(60 * 1000));
    ASSERT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();

    EXPECT_TRUE(logsIn(league, QStringLiteral("ann_c"), QStringLiteral("tell-no-one")));
    QFile log(PostgresServer::shared().folder() + QStringLiteral("/server.log"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly)) << log.errorString().toStdString();
    const QByteArray logged = log.readAll();
    EXPECT_TRUE(logged.contains("ALTER ROLE ann_c PASSWORD 'SCRAM-SHA-256$4096:"));
    EXPECT_FALSE(logged.contains("tell-no-one"));
}

} // namespace
