#pragma once

#include "check/LevelMap.h"

#include <QRect>

#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

namespace kf {

// Where a probe of ProbeShape.h is centred: odd widths on the anchor pixel's centre, even widths
// on its top-left corner.
enum class ProbeCentre : std::uint8_t { Pixel, Corner };

// The centre of the probes of that width.
inline ProbeCentre probeCentreOf(int width) {
    return width % 2 != 0 ? ProbeCentre::Pixel : ProbeCentre::Corner;
}

// No pixel of the tile at all.
inline constexpr std::uint32_t kNoPixel = std::numeric_limits<std::uint32_t>::max();

// The distance of a pixel too far for 32 bits, beyond the reach of every probe of at most 65 535
// pixels: a picture may be wider or taller than 32 768 pixels, where a squared distance in half
// pixels no longer fits.
inline constexpr std::uint32_t kFarPixel = kNoPixel - 1;

// For every anchor of the map, in reading order, how close the nearest pixel of `tile` comes to
// the centre of the probes anchored there, squared in half pixels: the least (2dx + c)^2 +
// (2dy + c)^2 over that tile's pixels at offset (dx, dy) from the anchor, with c = 1 for a
// corner centre and 0 otherwise, or kFarPixel when that is more; kNoPixel when the tile has no
// pixel. A probe `width` pixels across (at most 65 535) with that centre covers a pixel of the
// tile exactly when the value is less than width^2, the test of ProbeShape.h. With
// `outsideCounts`, every pixel beyond the picture's edge counts as one of the tile, as walls do
// for the checker.
//
// With a `reach` above 0, and not `outsideCounts`, only anchors where a probe at most `reach`
// pixels across could cover a pixel of the tile get their value, the others kNoPixel: the work is
// then confined to the rectangle around the tile's pixels that such probes can touch.
//
// Exact, in time in proportion to the pixels; `out` is resized to one value a pixel and needs
// no other memory of that size.
void probeDistances(const LevelMap& map, Tile tile, ProbeCentre centre, bool outsideCounts,
                    std::vector<std::uint32_t>& out, int reach = 0);

// The same, written to out[pitch * y + x] for the pixel (x, y), for rows kept `pitch` values
// apart (at least the width). Returns the rectangle of the anchors whose values it wrote: with
// a `reach`, the values beyond it are left as they are.
QRect probeDistances(const LevelMap& map, Tile tile, ProbeCentre centre, bool outsideCounts,
                     std::uint32_t* out, std::size_t pitch, int reach);

// The same for the pixels of a picture `width` x `height` that `sites` marks (one byte a pixel,
// row by row, non-zero for a marked one), beyond whose edge nothing counts.
void probeDistances(const std::vector<std::uint8_t>& sites, int width, int height,
                    ProbeCentre centre, std::vector<std::uint32_t>& out);

} // namespace kf
