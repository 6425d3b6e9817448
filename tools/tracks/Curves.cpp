#include "LevelPack.h"
#include "TrackPainter.h"
#include "TrackShapes.h"

#include <array>

namespace kf {

namespace {

constexpr int kWidth = 48;
constexpr qreal kLeft = 95;   // centre of the left U-turn
constexpr qreal kRight = 305; // centre of the right U-turn
constexpr std::array<qreal, 3> kRows{90, 200, 310};
constexpr qreal kSwing = 14; // a row swings this far above and below its middle line
constexpr qreal kTurnRadius = (kRows[1] - kRows[0]) / 2;

// Where a row lies between the turns: two full waves, level where it meets them.
QPointF rowPoint(int row, qreal x) {
    return {x, kRows[row] - kSwing + 2 * kSwing * bumps((x - kLeft) / (kRight - kLeft), 2)};
}

void waveTo(QPainterPath& path, int row, qreal fromX, qreal toX) {
    traceTo(path, 100, [=](qreal u) { return rowPoint(row, fromX + (toX - fromX) * u); });
}

} // namespace

QImage drawCurvesTrack() {
    TrackPainter t(0xFFE8F4EC, 0xFFC6DDCD);
    const qreal r = kTurnRadius;
    // The centres of the two turns, each halfway between the rows it joins.
    const QPointF rightTurn = rowPoint(0, kRight) + QPointF(0, r);
    const QPointF leftTurn = rowPoint(1, kLeft) + QPointF(0, r);
    QPainterPath centre;
    centre.moveTo(40, rowPoint(0, kLeft).y());
    centre.lineTo(rowPoint(0, kLeft));
    waveTo(centre, 0, kLeft, kRight);
    centre.arcTo(circleBounds(rightTurn, r), 90, -180);
    waveTo(centre, 1, kRight, kLeft);
    centre.arcTo(circleBounds(leftTurn, r), 90, 180);
    waveTo(centre, 2, kLeft, kRight);
    centre.lineTo(360, rowPoint(2, kRight).y());
    t.corridor(centre, kWidth);

    // Arrows where each row lies level between its two waves, and in the apex of each turn.
    const qreal middle = (kLeft + kRight) / 2;
    t.arrow(rowPoint(0, middle), 0);
    t.arrow(rowPoint(1, middle), 180);
    t.arrow(rowPoint(2, middle), 0);
    t.arrow(rightTurn + QPointF(r, 0), 90);
    t.arrow(leftTurn - QPointF(r, 0), 90);

    t.start(QRect(0, 0, 60, 150));
    t.finish(QRect(340, 250, 60, 150));
    return t.picture();
}

} // namespace kf
