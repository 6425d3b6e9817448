#pragma once

#include <QRgb>

namespace kf {

// Colours of the running time in the main window: red once the run is slower than the best run
// of the track, green while it still can beat or tie it.
inline constexpr QRgb kTimeBehindBest = qRgb(190, 0, 0);
inline constexpr QRgb kTimeWithinBest = qRgb(0, 120, 0);

// A time equal to the best counts as within it, so a new record shows green at once.
constexpr QRgb timeColor(int timeMs, int bestTimeMs) {
    return timeMs > bestTimeMs ? kTimeBehindBest : kTimeWithinBest;
}

} // namespace kf
