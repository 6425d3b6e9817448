#include "run/CaptionSchedule.h"
#include "support/QtPrinters.h"

#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

#include <map>
#include <optional>

namespace {

using namespace kf;

const QString kProgram = QStringLiteral("Kurvenflitzerl.exe");
const QString kVersion = QStringLiteral("Kurvenflitzerl.exe  ->  Version 1.1 (25k)");
const QString kCredit =
    QStringLiteral("Kurvenflitzerl.exe  ->  Version 1.1 (25k) -> by the Kurvenflitzerl team, 2026");
const QString kExE = QStringLiteral("Kurvenflitzerl.exE");
const QString kEXe = QStringLiteral("Kurvenflitzerl.eXe");
const QString kExe = QStringLiteral("Kurvenflitzerl.Exe");

// Every tick that sets a caption; all other ticks of the cycle leave it as it is.
const std::map<int, QString>& expectedSchedule() {
    static const std::map<int, QString> schedule = {
        {1, "K"},
        {2, "Ku"},
        {3, "Kur"},
        {4, "Kurv"},
        // 5: "Kurv" stays a second tick
        {6, "Kurve"},
        {7, "Kurven"},
        {8, "Kurvenf"},
        {9, "Kurvenfl"},
        {10, "Kurvenfli"},
        {11, "Kurvenflit"},
        {12, "Kurvenflitz"},
        {13, "Kurvenflitze"},
        {14, "Kurvenflitzer"},
        {15, "Kurvenflitzerl"},
        {16, "Kurvenflitzerl."},
        {17, "Kurvenflitzerl.e"},
        {18, "Kurvenflitzerl.ex"},
        {19, "Kurvenflitzerl.exe"},
        {20, kVersion},
        {21, kCredit},
        {40, kVersion},
        {45, kProgram},
        {50, kExE},
        {55, kEXe},
        {60, kExe},
        {65, kEXe},
        {70, kExE},
        {75, kProgram},
        {95, kVersion},
        {105, kCredit},
        {115, kVersion},
        {125, kProgram},
        {140, kExE},
        {145, kEXe},
        {150, kExe},
        {155, kEXe},
        {160, kExE},
        {165, kProgram},
        {190, kExE},
        {195, kEXe},
        {200, kExe},
        {205, kEXe},
        {210, kExE},
        {215, kProgram},
    };
    return schedule;
}

TEST(CaptionSchedule, Lines) {
    EXPECT_EQ(QString::fromLatin1(kProgramLine), kProgram);
    EXPECT_EQ(QString::fromLatin1(kVersionLine), kVersion);
    EXPECT_EQ(creditLine(), kCredit);
    EXPECT_EQ(kTitleCycleTicks, 241);
}

TEST(CaptionSchedule, EveryTickOfTheCycle) {
    const auto& schedule = expectedSchedule();
    for (int n = 1; n <= 241; ++n) {
        const auto it = schedule.find(n);
        const std::optional<QString> expected =
            it == schedule.end() ? std::nullopt : std::optional<QString>(it->second);
        EXPECT_EQ(titleCaption(n), expected) << "tick " << n;
    }
}

TEST(CaptionSchedule, NothingOutsideTheCycle) {
    for (const int n : {-1, 0, 242, 250, 1000})
        EXPECT_EQ(titleCaption(n), std::nullopt) << "tick " << n;
}

// The timer's view: the counter starts at 0, each tick sets the caption where the schedule says.
TEST(CaptionSchedule, TwoCyclesOfTheTimer) {
    int tick = 0;
    QString caption = QStringLiteral("Kurvenflitzerl");
    for (int expectedN = 1; expectedN <= 241; ++expectedN) {
        const int n = advanceTitleTick(tick);
        ASSERT_EQ(n, expectedN);
        if (const auto next = titleCaption(n))
            caption = *next;
        if (n == 5) {
            EXPECT_EQ(caption, "Kurv");
        }
        if (n == 39) {
            EXPECT_EQ(caption, kCredit); // ticks 22 to 39 keep the credit line
        }
    }
    EXPECT_EQ(tick, 0);
    EXPECT_EQ(caption, kProgram); // tick 241 still shows the program line of tick 215

    const int n = advanceTitleTick(tick);
    EXPECT_EQ(n, 1);
    EXPECT_EQ(tick, 1);
    if (const auto next = titleCaption(n))
        caption = *next;
    EXPECT_EQ(caption, "K");
}

TEST(CaptionSchedule, CounterResumesFromAnyValue) {
    int tick = 120;
    EXPECT_EQ(advanceTitleTick(tick), 121);
    EXPECT_EQ(tick, 121);
    tick = 240;
    EXPECT_EQ(advanceTitleTick(tick), 241);
    EXPECT_EQ(tick, 0);
}

// The player's name blinks: shown on ticks 1 to 4, hidden on 5 to 8, over two cycles.
TEST(CaptionSchedule, MatchCaptionBlinksThePlayersName) {
    int tick = 0;
    QString caption;
    QStringList seen;
    for (int i = 0; i < 16; ++i) {
        if (const auto next = matchCaption(advanceMatchTick(tick), "Ann"))
            caption = *next;
        seen << caption;
    }
    const QString on = "Kurvenflitz.exe -> Multiplayer Mode -> Ann";
    const QString off = "Kurvenflitz.exe -> Multiplayer Mode -> ";
    const QStringList cycle{on, on, on, on, off, off, off, off};
    EXPECT_EQ(seen, cycle + cycle);
    EXPECT_EQ(tick, 0);
}

} // namespace
