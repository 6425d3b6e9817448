#pragma once

// The best run of a track, kept beside the level picture in "<level file>.kfh":
// line 1 is the holder's name, then CR LF, line 2 the time in milliseconds in decimal,
// and no line end after it. "HERE" in 987 ms is the nine bytes 48 45 52 45 0D 0A 39 38 37.

#include "level/FileReplace.h"
#include "run/RunTimes.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

namespace kf {

// The holder of a track without a record.
inline constexpr const char kNobody[] = "Nobody";
// The most characters a player types for a name: a record holder, a player of a match.
inline constexpr int kMaxNameLength = 9;

// The holder and the time of a track's best run.
struct TrackRecord {
    QString name;
    int timeMs = kNoTimeMs;
};

// Whether a finished run of `timeMs` takes the record from a best of `bestMs`: only a strictly
// shorter time does.
constexpr bool isNewRecord(int timeMs, int bestMs) {
    return timeMs < bestMs;
}

// The record file of a level: its whole path with ".kfh" appended, extension kept.
QString recordPathFor(const QString& levelPath);

// A time line read like atoi; no digits, overflow, zero or a negative value give kFailedRunMs.
int parseRecordTime(QByteArrayView line);

// A name line's bytes as text: UTF-8 when they are valid UTF-8, otherwise Latin-1.
QString decodeRecordName(QByteArrayView line);

// A name's bytes: Latin-1 when that reads back as the same name, otherwise UTF-8.
QByteArray encodeRecordName(const QString& name);

// The whole contents of a record file as a record; never fails, missing parts get defaults.
TrackRecord parseRecord(QByteArrayView bytes);

// The contents of a record file: name bytes, CR LF, decimal time, no final line end.
QByteArray encodeRecord(const TrackRecord& record);

// The record in a file; nullopt when it cannot be opened as a regular file. A symbolic link
// is not followed: it reads as no record, like a missing file.
std::optional<TrackRecord> readRecord(const QString& path);

// Replaces a record file all at once (see replaceFile: a link of that name is replaced, never
// written through); on failure the old file is untouched and the result says why.
FileWriteResult writeRecord(const QString& path, const TrackRecord& record);

} // namespace kf
