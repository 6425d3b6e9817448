#pragma once

#include <chrono>

namespace kf {

// The game's one clock: fractional milliseconds since Start on the steady high-resolution clock.
// Run times are the difference of two readings.
class Stopwatch {
public:
    // Fixes the zero point.
    void Start();
    // Milliseconds since Start, not rounded.
    double ElapsedMs() const;

private:
    std::chrono::steady_clock::time_point m_start{};
};

} // namespace kf
