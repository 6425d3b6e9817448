#pragma once

#include "race/RaceFile.h"

#include <QString>

namespace kf {

// The name a shared ghost carries: the player's name as the history has it, or "Player" for a
// run made without one.
QString racePlayerName(const QString& historyPlayer);

// The name a race file is first offered under: `<track>_<player>_<time>ms.kfrace`, the track
// without its `.bmp`. Characters that cannot stand in a file name on the usual desktops (path
// separators, control characters, and `\ : * ? " < > |`) become `_`.
QString raceFileName(const QString& trackName, const RaceGhost& ghost);

// Why a race file's ghosts cannot be taken, naming each ghost whose run the track's rules do
// not confirm and the reason; empty when every ghost is confirmed.
QString unconfirmedGhosts(const QString& fileName, const Race& race);

} // namespace kf
