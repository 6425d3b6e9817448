#include "LevelPack.h"
#include "TrackPainter.h"
#include "TrackShapes.h"

namespace kf {

namespace {

constexpr int kWidth = 16;
constexpr int kNarrowest = 14;
constexpr qreal kLeft = 70;      // centre of the U-turn on the left, where the slalom begins
constexpr qreal kRight = 334;    // where the waves end and the teeth begin
constexpr qreal kWavesFrom = 56; // where the start gives way to the waves
constexpr qreal kWavesTop = 28;
constexpr qreal kWavesBottom = 60;
constexpr qreal kTeethTop = 93;
constexpr qreal kTeethBottom = 123;
constexpr qreal kTooth = 30; // the teeth's width and the gaps between them
constexpr qreal kSlalomTop = 166;
constexpr qreal kSlalomBottom = 214;
constexpr qreal kDrop = 372; // the way down the right side
constexpr QPointF kSpiralCentre(106, 316);
constexpr qreal kSpiralRadius = 62;
constexpr qreal kSpiralEnd = 18;
constexpr qreal kSpiralPitch = 26;

} // namespace

QImage drawGauntletTrack() {
    TrackPainter t(0xFFF9E4E6, 0xFFE6C3C8);
    // Top row, left to right: five tight waves, then a U-turn on the right.
    QPainterPath waves;
    waves.moveTo(22, kWavesTop);
    waves.lineTo(kWavesFrom, kWavesTop);
    traceTo(waves, 300, [](qreal u) {
        return QPointF(kWavesFrom + (kRight - kWavesFrom) * u,
                       kWavesTop + (kWavesBottom - kWavesTop) * bumps(u, 5));
    });
    const qreal rightTurn = ((kTeethTop + kTeethBottom) / 2 - kWavesTop) / 2;
    waves.arcTo(circleBounds({kRight, kWavesTop + rightTurn}, rightTurn), 90, -180);
    t.corridor(waves, kWidth);

    // Second row, right to left: square teeth up and down, then a U-turn on the left.
    QPainterPath teeth;
    teeth.moveTo(kRight, (kTeethTop + kTeethBottom) / 2);
    qreal x = kRight - 24;
    teeth.lineTo(x, (kTeethTop + kTeethBottom) / 2);
    for (int k = 0; k < 8; ++k, x -= kTooth) {
        const qreal y = k % 2 == 0 ? kTeethTop : kTeethBottom;
        teeth.lineTo(x, y);
        teeth.lineTo(x - kTooth, y);
    }
    const qreal leftTurn = (kSlalomBottom - kTeethBottom) / 2;
    teeth.arcTo(circleBounds({x, kTeethBottom + leftTurn}, leftTurn), 90, 180);
    t.corridor(teeth, kWidth);

    // Third row, left to right: a wide slalom, a little wider, then down the right side.
    QPainterPath slalom;
    slalom.moveTo(x, kSlalomBottom);
    const qreal slalomEnd = kDrop - 32;
    traceTo(slalom, 200, [&](qreal u) {
        return QPointF(x + (slalomEnd - x) * u,
                       kSlalomBottom - (kSlalomBottom - kSlalomTop) * bumps(u, 3));
    });
    slalom.arcTo(circleBounds({slalomEnd, kSlalomBottom + 32}, 32), 90, -90);
    slalom.lineTo(kDrop, kSpiralCentre.y());
    t.corridor(slalom, kWidth + 2);

    // Back along the bottom at the narrowest, into a tight spiral with the finish at its centre.
    const QPointF spiralEntry = kSpiralCentre + QPointF(kSpiralRadius, 0);
    QPainterPath straight;
    straight.moveTo(kDrop, kSpiralCentre.y());
    straight.lineTo(spiralEntry);
    t.corridor(straight, kNarrowest);
    QPainterPath spiral;
    spiral.moveTo(spiralEntry);
    spiralTo(spiral, kSpiralCentre, 0, kSpiralRadius, kSpiralEnd, kSpiralPitch);
    t.corridor(spiral, kWidth);

    t.start(QRect(0, 0, kWavesFrom, 60));
    t.finish(QRect(spiral.currentPosition().toPoint() - QPoint(10, 10), QSize(20, 20)));
    return t.picture();
}

} // namespace kf
