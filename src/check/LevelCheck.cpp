#include "check/LevelCheck.h"

#include "check/ColorAreas.h"
#include "check/LevelMap.h"
#include "check/ProbeReach.h"
#include "level/BitmapFile.h"

namespace kf {

QStringList pictureRefusal(const QImage& picture) {
    if (picture.isNull())
        return {QStringLiteral("not a loadable bitmap")};
    if (qint64{picture.width()} * picture.height() > kMaxBitmapPixels)
        return {tooLargePhrase(picture.width(), picture.height(), kMaxBitmapPixels)};
    return {};
}

LevelCheckResult checkLevel(QImage picture, int corridorWidth) {
    LevelCheckResult result;
    result.reasons = pictureRefusal(picture);
    if (!result.reasons.isEmpty())
        return result;
    result.loads = true;
    result.size = picture.size();
    LevelMap map(picture);
    picture = QImage();

    const bool bothTiles = map.count(Tile::Start) > 0 && map.count(Tile::Finish) > 0;
    if (bothTiles)
        markProbeReach(map, corridorWidth);
    result.startAreas =
        forEachArea(map, Tile::Start, LevelMap::Touched, [&](QPoint first, bool touched) {
            if (!bothTiles || touched)
                return;
            if (result.sealedStarts.size() < kListedSealedStarts)
                result.sealedStarts.append(first);
            ++result.sealedCount;
        });
    result.finishAreas = forEachArea(map, Tile::Finish, LevelMap::Touched, [](QPoint, bool) {});
    judgeLevel(result, corridorWidth);
    return result;
}

void judgeLevel(LevelCheckResult& result, int corridorWidth) {
    if (result.startAreas == 0)
        result.reasons << QStringLiteral("no starting area");
    if (result.finishAreas == 0)
        result.reasons << QStringLiteral("no finishing area");
    const QString along = corridorPhrase(corridorWidth);
    for (const QPoint p : result.sealedStarts)
        result.reasons << QStringLiteral("the starting area at (%1, %2) cannot reach a "
                                         "finishing area along %3")
                              .arg(p.x())
                              .arg(p.y())
                              .arg(along);
    if (const int more = result.sealedCount - static_cast<int>(result.sealedStarts.size());
        more > 0)
        result.reasons << QStringLiteral("%1 more starting area%2 cannot reach a finishing area "
                                         "along %3")
                              .arg(more)
                              .arg(more == 1 ? "" : "s")
                              .arg(along);
    result.playable = result.reasons.isEmpty();
}

QString corridorPhrase(int width) {
    return QStringLiteral("a corridor at least %1 pixel%2 wide")
        .arg(width)
        .arg(width == 1 ? "" : "s");
}

QString tooLargePhrase(qint64 width, qint64 height, qint64 maxPixels) {
    return QStringLiteral("too large: %1 \u00D7 %2 pixels, at most %3")
        .arg(width)
        .arg(height)
        .arg(maxPixels);
}

} // namespace kf
