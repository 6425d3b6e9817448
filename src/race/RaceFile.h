#pragma once

#include "race/Race.h"
#include "run/RunProof.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace kf {

// A race file (.kfrace) is a ZIP archive of exactly these entries:
//
//     race.json          the track's name and SHA-256 and each ghost's player, time, finish
//                        and path entry (RaceManifest), at most 64 KiB
//     track.bmp          the track file's exact bytes, a bitmap the game loads
//     ghosts/<n>.path    the n-th ghost's path in GhostPath's stored bytes, n = 1, 2, ...

// Writes the race whole, through replaceFile: never through a link at the name, never half
// written. A race the reader would refuse is not written. The reason it could not be written,
// as one sentence naming the file, or nothing.
std::optional<QString> writeRaceFile(const QString& fileName, const Race& race);

// The race of a file, or the reason there is none in one sentence that names the file (its
// name, not its path). Only the structure is checked, never the runs (see proveRace). The file
// is only read; every entry is read no further than the most it may hold, whatever it claims.
struct RaceReading {
    std::optional<Race> race;
    QString reason;
};
RaceReading readRaceFile(const QString& fileName);
// The same for a race file's bytes in memory, named `fileName` in the reason.
RaceReading readRaceBytes(const QByteArray& bytes, const QString& fileName);

// Each ghost's run proven on the race's track, against the ghost's time.
QList<RunProof> proveRace(const Race& race);

} // namespace kf
