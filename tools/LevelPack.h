#pragma once

#include <QImage>

#include <span>

namespace kf {

// One bundled track after the intro: its file name in the data folder and its drawing.
struct PackTrack {
    const char* fileName;
    QImage (*draw)();
};

// The level pack in playing order, from the gentlest track to the hardest. The file names sort
// in that order, after the intro's "Level_00_INTRO.bmp".
std::span<const PackTrack> levelPack();

// The tracks. Each is 400 x 400, framed by wall, and drawn without smoothing, so that every pixel
// is wall, start, finish, the track's own light colour or its arrows' darker shade of it.

// Three gently waving rows joined by wide U-turns; 48 pixels wide.
QImage drawCurvesTrack();
// Six lanes up and down, each turning tightly around the tip of the wall beside it; 52 pixels.
QImage drawHairpinsTrack();
// A circuit: chicanes along the top and down the right, then long straights along the bottom,
// up the left and through the middle to the finish; 40 pixels.
QImage drawSprintTrack();
// Two starts in the top corners whose mirrored serpentines meet at the finish between them;
// 40 pixels.
QImage drawTwinsTrack();
// A spiral from its outer end at the top into the finish at its centre; 30 pixels.
QImage drawSpiralTrack();
// Three rows of saw teeth with square corners, joined at their ends; 26 pixels.
QImage drawZigzagTrack();
// A maze of eight by eight cells with dead ends, from the top left to the bottom right;
// passages 30 pixels wide.
QImage drawMazeTrack();
// A serpentine that narrows steadily from 48 pixels to 14, then keeps 14 to the finish.
QImage drawNarrowsTrack();
// The hardest: wiggles, square zigzags and a tight spiral, all 14 to 18 pixels wide.
QImage drawGauntletTrack();

} // namespace kf
