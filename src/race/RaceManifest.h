#pragma once

#include "race/Race.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace kf {

// race.json, the table of contents of a race file:
//
//     {"format": 1, "track": "Spiral.bmp", "sha256": "<64 lower-case hex digits>",
//      "ghosts": [{"player": "Ann", "time_ms": 8123,
//                  "finished_utc": "2026-12-01T18:04:05.120Z", "path": "ghosts/1.path"}, ...]}
//
// Exactly these fields, 1 to kMaxRaceGhosts ghosts, the n-th ghost's path "ghosts/<n>.path".
struct RaceManifest {
    QString trackName;
    QString sha256;
    QList<RaceGhost> ghosts; // their paths empty: those are entries of their own
};

inline constexpr int kRaceFormat = 1;
// race.json is never longer than this.
inline constexpr qint64 kMaxManifestBytes = 64 * 1024;

// "ghosts/<n>.path", the entry of the n-th ghost's path, n from 1.
QByteArray ghostEntryName(int n);

// The race's race.json, its track's SHA-256 given.
QByteArray encodeRaceManifest(const Race& race, const QString& sha256);

// What race.json says; nothing when it breaks a rule above, with the rule it breaks in
// `problem` as a clause ("race.json is not JSON").
std::optional<RaceManifest> decodeRaceManifest(const QByteArray& json, QString* problem);

} // namespace kf
