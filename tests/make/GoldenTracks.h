#pragma once

// Tracks whose bytes must never change: the SHA-256 of the level file of a seed and a
// difficulty, the same from every compiler. The test programs and the clang build's own check
// (golden_tracks_main.cpp) both hold the generator to them.

#include <cstdint>

namespace kf::test {

struct GoldenTrack {
    std::uint64_t seed;
    int difficulty;
    const char* sha256;
};

inline constexpr GoldenTrack kGoldenTracks[] = {
    {0, 1, "f648ace8719a97962e3d84fc703226dafd1170d3389d159c4a3a665e1c588fd2"},
    {42, 5, "afaad6fe325e9da0f392431b1388a2540eed5e2b21efbd79da2c9d262ece58db"},
    {18446744073709551615u, 10, "8fb6dea073422e687a39d6b93a1f5f8b691a2a56e15146bb8a25e2483f6b22a0"},
};

} // namespace kf::test
