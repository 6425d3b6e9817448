#include "LevelPack.h"
#include "TrackPainter.h"

#include <array>

namespace kf {

namespace {

// Eight by eight cells: '#' is wall, ' ' passage. Cells lie at odd rows and columns, the walls
// between them at even ones. The only way from the top left cell to the bottom right one takes
// 36 steps from cell to cell; ten passages end blind.
constexpr std::array<const char*, 17> kMap{
    "#################", //
    "#   #     #     #", //
    "### # ### # # # #", //
    "#   #   #   # # #", //
    "# ######### # ###", //
    "# #       # #   #", //
    "# # # ### ### # #", //
    "# # #   #   # # #", //
    "# ##### ### ### #", //
    "# #     # #     #", //
    "# # ##### ##### #", //
    "#   # #     #   #", //
    "##### # ### # ###", //
    "#   #   # #   # #", //
    "# ### ### ##### #", //
    "#               #", //
    "#################", //
};
constexpr int kCell = 30;   // a passage's width
constexpr int kWall = 14;   // a wall's thickness
constexpr int kOrigin = 17; // the maze is centred on the picture

// Where row or column `i` of the map begins, and how many pixels it spans.
int start(int i) {
    return kOrigin + i / 2 * (kCell + kWall) + (i % 2) * kWall;
}
int span(int i) {
    return i % 2 == 1 ? kCell : kWall;
}

QRect mapRect(int column, int row) {
    return {start(column), start(row), span(column), span(row)};
}

} // namespace

QImage drawMazeTrack() {
    TrackPainter t(0xFFEFEDE8, 0xFFD6D2C8);
    for (int row = 0; row < static_cast<int>(kMap.size()); ++row)
        for (int column = 0; kMap[row][column] != '\0'; ++column)
            if (kMap[row][column] == ' ')
                t.room(mapRect(column, row));

    // The first step out of the start is the only one there is, so an arrow may show it.
    t.arrow(QRectF(mapRect(3, 1)).center(), 0);

    t.start(mapRect(1, 1));
    t.finish(mapRect(15, 15));
    return t.picture();
}

} // namespace kf
