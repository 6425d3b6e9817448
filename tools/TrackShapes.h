#pragma once

#include <QPainterPath>
#include <QPointF>
#include <QRectF>

#include <cmath>
#include <numbers>

namespace kf {

// Centre lines of the level pack's tracks, built on QPainterPath.

// The bounding square of a circle, as QPainterPath::arcTo takes it.
inline QRectF circleBounds(QPointF centre, qreal radius) {
    return {centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius};
}

// Follows `point(u)` for u from 0 to 1 in `steps` straight pieces, short enough to look round
// at a track's scale. The path must already stand at point(0).
template <typename Curve> void traceTo(QPainterPath& path, int steps, Curve point) {
    for (int i = 1; i <= steps; ++i)
        path.lineTo(point(static_cast<qreal>(i) / steps));
}

// Rises from 0 to 1 and falls back `count` times as u runs from 0 to 1, level at 0 where it
// begins and ends and between the bumps, so that a line swung by it meets whatever comes before
// and after it straight on.
inline qreal bumps(qreal u, int count) {
    return (1 - std::cos(2 * std::numbers::pi * count * u)) / 2;
}

// A spiral turning clockwise on the screen around `centre`, from `fromRadius` at `fromDegrees`
// (clockwise from east) inwards by `pitch` each turn until it reaches `toRadius`.
inline void spiralTo(QPainterPath& path, QPointF centre, qreal fromDegrees, qreal fromRadius,
                     qreal toRadius, qreal pitch) {
    const qreal turns = (fromRadius - toRadius) / pitch;
    const int steps = static_cast<int>(std::ceil(turns * 180));
    traceTo(path, steps, [&](qreal u) {
        const qreal angle = (fromDegrees + 360 * turns * u) * std::numbers::pi / 180;
        const qreal radius = fromRadius - (fromRadius - toRadius) * u;
        return centre + radius * QPointF(std::cos(angle), std::sin(angle));
    });
}

} // namespace kf
