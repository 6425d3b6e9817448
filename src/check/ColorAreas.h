#pragma once

#include "check/LevelMap.h"

#include <QPoint>

#include <functional>

namespace kf {

// The areas of one tile in a level map: pixels of that tile that touch along a side or at a
// corner belong to the same area. Visits each area in reading order of its first pixel (topmost
// row first, then leftmost in that row) with that pixel and whether any pixel of the area
// carries `mark`, and returns how many areas there are. Marks every pixel of the tile Counted,
// so it is called once per tile.
int forEachArea(LevelMap& map, Tile tile, LevelMap::Mark mark,
                const std::function<void(QPoint first, bool marked)>& visit);

} // namespace kf
