#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace kf {

// The level files of a folder, as Page Down / Page Up and the track browser go through them: the
// files (and links to files) whose names end in ".bmp" in any case, as Load Level's file filter
// shows them, hidden files left out. Their order is that of the names compared upper and lower
// case alike, and of names that differ only in case, upper case first (the order of code
// points): "a.bmp", "B.bmp", "b.bmp", "Level_09.bmp", "level_10.bmp".
QStringList levelFilesIn(const QString& folder);

enum class LevelStep { Previous, Next };

// From the level file `from`, the next (or previous) level file of its folder that `load` takes:
// the files after (before) `from`'s name in the order above are handed to `load` nearest first,
// until it returns true, and that file's path is returned. `from` itself need not be there any
// more. Nullopt, with every candidate tried, when none loads: the end of the folder.
std::optional<QString> stepLevel(const QString& from, LevelStep step,
                                 const std::function<bool(const QString&)>& load);

} // namespace kf
