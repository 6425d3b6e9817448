#pragma once

#include <QImage>
#include <QList>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>

namespace kf {

// How many sealed starting areas a check names one by one; the rest are only counted.
inline constexpr int kListedSealedStarts = 20;

// The corridor width a level is judged for unless another is asked for: the checker's default,
// and the width the level creator judges its canvas for.
inline constexpr int kDefaultCorridorWidth = 4;

// What the level checker finds in one level picture.
struct LevelCheckResult {
    bool loads = false; // false for a null or too large picture; then only `reasons` is filled in
    QSize size;
    int startAreas = 0;  // areas of pure green, pixels touching along a side or at a corner
    int finishAreas = 0; // areas of pure red, likewise
    // The first pixel (in reading order) of each starting area from which no finishing area
    // can be reached, a player who presses there being trapped: the first kListedSealedStarts
    // such areas in reading order of those pixels.
    QList<QPoint> sealedStarts;
    int sealedCount = 0; // all such areas, named in sealedStarts or not
    bool playable = false;
    QStringList reasons; // why the level is not playable, one reason each; empty when playable
};

// Judges a level picture for a corridor `corridorWidth` pixels wide (at least 1).
//
// A level is playable when it loads, has at least one starting and one finishing area, and a
// player can get from EVERY starting area to a finishing area along free track (any colour but
// pure black) at least corridorWidth pixels wide. Width is measured with the round probe of
// ProbeShape.h: a probe position is allowed when every pixel it covers lies inside the picture
// and is not wall, and the probe moves in steps of one pixel left, right, up or down between
// allowed positions. Beyond the picture's edge counts as wall here, although the game itself
// reads it as free: a track that needs the space outside its picture is no fair track. A
// starting area is connected when some allowed probe covering one of its pixels can move to an
// allowed probe covering a finishing pixel. A picture of more than kMaxBitmapPixels pixels
// does not load, as the bitmap reader would not read it.
//
// Takes time in proportion to the picture's pixels times corridorWidth. Keeps one byte a pixel,
// at most four more a pixel while it works and the row counts of corridorWidth rows. The picture
// is let go as soon as that byte is known, so a caller that hands it over (std::move) does not
// keep it meanwhile.
LevelCheckResult checkLevel(QImage picture, int corridorWidth);

// Why a picture does not load for the checker: "not a loadable bitmap" for a null picture, the
// tooLargePhrase for one of more than kMaxBitmapPixels pixels; empty when it loads.
QStringList pictureRefusal(const QImage& picture);

// Fills in `reasons` and `playable` of a loaded picture's result from its area counts and sealed
// starts, as checkLevel does for a corridor `corridorWidth` pixels wide.
void judgeLevel(LevelCheckResult& result, int corridorWidth);

// "a corridor at least 4 pixels wide": the phrase of the checker's reports.
QString corridorPhrase(int width);

// "too large: 11584 × 11584 pixels, at most 33554432": why a picture is refused for its size.
QString tooLargePhrase(qint64 width, qint64 height, qint64 maxPixels);

} // namespace kf
