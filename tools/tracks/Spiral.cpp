#include "LevelPack.h"
#include "TrackPainter.h"
#include "TrackShapes.h"

#include <cmath>
#include <numbers>

namespace kf {

namespace {

constexpr int kWidth = 30;
constexpr QPointF kCentre(200, 204);
constexpr qreal kOuterRadius = 168;
constexpr qreal kInnerRadius = 30;
constexpr qreal kPitch = 46; // one turn to the next, so the wall between them is 16 pixels

QPointF onSpiral(qreal degrees, qreal radius) {
    const qreal a = degrees * std::numbers::pi / 180;
    return kCentre + radius * QPointF(std::cos(a), std::sin(a));
}

} // namespace

QImage drawSpiralTrack() {
    TrackPainter t(0xFFFCE9DC, 0xFFE9CBB6);
    QPainterPath centre;
    centre.moveTo(onSpiral(-90, kOuterRadius));
    spiralTo(centre, kCentre, -90, kOuterRadius, kInnerRadius, kPitch);
    t.corridor(centre, kWidth);
    // An arrow on each side of the outer turn, pointing round it clockwise.
    for (int degrees : {0, 90, 180}) {
        const qreal radius = kOuterRadius - kPitch * (degrees + 90) / 360.0;
        t.arrow(onSpiral(degrees, radius), degrees + 90);
    }

    const QPointF end = onSpiral(-90, kInnerRadius);
    t.start(QRect(160, 0, 60, 60));
    t.finish(QRect(end.toPoint() - QPoint(16, 16), QSize(32, 32)));
    return t.picture();
}

} // namespace kf
