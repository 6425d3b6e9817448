// The league's own tool: sets a league's database up, adds its players, proves the runs they
// submit and shows a track's board. Every command reaches the database with a libpq connection
// string (--db), or libpq's defaults and the PG* variables without one.
//
//     kurvenflitzerl-league [--db CONNINFO] setup
//     kurvenflitzerl-league [--db CONNINFO] add-player NAME
//     kurvenflitzerl-league [--db CONNINFO] add-verifier NAME
//     kurvenflitzerl-league [--db CONNINFO] verify [--once]
//     kurvenflitzerl-league [--db CONNINFO] board TRACK

#include "league/ConnInfo.h"
#include "league/LeagueClient.h"
#include "league/LeagueConnection.h"
#include "league/LeagueSchema.h"
#include "league/LeagueVerifier.h"
#include "race/Race.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QSqlDriver>
#include <QSqlError>
#include <QTimer>

#include <cstdio>
#include <optional>

#include <unistd.h>

namespace {

constexpr int kUsageError = 2;
constexpr int kLookAgainMs = 30 * 1000;

const char kUsage[] =
    "Usage: kurvenflitzerl-league [--db CONNINFO] setup\n"
    "       kurvenflitzerl-league [--db CONNINFO] add-player NAME\n"
    "       kurvenflitzerl-league [--db CONNINFO] add-verifier NAME\n"
    "       kurvenflitzerl-league [--db CONNINFO] verify [--once]\n"
    "       kurvenflitzerl-league [--db CONNINFO] board TRACK\n"
    "\n"
    "Keeps a league of Kurvenflitzerl players in a PostgreSQL database: one board of best\n"
    "times for every track, each run proven by the game's own rules before it counts.\n"
    "\n"
    "Commands:\n"
    "  setup              create the league's tables, board and roles (again: no change)\n"
    "  add-player NAME    a player's login role (or a role already there joins the\n"
    "                     league); a password only when one is given on standard\n"
    "                     input (its first line)\n"
    "  add-verifier NAME  a login role for the verifier, likewise\n"
    "  verify             prove each submitted run as it comes, until stopped\n"
    "  verify --once      prove the runs pending now, then exit\n"
    "  board TRACK        the board of a track, by its SHA-256 or its name\n"
    "\n"
    "Options:\n"
    "  --db CONNINFO      a libpq connection string, such as \"host=db.example.org\n"
    "                     dbname=league user=ann sslmode=verify-full\" or a\n"
    "                     postgresql:// URI; without it libpq's defaults and PG* apply\n"
    "  --once             with verify: prove what is pending, then exit\n"
    "  -h, --help         show this text\n"
    "\n"
    "Exit status: 0 on success, 1 when the database cannot be reached or refuses, or a\n"
    "track is unknown, 2 for a wrong command line or connection string.\n";

void printLine(std::FILE* stream, const QString& line) {
    std::fputs(qPrintable(line + QLatin1Char('\n')), stream);
}

int usageError(const QString& reason) {
    printLine(stderr, QStringLiteral("kurvenflitzerl-league: ") + reason);
    printLine(stderr, QStringLiteral("Try 'kurvenflitzerl-league --help' for more."));
    return kUsageError;
}

// One sentence on standard error, and the exit status of a failure.
int failure(QString sentence) {
    if (!sentence.endsWith(QLatin1Char('.')))
        sentence += QLatin1Char('.');
    printLine(stderr, QStringLiteral("kurvenflitzerl-league: ") + sentence);
    return 1;
}

// The first line of standard input when it is no terminal: a password given by a pipe or a
// file; nothing for a terminal or an empty line.
std::optional<QString> passwordFromInput() {
    if (::isatty(STDIN_FILENO))
        return std::nullopt;
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly))
        return std::nullopt;
    const QString line =
        QString::fromUtf8(input.readLine()).remove(QLatin1Char('\n')).remove(QLatin1Char('\r'));
    if (line.isEmpty())
        return std::nullopt;
    return line;
}

int addRole(const QString& connInfo, const QString& name, kf::LeagueRole role) {
    kf::LeagueConnection connection(connInfo);
    if (!connection.isOpen())
        return failure(connection.reason());
    if (const QString failed =
            kf::addLeagueRole(connection.database(), name, role, passwordFromInput());
        !failed.isEmpty())
        return failure(failed);
    return 0;
}

QString tallyLine(const kf::LeagueVerifier::Tally& tally) {
    return QStringLiteral("%1 runs proven: %2 confirmed, %3 refused")
        .arg(tally.confirmed + tally.refused)
        .arg(tally.confirmed)
        .arg(tally.refused);
}

// Proves what is pending, then each time a submission is notified, and every half minute in
// case a notification was missed; ends with status 1 when the database fails.
int verifyForever(QCoreApplication& app, kf::LeagueConnection& connection) {
    kf::LeagueVerifier verifier(connection.database());
    QSqlDriver* driver = connection.database().driver();
    if (!driver->subscribeToNotification(QString::fromLatin1(kf::kLeagueChannel)))
        return failure(QStringLiteral("cannot listen for submissions: %1")
                           .arg(kf::serverMessage(driver->lastError())));
    bool queued = false;
    const auto prove = [&] {
        queued = false;
        const kf::LeagueVerifier::Tally tally = verifier.provePending();
        if (tally.confirmed + tally.refused > 0) {
            printLine(stdout, tallyLine(tally));
            std::fflush(stdout);
        }
        if (!tally.failure.isEmpty())
            app.exit(failure(tally.failure));
    };
    const auto queue = [&] {
        if (!queued)
            QTimer::singleShot(0, &app, prove);
        queued = true;
    };
    QObject::connect(driver, &QSqlDriver::notification, &app, queue);
    QTimer lookAgain;
    QObject::connect(&lookAgain, &QTimer::timeout, &app, queue);
    lookAgain.start(kLookAgainMs);
    queue();
    return app.exec();
}

int verify(QCoreApplication& app, const QString& connInfo, bool once) {
    kf::LeagueConnection connection(connInfo);
    if (!connection.isOpen())
        return failure(connection.reason());
    if (!once)
        return verifyForever(app, connection);
    const kf::LeagueVerifier::Tally tally =
        kf::LeagueVerifier(connection.database()).provePending();
    printLine(stdout, tallyLine(tally));
    return tally.failure.isEmpty() ? 0 : failure(tally.failure);
}

void printBoard(const kf::LeagueTrack& track, const QList<kf::BoardLine>& lines) {
    printLine(stdout, QStringLiteral("%1 (%2)").arg(kf::shownName(track.name), track.sha256));
    if (lines.isEmpty()) {
        printLine(stdout, QStringLiteral("no confirmed runs yet"));
        return;
    }
    qsizetype width = 6;
    for (const kf::BoardLine& line : lines)
        width = qMax(width, kf::shownName(line.player).size());
    printLine(stdout, QStringLiteral("rank  %1  %2  runs")
                          .arg(QStringLiteral("player"), -int(width))
                          .arg(QStringLiteral("best"), 10));
    for (const kf::BoardLine& line : lines)
        printLine(stdout, QStringLiteral("%1  %2  %3 ms  %4")
                              .arg(line.rank, 4)
                              .arg(kf::shownName(line.player), -int(width))
                              .arg(line.bestMs, 7)
                              .arg(line.finishedRuns, 4));
}

int board(const QString& connInfo, const QString& key) {
    kf::LeagueConnection connection(connInfo);
    if (!connection.isOpen())
        return failure(connection.reason());
    const kf::LeagueRead<kf::LeagueTrack> tracks = kf::findTracks(connection.database(), key);
    if (!tracks.failure.isEmpty())
        return failure(tracks.failure);
    if (tracks.rows.isEmpty())
        return failure(QStringLiteral("the league has no track \"%1\"").arg(kf::shownName(key)));
    for (qsizetype i = 0; i < tracks.rows.size(); ++i) {
        const kf::LeagueRead<kf::BoardLine> read =
            kf::readBoard(connection.database(), tracks.rows[i].sha256);
        if (!read.failure.isEmpty())
            return failure(read.failure);
        if (i > 0)
            printLine(stdout, {});
        printBoard(tracks.rows[i], read.rows);
    }
    return 0;
}

// How many words each command takes after its name.
int wordsOf(const QString& command) {
    if (command == QLatin1String("setup") || command == QLatin1String("verify"))
        return 0;
    if (command == QLatin1String("add-player") || command == QLatin1String("add-verifier") ||
        command == QLatin1String("board"))
        return 1;
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption helpOption(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption dbOption(QStringLiteral("db"), QString(), QStringLiteral("CONNINFO"));
    const QCommandLineOption onceOption(QStringLiteral("once"));
    parser.addOption(helpOption);
    parser.addOption(dbOption);
    parser.addOption(onceOption);
    if (!parser.parse(QCoreApplication::arguments()))
        return usageError(parser.errorText());
    if (parser.isSet(helpOption)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    const QStringList words = parser.positionalArguments();
    if (words.isEmpty())
        return usageError(QStringLiteral("no command given"));
    const QString command = words.first();
    const int wanted = wordsOf(command);
    if (wanted < 0)
        return usageError(QStringLiteral("no command '%1'").arg(command));
    if (words.size() - 1 != wanted)
        return usageError(wanted == 0 ? QStringLiteral("%1 takes no argument").arg(command)
                                      : QStringLiteral("%1 takes one argument").arg(command));
    if (parser.isSet(onceOption) && command != QLatin1String("verify"))
        return usageError(QStringLiteral("--once goes with verify only"));
    if (wanted == 1 && words[1].isEmpty())
        return usageError(QStringLiteral("%1 needs a name that is not empty").arg(command));

    const QString connInfo = parser.value(dbOption);
    if (const kf::ConnInfoParse parse = kf::parseConnInfo(connInfo); !parse.info)
        return usageError(parse.reason);
    if (command == QLatin1String("setup")) {
        kf::LeagueConnection connection(connInfo);
        if (!connection.isOpen())
            return failure(connection.reason());
        if (const QString failed = kf::setUpLeague(connection.database()); !failed.isEmpty())
            return failure(failed);
        return 0;
    }
    if (command == QLatin1String("add-player"))
        return addRole(connInfo, words[1], kf::LeagueRole::Player);
    if (command == QLatin1String("add-verifier"))
        return addRole(connInfo, words[1], kf::LeagueRole::Verifier);
    if (command == QLatin1String("verify"))
        return verify(app, connInfo, parser.isSet(onceOption));
    return board(connInfo, words[1]);
}
