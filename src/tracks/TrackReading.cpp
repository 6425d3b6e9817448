#include "tracks/TrackReading.h"

#include "check/SteeringIndex.h"
#include "level/BitmapFile.h"

#include <QCryptographicHash>

namespace kf {

namespace {

constexpr qsizetype kHashChunkBytes = 1024 * 1024;

// Empty when stopped: a 100 MB level takes about half a second to hash.
QString sha256Of(const QByteArray& bytes, const std::atomic_bool& stop) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (qsizetype from = 0; from < bytes.size(); from += kHashChunkBytes) {
        if (stop.load(std::memory_order_relaxed))
            return {};
        hash.addData(
            QByteArrayView(bytes).sliced(from, std::min(kHashChunkBytes, bytes.size() - from)));
    }
    return QString::fromLatin1(hash.result().toHex());
}

} // namespace

QList<TrackCheck> checkTracks(const QList<std::pair<int, QString>>& files,
                              const std::atomic_bool& stop) {
    QList<TrackCheck> checks;
    checks.reserve(files.size());
    for (const auto& [id, path] : files) {
        if (stop.load(std::memory_order_relaxed))
            break;
        checks.append({id, bitmapReadCost(path), readRecord(recordPathFor(path))});
    }
    return checks;
}

TrackPicture readTrackPicture(const QString& path, QSize box, const std::atomic_bool& stop) {
    const QByteArray bytes = readBitmapFileBytes(path, &stop);
    if (bytes.isEmpty())
        return {};
    const QImage thumbnail = decodeBitmapThumbnail(bytes, box, &stop);
    if (thumbnail.isNull())
        return {};
    QString sha256 = sha256Of(bytes, stop);
    if (sha256.isEmpty())
        return {};
    TrackPicture read{thumbnail, sha256, false, std::nullopt};
    const std::optional<QSize> size = bitmapSize(bytes);
    if (!size || qint64{size->width()} * size->height() > kMeasuredTrackPixels)
        return read;
    const QImage picture = decodeBitmap(bytes, &stop);
    read.difficulty = pictureDifficulty(picture, &stop);
    if (stop.load(std::memory_order_relaxed))
        return {};
    read.measured = true;
    return read;
}

} // namespace kf
