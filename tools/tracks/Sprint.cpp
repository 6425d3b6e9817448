#include "LevelPack.h"
#include "TrackPainter.h"
#include "TrackShapes.h"

namespace kf {

namespace {

constexpr int kWidth = 42;
constexpr qreal kTop = 54; // centre lines of the circuit's sides and of the finishing straight
constexpr qreal kMiddle = 200;
constexpr qreal kBottom = 350;
constexpr qreal kLeft = 50;
constexpr qreal kRight = 346;
constexpr qreal kCorner = 40;  // radius of the corners
constexpr qreal kChicane = 26; // how far the chicanes swing inwards
constexpr int kChicaneWaves = 2;

} // namespace

QImage drawSprintTrack() {
    TrackPainter t(0xFFF8EEDA, 0xFFE2D1AE);
    const qreal c = kCorner;
    QPainterPath centre;
    // Chicanes along the top and down the right side.
    const qreal topFrom = 60;
    centre.moveTo(topFrom, kTop);
    traceTo(centre, 200, [&](qreal u) {
        return QPointF(topFrom + (kRight - c - topFrom) * u,
                       kTop + kChicane * bumps(u, kChicaneWaves));
    });
    centre.arcTo(circleBounds({kRight - c, kTop + c}, c), 90, -90);
    traceTo(centre, 200, [&](qreal u) {
        return QPointF(kRight - kChicane * bumps(u, kChicaneWaves),
                       kTop + c + (kBottom - kTop - 2 * c) * u);
    });
    centre.arcTo(circleBounds({kRight - c, kBottom - c}, c), 0, -90);
    // Then straight: along the bottom, up the left side and through the middle to the finish.
    const qreal finishX = 240;
    centre.lineTo(kLeft + c, kBottom);
    centre.arcTo(circleBounds({kLeft + c, kBottom - c}, c), 270, -90);
    centre.lineTo(kLeft, kMiddle + c);
    centre.arcTo(circleBounds({kLeft + c, kMiddle + c}, c), 180, -90);
    centre.lineTo(finishX, kMiddle);
    t.corridor(centre, kWidth);

    // Double chevrons on the straights, where speed pays.
    for (qreal x : {130.0, 250.0}) {
        t.arrow({x + 6, kBottom}, 180);
        t.arrow({x - 6, kBottom}, 180);
    }
    for (qreal x : {130.0, 200.0}) {
        t.arrow({x - 6, kMiddle}, 0);
        t.arrow({x + 6, kMiddle}, 0);
    }

    t.start(QRect(0, 0, 90, 110));
    t.finish(QRect(210, 150, 60, 100));
    return t.picture();
}

} // namespace kf
