#include "league/SubmissionProof.h"

#include "history/HistoryRun.h"
#include "level/BitmapFile.h"

namespace kf {

ProvableTrack provableTrack(const QString& sha256, const QByteArray& bytes) {
    if (bytesSha256(bytes) != sha256)
        return {{}, QStringLiteral("the track's bytes do not match its SHA-256")};
    QImage picture = decodeBitmap(bytes);
    if (picture.isNull())
        return {{}, QStringLiteral("the track is not a loadable bitmap")};
    return {picture.convertToFormat(QImage::Format_RGB32), {}};
}

std::optional<QString> speedBreach(const QList<GhostPoint>& points) {
    for (qsizetype i = 1; i < points.size(); ++i) {
        const qint64 dx = points[i].x - points[i - 1].x;
        const qint64 dy = points[i].y - points[i - 1].y;
        const qint64 reach =
            qint64(kMaxPixelsPerMs) * (qint64(points[i].ms) - points[i - 1].ms + 1);
        if (dx * dx + dy * dy > reach * reach)
            return QStringLiteral("moves faster than %1 pixels per millisecond at %2 ms")
                .arg(kMaxPixelsPerMs)
                .arg(points[i].ms);
    }
    return std::nullopt;
}

RunProof proveSubmission(const ProvableTrack& track, const QByteArray& pathBytes, int claimedMs) {
    if (!track.refusal.isEmpty())
        return {false, track.refusal};
    const std::optional<QList<GhostPoint>> points = GhostPath::decodePoints(pathBytes);
    if (!points)
        return {false, QStringLiteral("its path is not stored as the game stores paths")};
    RunProof proof = proveRun(track.picture, *points, claimedMs);
    if (!proof.confirmed)
        return proof;
    if (const std::optional<QString> breach = speedBreach(*points))
        return {false, *breach};
    return proof;
}

} // namespace kf
