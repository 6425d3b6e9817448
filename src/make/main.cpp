// Makes tracks to order: a track for a seed and a difficulty, or the track of a day.
//
//     kurvenflitzerl-track generate --seed N --difficulty D OUT.bmp
//     kurvenflitzerl-track daily YYYY-MM-DD OUT.bmp

#include "check/SteeringIndex.h"
#include "creator/LevelBitmap.h"
#include "level/FileName.h"
#include "make/DailyTrack.h"
#include "make/TrackGenerator.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <vector>

namespace {

constexpr int kCannotWrite = 1;
constexpr int kUsageError = 2;

const char kUsage[] =
    "Usage: kurvenflitzerl-track generate --seed N --difficulty D OUT.bmp\n"
    "       kurvenflitzerl-track daily YYYY-MM-DD OUT.bmp\n"
    "\n"
    "Makes a 400 x 400 track (a maze of wall with a green start and a red finish) and writes it\n"
    "to OUT.bmp as a level file, replacing a file of that name whole. Every track it makes is\n"
    "playable with a corridor 4 pixels wide, and its difficulty (as kurvenflitzerl-check\n"
    "measures it) lies within half a point of the one asked for. The same seed and difficulty\n"
    "give the same track on every machine.\n"
    "\n"
    "Commands:\n"
    "  generate    the track of seed N, a whole number from 0 to 18446744073709551615, and\n"
    "              difficulty D, a whole number from 1 (gentlest) to 10 (hardest);\n"
    "              --seed=N and --difficulty=D work too\n"
    "  daily       the track of the day YYYY-MM-DD: the same for everyone on that date, gentle\n"
    "              on Mondays (difficulty 2) and one point harder each day to Sundays (8)\n"
    "\n"
    "Options:\n"
    "  -h, --help  show this text\n"
    "\n"
    "Exit status: 0 when the track is written, 1 when it cannot be written, 2 for a wrong\n"
    "command line.\n";

int usageError(const char* reason) {
    std::fprintf(stderr, "kurvenflitzerl-track: %s\n\n%s", reason, kUsage);
    return kUsageError;
}

std::optional<std::uint64_t> seedOf(const QByteArray& text) {
    // Digits only: toULongLong would take a sign, blanks or a leading "0x".
    if (text.isEmpty() || text.size() > 20 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    bool ok = false;
    const std::uint64_t seed = text.toULongLong(&ok);
    return ok ? std::optional(seed) : std::nullopt;
}

std::optional<int> difficultyOf(const QByteArray& text) {
    bool ok = false;
    const int difficulty = text.toInt(&ok);
    const bool digits = !text.isEmpty() && std::all_of(text.begin(), text.end(),
                                                       [](char c) { return c >= '0' && c <= '9'; });
    if (!digits || !ok || difficulty < kf::kGentlestTrack || difficulty > kf::kHardestTrack)
        return std::nullopt;
    return difficulty;
}

// Writes the track and tells what it is; the file's name in the very bytes it was given.
int writeTrack(const QByteArray& out, std::uint64_t seed, int difficulty) {
    const kf::GeneratedTrack track = kf::generateTrack(seed, difficulty);
    const kf::LevelWriteResult written = kf::writeLevelFile(track.picture, kf::decodeFileName(out));
    if (!written) {
        std::fprintf(stderr, "kurvenflitzerl-track: cannot write %s: %s\n", out.constData(),
                     written.reason.toLocal8Bit().constData());
        return kCannotWrite;
    }
    std::printf("%s: seed %llu, difficulty %d: steering index %llu, difficulty %s\n",
                out.constData(), static_cast<unsigned long long>(seed), difficulty,
                static_cast<unsigned long long>(kf::wholeSteering(track.steering)),
                qPrintable(kf::difficultyText(track.tenths)));
    return 0;
}

// `generate` with its options in any order and its one file.
int generate(const std::vector<QByteArray>& args) {
    std::optional<QByteArray> seedText;
    std::optional<QByteArray> difficultyText;
    std::vector<QByteArray> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const QByteArray& arg = args[i];
        std::optional<QByteArray>* option = nullptr;
        QByteArray name;
        for (const char* known : {"--seed", "--difficulty"}) {
            if (arg == known || arg.startsWith(QByteArray(known) + '=')) {
                option = known[2] == 's' ? &seedText : &difficultyText;
                name = known;
            }
        }
        if (!option) {
            if (arg.startsWith('-') && arg != "-")
                return usageError("unknown option");
            files.push_back(arg);
            continue;
        }
        if (*option)
            return usageError("an option is given twice");
        if (arg.size() > name.size()) {
            *option = arg.mid(name.size() + 1);
        } else if (i + 1 < args.size()) {
            *option = args[++i];
        } else {
            return usageError("an option lacks its value");
        }
    }
    if (!seedText || !difficultyText || files.size() != 1)
        return usageError("generate needs --seed, --difficulty and one file");
    const std::optional<std::uint64_t> seed = seedOf(*seedText);
    if (!seed)
        return usageError("the seed must be a whole number from 0 to 18446744073709551615");
    const std::optional<int> difficulty = difficultyOf(*difficultyText);
    if (!difficulty)
        return usageError("the difficulty must be a whole number from 1 to 10");
    return writeTrack(files.front(), *seed, *difficulty);
}

int daily(const std::vector<QByteArray>& args) {
    if (args.size() != 2)
        return usageError("daily needs a date and one file");
    const std::optional<QDate> date = kf::parseDate(QString::fromLatin1(args[0]));
    if (!date)
        return usageError("the date must be a day that exists, written YYYY-MM-DD");
    const kf::DailyTrack day = kf::dailyTrack(*date);
    return writeTrack(args[1], day.seed, day.difficulty);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::vector<QByteArray> args(argv + 1, argv + argc);
    if (!args.empty() && (args[0] == "-h" || args[0] == "--help")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (args.empty())
        return usageError("no command given");
    const QByteArray command = args.front();
    args.erase(args.begin());
    if (command == "generate")
        return generate(args);
    if (command == "daily")
        return daily(args);
    return usageError("unknown command");
}
