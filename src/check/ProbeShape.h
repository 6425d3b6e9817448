#pragma once

#include <vector>

namespace kf {

// The round probe with which the level checker measures a corridor: a disc `width` pixels
// across that covers every pixel whose centre lies strictly less than width / 2 from the disc's
// centre. An odd-width probe is centred on the centre of its anchor pixel, an even-width probe
// on the anchor pixel's top-left corner, so that at its widest the probe covers exactly `width`
// pixels: width 1 covers the anchor alone, 2 a 2 x 2 block, 3 a 3 x 3 block, 4 a 4 x 4 block
// without its corners. The anchor pixel is always covered.

// One row of covered pixels, as offsets from the anchor pixel.
struct ProbeSpan {
    int dy;
    int left;  // first covered column
    int right; // last covered column
};

// The probe's covered pixels, one span per row, top row first. `width` must be at least 1.
std::vector<ProbeSpan> probeSpans(int width);

} // namespace kf
