#include "run/Stopwatch.h"

namespace kf {

void Stopwatch::Start() {
    m_start = std::chrono::steady_clock::now();
}

double Stopwatch::ElapsedMs() const {
    const auto elapsed = std::chrono::steady_clock::now() - m_start;
    const long long ns = std::chrono::duration_cast<std::chrono::nanoseconds>(elapsed).count();
    // Double keeps nanoseconds exact for over a hundred days.
    return static_cast<double>(ns) / 1e6;
}

} // namespace kf
