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

} // namespace kf
