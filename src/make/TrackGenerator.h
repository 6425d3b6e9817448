#pragma once

#include <QImage>

#include <cstdint>

namespace kf {

// Tracks made to order: a 400 x 400 track of the bundled pack's kind for a seed and a difficulty.
//
// A track is a maze of square cells cut out of wall inside a frame of wall: its passages run
// between the cells' centres, the start (green) fills one cell on the top row, the finish (red)
// the cell farthest from it along the passages, so the way has bends, and the branches off it
// end blind. Some passages are narrower than the others. The maze is carved depth first in an
// order drawn from the seed (SplitMix64); how many cells it has and how wide its passages are
// follow the difficulty asked for, and the width is settled by measuring the track's
// difficulty (SteeringIndex.h) until it is as close to the target as the widths allow.
//
// Every decision is made in integers with the generator's own random numbers, and the pixels
// are set one by one, so the same seed and difficulty give the same track, pixel for pixel, on
// every compiler and machine.

inline constexpr int kGeneratedTrackSize = 400;
// The difficulties one can ask for, whole numbers.
inline constexpr int kGentlestTrack = 1;
inline constexpr int kHardestTrack = 10;
// How many seeds a track tries before it settles for the closest.
inline constexpr int kGeneratorTries = 8;

struct GeneratedTrack {
    QImage picture;             // 400 x 400, RGB32: wall, white track, the start and the finish
    std::uint64_t steering = 0; // its steering index in fixed point (kSteeringUnit)
    int tenths = 0;             // its difficulty, in tenths
    int tries = 0;              // how many seeds were tried, 1 when the first fitted
};

// The seed that a track's try number `attempt` uses: the seed itself first, then the outputs of
// a SplitMix64 seeded with it, one per later try.
std::uint64_t triedSeed(std::uint64_t seed, int attempt);

// A track for `seed` and `difficulty` (kGentlestTrack to kHardestTrack). It is playable with a
// corridor kDefaultCorridorWidth pixels wide, and its measured difficulty lies within half a
// point of `difficulty`: when the first seed cannot get there, the next derived seed is tried,
// up to kGeneratorTries; should none fit, the one closest to the target is given (the first of
// equals), never one that is not playable.
GeneratedTrack generateTrack(std::uint64_t seed, int difficulty);

} // namespace kf
