#pragma once

#include "check/LevelMap.h"

namespace kf {

// Moves the round probe of ProbeShape.h, `width` pixels across, over the map and leaves on it:
// Allowed on each anchor whose probe lies inside the picture and covers no wall; Reached on
// each allowed anchor from which the probe, moving one pixel left, right, up or down between
// allowed anchors, can get to one that covers a finishing pixel; Touched on the starting pixels
// at the edge of their area (with a side neighbour of another tile) that some reached probe
// covers. A starting area can reach a finish exactly when one of its pixels is Touched: a
// reached probe that covers any pixel of an area covers one at its edge, since the probe is one
// piece that moves a pixel at a time and starts out covering a finishing pixel. Leaves the map
// as it is when the probe is wider or taller than the picture.
//
// Takes time in proportion to the pixels times `width`; besides the map, at most four bytes a
// reached anchor and the row counts of `width` rows.
void markProbeReach(LevelMap& map, int width);

} // namespace kf
