#pragma once

#include "record/RecordFile.h"

#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

#include <atomic>
#include <optional>
#include <utility>

namespace kf {

// What the track browser reads of a level file away from the interface thread.

// A level file as the list shows it before its picture is read: whether its headers pass, what
// reading its picture would hold, and its record.
struct TrackCheck {
    int id = 0;                        // the caller's name for the file
    std::optional<qint64> readCost;    // bitmapReadCost; nullopt: the file is no level
    std::optional<TrackRecord> record; // nullopt: no record file
};

// Checks the files (id, path) in order; once `stop` is set it ends, with fewer results.
QList<TrackCheck> checkTracks(const QList<std::pair<int, QString>>& files,
                              const std::atomic_bool& stop);

// A level file read once: its thumbnail, the SHA-256 (lower-case hex) of the very bytes the
// picture was decoded from, and its difficulty.
struct TrackPicture {
    QImage thumbnail; // null when the picture does not load, or the reading was stopped
    QString sha256;
    bool measured = false;         // false for a picture of more than kMeasuredTrackPixels
    std::optional<int> difficulty; // in tenths (SteeringIndex.h); nullopt: not playable
};

// The largest picture whose difficulty the track browser measures: 2^20 pixels (a track of the
// game's own is 400 x 400), so that measuring holds at most 13 MB beside the picture's reading.
inline constexpr qint64 kMeasuredTrackPixels = qint64{1} << 20;

// Reads the file whole, once (readBitmapFileBytes), hashes those bytes and makes the thumbnail
// from them (decodeBitmapThumbnail, which fits it into `box`); the bytes are given back before
// it returns. A picture of at most kMeasuredTrackPixels is then decoded whole from them and its
// difficulty measured. Once `stop` is set it ends within a megabyte read or hashed, a few pixel
// rows decoded, or a few thousand pixels measured.
TrackPicture readTrackPicture(const QString& path, QSize box, const std::atomic_bool& stop);

} // namespace kf
