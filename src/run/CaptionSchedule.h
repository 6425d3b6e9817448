#pragma once

#include <QString>

#include <optional>

namespace kf {

inline constexpr char kProgramLine[] = "Kurvenflitzerl.exe";
// Two blanks on each side of the arrow.
inline constexpr char kVersionLine[] = "Kurvenflitzerl.exe  ->  Version 1.1 (25k)";
// Who made the game: closes the credit line and is the text of the box the logo opens.
inline constexpr char kAuthorCredit[] = "by the Kurvenflitzerl team, 2026";

// The version line followed by the author credit.
QString creditLine();

// One cycle of the title animation in timer ticks (100 ms each).
inline constexpr int kTitleCycleTicks = 241;

// The caption the title animation sets at tick n (1 to 241), or nullopt where it leaves the
// caption as it is. The name is typed out letter by letter, the version and credit lines follow,
// and then a capital letter runs through "exe" and back three times.
std::optional<QString> titleCaption(int n);

// Advances the title animation's tick counter by one and returns the new tick n. After tick 241
// the counter drops to 0, so the next tick is 1 again.
int advanceTitleTick(int& tick);

// During a match the caption names the player whose turn it is. The tick uses the short name;
// the end of a run writes the long one.
inline constexpr char kMatchCaption[] = "Kurvenflitz.exe -> Multiplayer Mode -> ";
inline constexpr char kMatchRunEndCaption[] = "Kurvenflitzerl.exe -> Multiplayer Mode -> ";
// The caption once a match is quitted, until the title animation sets the next one.
inline constexpr char kStandardModeCaption[] = "Kurvenflitzer.exe -> Standard Mode";

// One cycle of the blinking player name in timer ticks: shown for four, hidden for four.
inline constexpr int kMatchCaptionCycleTicks = 8;

// The caption of match tick n (1 to 8) for the current player, or nullopt where it stays.
std::optional<QString> matchCaption(int n, const QString& player);

// Advances the match caption's tick counter; after tick 8 it drops to 0.
int advanceMatchTick(int& tick);

} // namespace kf
