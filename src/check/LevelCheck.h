#pragma once

#include <QImage>
#include <QList>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>

namespace kf {

// What the level checker finds in one level picture.
struct LevelCheckResult {
    bool loads = false; // false for a null picture; nothing else is filled in then
    QSize size;
    int startAreas = 0;  // areas of pure green, pixels touching along a side or at a corner
    int finishAreas = 0; // areas of pure red, likewise
    // The first pixel (in reading order) of each starting area from which no finishing area
    // can be reached: a player who presses there is trapped.
    QList<QPoint> sealedStarts;
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
// allowed probe covering a finishing pixel.
//
// Takes time in proportion to the picture's pixels times corridorWidth.
LevelCheckResult checkLevel(const QImage& picture, int corridorWidth);

// "a corridor at least 4 pixels wide": the phrase of the checker's reports.
QString corridorPhrase(int width);

} // namespace kf
