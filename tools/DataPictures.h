#pragma once

#include <QImage>

namespace kf {

// The decorative pictures that lie beside the program as bitmap files.

// "kf_1.gfx": the logo in the main window's top right corner, above the buttons (180 x 78).
QImage drawMainLogo();

// "kf_2.gfx": the logo in the level creator's top right corner (185 x 150).
QImage drawCreatorLogo();

// "kf_x.gfx" and "kf_x.bmp": a small picture kept in a hidden control (16 x 16).
QImage drawHiddenPicture();

// "kf_3.gfx": the scoreboard's background, tiled; light and seamless.
inline constexpr int kScoreboardTileSize = 48;
QImage drawScoreboardTile();

// The scoreboard's background pattern drawn in one piece over a larger area, from the same
// origin; the tile is its top left corner, so tiles laid side by side give the same picture.
QImage drawScoreboardPattern(QSize size);

} // namespace kf
