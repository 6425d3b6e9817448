#pragma once

#include <QByteArray>
#include <QString>

namespace kf {

// The player's races folder, `<data folder>/kurvenflitzerl/races`, the data folder being
// $XDG_DATA_HOME, else ~/.local/share; made when it is missing.
QString defaultRacesFolder();

// Puts a race's track into `folder` and gives the path of the track file; an empty path with
// the reason in one sentence in `reason` when it cannot. The track keeps its own name, and a
// file of that name that holds the same bytes is used again. A name taken by other bytes (or by
// anything but a regular file) gives a numbered name: "Spiral-2.bmp", "Spiral-3.bmp", ..., the
// first that is free or holds the same bytes. No file is ever overwritten or written through a
// link, and a file appears under its name only once it is complete.
QString placeRaceTrack(const QString& folder, const QString& trackName, const QByteArray& bytes,
                       QString* reason);

} // namespace kf
