#include "run/PathSampling.h"

namespace kf {

std::vector<PathSample> pathSamples(QPoint from, QPoint to) {
    std::vector<PathSample> samples;
    const auto dx = static_cast<std::int64_t>(to.x()) - from.x();
    const auto dy = static_cast<std::int64_t>(to.y()) - from.y();
    samples.reserve(static_cast<std::size_t>((dx < 0 ? -dx : dx) + (dy < 0 ? -dy : dy) + 2));
    samplePath(from, to, [&samples](const PathSample& s) { samples.push_back(s); });
    return samples;
}

bool pathTouchesWall(const LevelBoard& board, QPoint from, QPoint to) {
    // Every sample is read, even after a hit: the whole movement is always looked at.
    bool hit = false;
    samplePath(from, to, [&](const PathSample& s) {
        if (s.valid && isWall(board.colorAt(s.point)))
            hit = true;
    });
    return hit;
}

} // namespace kf
