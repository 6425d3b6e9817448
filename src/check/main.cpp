// Checks level pictures before they are shipped or shared: whether each loads, its size, its
// starting and finishing areas, its narrowest passage, how hard it is to steer through, and
// whether every start reaches a finish along a corridor wide enough for a player. With --verify
// it proves the runs of race files instead, each ghost's path run again on the race's own track
// by the game's rules.
//
//     kurvenflitzerl-check [--width N] LEVEL.bmp...
//     kurvenflitzerl-check --verify RACE.kfrace...

#include "check/LevelCheck.h"
#include "check/LevelPassage.h"
#include "check/SteeringIndex.h"
#include "level/BitmapFile.h"
#include "level/FileName.h"
#include "level/RegularFile.h"
#include "race/RaceFile.h"

#include <QByteArray>
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <cstdio>
#include <optional>
#include <utility>

#include <sys/stat.h>

namespace {

constexpr int kMaxWidth = 1000;
constexpr int kUsageError = 2;

const char kUsage[] =
    "Usage: kurvenflitzerl-check [--width N] LEVEL.bmp...\n"
    "       kurvenflitzerl-check --verify RACE.kfrace...\n"
    "\n"
    "Checks that each level picture can be played: it must load as a bitmap, have at least one\n"
    "starting area (pure green) and one finishing area (pure red), and every starting area must\n"
    "reach a finishing area along free track (any colour but pure black) at least N pixels wide.\n"
    "Beyond the edge of the picture counts as wall.\n"
    "\n"
    "With --verify it proves the runs of each race file instead: every ghost's path is run again\n"
    "on the race's own track by the game's rules, and must end at the time it claims.\n"
    "\n"
    "Options:\n"
    "  --width N   the narrowest corridor a player must get through, 1 to 1000 pixels\n"
    "              (default 4); --width=N works too\n"
    "  --verify    prove the runs of race files instead of checking levels\n"
    "  -h, --help  show this text\n"
    "  --          every later argument is a level file, even one that begins with '-'\n"
    "\n"
    "Exit status: 0 when every level is playable, 1 when any is not, 2 for a wrong command line.\n"
    "With --verify: 0 when every run is confirmed, 1 when any is not or a file is no race file.\n";

void printLine(std::FILE* stream, const QString& line) {
    std::fputs(qPrintable(line + QLatin1Char('\n')), stream);
}

int usageError(const QString& reason) {
    printLine(stderr, QStringLiteral("kurvenflitzerl-check: ") + reason);
    printLine(stderr, QStringLiteral("Try 'kurvenflitzerl-check --help' for more."));
    return kUsageError;
}

QString countOf(int n, const char* thing) {
    return QStringLiteral("%1 %2%3").arg(n).arg(QLatin1String(thing)).arg(n == 1 ? "" : "s");
}

// One line of a file's report, led by the file's name in the very bytes it was given.
void printFileLine(const QByteArray& name, const QString& text) {
    std::fputs((name + ": " + text.toLocal8Bit() + '\n').constData(), stdout);
}

// What the narrowest passage lets through: the widest probe with which every starting area
// still reaches a finishing area, or none at all (not even a probe of 1, or no starting or no
// finishing area to join).
QString passageLine(int narrowest) {
    if (narrowest == 0)
        return QStringLiteral("no probe gets through");
    return QStringLiteral("its narrowest passage lets a probe %1 pixel%2 wide through")
        .arg(narrowest)
        .arg(narrowest == 1 ? "" : "s");
}

// How hard the track is to steer through, for a track that some probe gets through.
QString difficultyLine(int narrowest, std::optional<std::uint64_t> steering) {
    if (narrowest == 0 || !steering)
        return QStringLiteral("no difficulty (not playable)");
    return QStringLiteral("steering index %1, difficulty %2")
        .arg(kf::wholeSteering(*steering))
        .arg(kf::difficultyText(kf::difficultyTenths(*steering)));
}

// Opens a level file by the bytes of its name; the reason it cannot, or an empty text.
QString openLevelFile(const QByteArray& name, QFile& file) {
    struct stat info {};
    if (::stat(name.constData(), &info) != 0)
        return QStringLiteral("no such file");
    if (!kf::openRegularFile(file, name))
        return QStringLiteral("cannot be read as a file");
    return {};
}

// Prints what the checker found, each line led by the file name as given; true when playable.
bool report(const QByteArray& name, int width) {
    QFile file;
    if (const QString refused = openLevelFile(name, file); !refused.isEmpty()) {
        printFileLine(name, refused);
        return false;
    }
    kf::BitmapRefusal refusal;
    QImage picture = kf::readBitmap(file, &refusal);
    file.close();
    if (refusal.tooLarge) {
        printFileLine(name, kf::tooLargePhrase(refusal.width, refusal.height, refusal.maxPixels));
        return false;
    }
    // The steering index's map is let go before the passage is measured.
    const std::optional<std::uint64_t> steering =
        picture.isNull() ? std::nullopt : kf::steeringIndex(kf::LevelMap(picture));
    const kf::LevelPassage passage = kf::measurePassage(std::move(picture));
    const kf::LevelCheckResult result = passage.verdict(width);
    if (!result.loads) {
        printFileLine(name, result.reasons.join(QStringLiteral("; ")));
        return false;
    }
    printFileLine(name, QStringLiteral("%1 x %2 pixels, %3, %4")
                            .arg(result.size.width())
                            .arg(result.size.height())
                            .arg(countOf(result.startAreas, "starting area"),
                                 countOf(result.finishAreas, "finishing area")));
    printFileLine(name, passageLine(passage.narrowest));
    printFileLine(name, difficultyLine(passage.narrowest, steering));
    if (result.playable)
        printFileLine(name, QStringLiteral("playable with ") + kf::corridorPhrase(width));
    for (const QString& reason : result.reasons)
        printFileLine(name, QStringLiteral("not playable: ") + reason);
    return result.playable;
}

// Prints each ghost's proof, led by the race file's name as given; true when all are confirmed.
bool verifyRace(const QByteArray& name) {
    const kf::RaceReading reading = kf::readRaceFile(kf::decodeFileName(name));
    if (!reading.race) {
        printFileLine(name, reading.reason);
        return false;
    }
    const QList<kf::RunProof> proofs = kf::proveRace(*reading.race);
    bool allConfirmed = true;
    for (qsizetype i = 0; i < proofs.size(); ++i) {
        const kf::RaceGhost& ghost = reading.race->ghosts[i];
        if (proofs[i].confirmed) {
            printFileLine(name, QStringLiteral("%1: confirmed, finished in %2 ms")
                                    .arg(ghost.player)
                                    .arg(ghost.timeMs));
        } else {
            printFileLine(name,
                          ghost.player + QStringLiteral(": not confirmed: ") + proofs[i].reason);
            allConfirmed = false;
        }
    }
    return allConfirmed;
}

// The level files of the command line in the bytes the system gave them. The parser sees every
// argument decoded, and bytes that are not UTF-8 all decode to U+FFFD, so each of its file names
// is matched to the next argument that decodes to it. An option or option value skipped on the
// way decodes alike only if its bytes are alike too, or if it holds such bytes, which makes the
// command line wrong before any file is read.
QList<QByteArray> levelFiles(const QStringList& decodedFiles, int argc, char** argv) {
    QList<QByteArray> files;
    int next = 1;
    for (const QString& decoded : decodedFiles) {
        while (next < argc && QFile::decodeName(argv[next]) != decoded)
            ++next;
        if (next < argc)
            files.append(QByteArray(argv[next++]));
    }
    return files;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    // "-dash.bmp" is one unknown option, not seven unknown letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption helpOption(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption widthOption(QStringLiteral("width"), QString(), QStringLiteral("N"));
    const QCommandLineOption verifyOption(QStringLiteral("verify"));
    parser.addOption(helpOption);
    parser.addOption(widthOption);
    parser.addOption(verifyOption);
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QFile::decodeName(argv[i]);
    if (!parser.parse(arguments))
        return usageError(parser.errorText());
    if (parser.isSet(helpOption)) {
        std::fputs(kUsage, stdout);
        return 0;
    }

    if (parser.isSet(verifyOption)) {
        if (parser.isSet(widthOption))
            return usageError(QStringLiteral("--verify proves races and takes no --width"));
        const QList<QByteArray> races = levelFiles(parser.positionalArguments(), argc, argv);
        if (races.isEmpty())
            return usageError(QStringLiteral("no race file given"));
        bool allConfirmed = true;
        for (const QByteArray& race : races)
            allConfirmed = verifyRace(race) && allConfirmed;
        return allConfirmed ? 0 : 1;
    }

    int width = kf::kDefaultCorridorWidth;
    if (parser.isSet(widthOption)) {
        bool ok = false;
        const QString text = parser.value(widthOption);
        width = text.toInt(&ok);
        if (!ok || width < 1 || width > kMaxWidth)
            return usageError(QStringLiteral("--width needs a whole number from 1 to %1, not '%2'")
                                  .arg(kMaxWidth)
                                  .arg(text));
    }
    const QList<QByteArray> files = levelFiles(parser.positionalArguments(), argc, argv);
    if (files.isEmpty())
        return usageError(QStringLiteral("no level file given"));

    bool allPlayable = true;
    for (const QByteArray& file : files)
        allPlayable = report(file, width) && allPlayable;
    return allPlayable ? 0 : 1;
}
