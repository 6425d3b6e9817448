#pragma once

#include <QString>

namespace kf {

// The parts of the game that only some of its windows need live in shared modules of their
// own, loaded when first needed, so that the start pays nothing for the libraries behind them:
// `kfstore` (the history's database, with Qt SQL), `kfhistorywindow` (the history window,
// with Qt Charts), `kfleaguelink` (the league, with Qt SQL) and `kfzip` (race files' ZIP
// archives, with libzip). A module lies beside the program (the build folder), or in the
// game's module folder of the installed tree, found from the program's own place.
//
// The function `function` of the module `name` (`lib<name>.so`), the module loaded once and
// kept for the rest of the session; null when the module or the function cannot be found, and
// the loader's words then go to the debug output, never to the player.
QFunctionPointer gameModuleFunction(const QString& name, const char* function);

} // namespace kf
