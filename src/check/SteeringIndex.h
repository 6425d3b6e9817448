#pragma once

#include "check/LevelMap.h"

#include <QImage>
#include <QString>

#include <atomic>
#include <cstdint>
#include <optional>

namespace kf {

// How hard a track is to steer through. The time a player needs to steer the pointer through a
// tunnel grows with the integral of ds / W(s) along the way, W(s) the tunnel's width there. A
// track's steering index is that integral along its easiest route: the smallest over all ways
// from a starting pixel to a finishing pixel.
//
// W at a free pixel is the width of the widest round probe (ProbeShape.h) centred on that
// pixel's centre that covers no wall, beyond the picture's edge counting as wall: the largest w
// with w^2 at most the pixel's probeDistances value, at least 1. The route runs over free pixels
// (every pixel but wall) in steps to the eight neighbours, straight steps 1 long, diagonal ones
// √2; a diagonal step between two wall pixels that touch at their corners is not taken, so the
// route goes where a probe of 1 goes. A step costs its length times the mean of 1/W at its two
// ends, which makes the index the same whichever way the route is run.
//
// Costs are fixed-point integers (1/W in units of 2^-20, summed as 2^-21 per unit of the index),
// so the route found and its value are the same on every machine.

// The index in its fixed-point units: kSteeringUnit is one unit of the index.
inline constexpr std::uint64_t kSteeringUnit = std::uint64_t{1} << 21;

// The steering index of the map in fixed point, or nullopt when some starting area cannot reach
// a finishing area at all (not even a probe of 1 gets through), or the map has no starting or
// no finishing pixel. Once `stop` is set it ends soon with nullopt.
//
// Takes time in proportion to the pixels times the logarithm of the route's front; keeps 12
// bytes a pixel besides the map, and 16 bytes for each pixel of that front.
std::optional<std::uint64_t> steeringIndex(const LevelMap& map,
                                           const std::atomic_bool* stop = nullptr);

// The index in whole units, rounded to the nearest.
inline std::uint64_t wholeSteering(std::uint64_t fixed) {
    return (fixed + kSteeringUnit / 2) / kSteeringUnit;
}

// The difficulty scale, from 1.0 to 10.0 in tenths (10 to 100), logarithmic in the index:
// 1.0 at kGentlestSteering and below, 10.0 at kHardestSteering and above, and in between
// 1 + 9 · log(S / kGentlestSteering) / log(kHardestSteering / kGentlestSteering), rounded to
// the nearest tenth. Worked out in integers only (a fixed-point logarithm), so a difficulty is
// the same on every machine. The ends are set by the bundled tracks, which then spread from 1.3
// (the twins, 19) to 9.9 (the gauntlet, 146).
inline constexpr std::uint64_t kGentlestSteering = 18;
inline constexpr std::uint64_t kHardestSteering = 150;
int difficultyTenths(std::uint64_t fixedSteering);

// "4.7": a difficulty in tenths as the checker and the track browser show it.
QString difficultyText(int tenths);

// A picture's difficulty in tenths, or nullopt as steeringIndex gives none, or when the picture
// is null. Once `stop` is set it ends soon with nullopt.
std::optional<int> pictureDifficulty(const QImage& picture, const std::atomic_bool* stop = nullptr);

} // namespace kf
