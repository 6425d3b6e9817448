// Checks level pictures before they are shipped or shared: whether each loads, its size, its
// starting and finishing areas, and whether every start reaches a finish along a corridor wide
// enough for a player.
//
//     kurvenflitzerl-check [--width N] LEVEL.bmp...

#include "board/BitmapFile.h"
#include "check/LevelCheck.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QString>
#include <QStringList>

#include <cstdio>

namespace {

constexpr int kDefaultWidth = 4;
constexpr int kMaxWidth = 1000;
constexpr int kUsageError = 2;

const char kUsage[] =
    "Usage: kurvenflitzerl-check [--width N] LEVEL.bmp...\n"
    "\n"
    "Checks that each level picture can be played: it must load as a bitmap, have at least one\n"
    "starting area (pure green) and one finishing area (pure red), and every starting area must\n"
    "reach a finishing area along free track (any colour but pure black) at least N pixels wide.\n"
    "Beyond the edge of the picture counts as wall.\n"
    "\n"
    "Options:\n"
    "  --width N   the narrowest corridor a player must get through, 1 to 1000 pixels\n"
    "              (default 4); --width=N works too\n"
    "  -h, --help  show this text\n"
    "  --          every later argument is a level file, even one that begins with '-'\n"
    "\n"
    "Exit status: 0 when every level is playable, 1 when any is not, 2 for a wrong command line.\n";

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

// Prints what the checker found, each line led by the file name as given; true when playable.
bool report(const QString& file, int width) {
    const QString lead = file + QStringLiteral(": ");
    const QFileInfo info(file);
    if (!info.exists() || !info.isFile() || !info.isReadable()) {
        printLine(stdout, lead + (info.exists() ? QStringLiteral("cannot be read as a file")
                                                : QStringLiteral("no such file")));
        return false;
    }
    const kf::LevelCheckResult result = kf::checkLevel(kf::readBitmapFile(file), width);
    if (!result.loads) {
        printLine(stdout, lead + QStringLiteral("not a loadable bitmap"));
        return false;
    }
    printLine(stdout, lead + QStringLiteral("%1 x %2 pixels, %3, %4")
                                 .arg(result.size.width())
                                 .arg(result.size.height())
                                 .arg(countOf(result.startAreas, "starting area"),
                                      countOf(result.finishAreas, "finishing area")));
    if (result.playable)
        printLine(stdout, lead + QStringLiteral("playable with ") + kf::corridorPhrase(width));
    for (const QString& reason : result.reasons)
        printLine(stdout, lead + QStringLiteral("not playable: ") + reason);
    return result.playable;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    // "-dash.bmp" is one unknown option, not seven unknown letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption helpOption(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption widthOption(QStringLiteral("width"), QString(), QStringLiteral("N"));
    parser.addOption(helpOption);
    parser.addOption(widthOption);
    if (!parser.parse(app.arguments()))
        return usageError(parser.errorText());
    if (parser.isSet(helpOption)) {
        std::fputs(kUsage, stdout);
        return 0;
    }

    int width = kDefaultWidth;
    if (parser.isSet(widthOption)) {
        bool ok = false;
        const QString text = parser.value(widthOption);
        width = text.toInt(&ok);
        if (!ok || width < 1 || width > kMaxWidth)
            return usageError(QStringLiteral("--width needs a whole number from 1 to %1, not '%2'")
                                  .arg(kMaxWidth)
                                  .arg(text));
    }
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty())
        return usageError(QStringLiteral("no level file given"));

    bool allPlayable = true;
    for (const QString& file : files)
        allPlayable = report(file, width) && allPlayable;
    return allPlayable ? 0 : 1;
}
