#pragma once

#include "check/LevelCheck.h"

#include <QImage>
#include <QPoint>
#include <QRgb>
#include <QString>

namespace kf {

// What the level checker finds in the creator's canvas, judged for a corridor of the checker's
// default width (kDefaultCorridorWidth): the verdict for the caption and for SAVE, and a picture
// of the problems that the creator may lay over the canvas but never paints into it.
struct CanvasCheck {
    QImage picture;                // the canvas as it was checked
    LevelCheckResult result;       // exactly checkLevel's for that width
    int narrowest = 0;             // the narrowest passage; 0 when no probe gets through
    QPoint narrowestPoint{-1, -1}; // its anchor, as LevelPassage gives it; (-1, -1) for none
    // Of the picture's size, transparent but for every starting area that cannot reach a
    // finishing area, striped half-transparent and outlined in kProblemColor, and a ring of the
    // narrowest passage's probe at its narrowest point with four ticks pointing at it, in
    // kNarrowestColor.
    QImage problems;
};

// The problems' colours: a magenta and a blue that no level colour shares.
inline constexpr QRgb kProblemColor = 0xFFFF00FF;
inline constexpr QRgb kNarrowestColor = 0xFF0070FF;

// Checks a canvas once: the passage measure, its verdict and the problems' picture. Takes about
// as long as measurePassage, a few milliseconds for the creator's 400 x 400 canvas.
CanvasCheck checkCanvas(const QImage& canvas);

// What the creator's caption adds to its own text: " — playable, narrowest passage 23 px", or
// " — not playable: " and the checker's reasons as it prints them, joined by "; ".
QString playabilitySuffix(const CanvasCheck& check);

// The question SAVE asks before writing a level that is not playable: the checker's reasons
// joined by "; ", the first letter raised, a full stop, and " Save anyway?".
QString saveAnywayQuestion(const LevelCheckResult& result);

} // namespace kf
