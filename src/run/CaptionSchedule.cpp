#include "run/CaptionSchedule.h"

namespace kf {

namespace {

constexpr char kCapitalLast[] = "Kurvenflitzerl.exE";
constexpr char kCapitalMiddle[] = "Kurvenflitzerl.eXe";
constexpr char kCapitalFirst[] = "Kurvenflitzerl.Exe";

// One run of the capital letter from the right end of "exe" to the left and back, starting at
// tick `start`, one step every five ticks, ending on the plain program line.
std::optional<QString> capitalRun(int n, int start) {
    switch (n - start) {
    case 0:
        return QString::fromLatin1(kCapitalLast);
    case 5:
        return QString::fromLatin1(kCapitalMiddle);
    case 10:
        return QString::fromLatin1(kCapitalFirst);
    case 15:
        return QString::fromLatin1(kCapitalMiddle);
    case 20:
        return QString::fromLatin1(kCapitalLast);
    case 25:
        return QString::fromLatin1(kProgramLine);
    default:
        return std::nullopt;
    }
}

} // namespace

QString creditLine() {
    return QString::fromLatin1(kVersionLine) + QStringLiteral(" -> ") +
           QString::fromLatin1(kAuthorCredit);
}

std::optional<QString> titleCaption(int n) {
    const QString program = QString::fromLatin1(kProgramLine);
    // Typing: one letter a tick, with the fourth letter held for a second tick.
    if (n >= 1 && n <= 4)
        return program.left(n);
    if (n >= 6 && n <= 19)
        return program.left(n - 1);
    switch (n) {
    case 20:
    case 40:
    case 95:
    case 115:
        return QString::fromLatin1(kVersionLine);
    case 21:
    case 105:
        return creditLine();
    case 45:
    case 125:
        return program;
    default:
        break;
    }
    for (const int start : {50, 140, 190}) {
        if (auto caption = capitalRun(n, start))
            return caption;
    }
    return std::nullopt;
}

int advanceTitleTick(int& tick) {
    const int n = ++tick;
    if (tick >= kTitleCycleTicks)
        tick = 0;
    return n;
}

std::optional<QString> matchCaption(int n, const QString& player) {
    if (n == 1)
        return QString::fromLatin1(kMatchCaption) + player;
    if (n == 5)
        return QString::fromLatin1(kMatchCaption);
    return std::nullopt;
}

int advanceMatchTick(int& tick) {
    const int n = ++tick;
    if (tick >= kMatchCaptionCycleTicks)
        tick = 0;
    return n;
}

} // namespace kf
