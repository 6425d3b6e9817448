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
    return firstWallPixel(board, from, to).has_value();
}

std::optional<QPoint> firstWallPixel(const LevelBoard& board, QPoint from, QPoint to) {
    // Every sample on the picture is read, even after a hit: the whole movement is always
    // looked at. Samples off the picture read as no colour, never a wall, so they are skipped.
    std::optional<QPoint> hit;
    samplePathWithin(from, to, board.clientRect(), [&](const PathSample& s) {
        if (!hit && s.valid && isWall(board.colorAt(s.point)))
            hit = s.point;
    });
    return hit;
}

} // namespace kf
