#include "LevelPack.h"
#include "TrackPainter.h"
#include "TrackShapes.h"

#include <array>

namespace kf {

namespace {

constexpr int kWidest = 48;
constexpr int kNarrowest = 14; // the last row; its U-turn gets 2 pixels more, as curves lose some
constexpr std::array<qreal, 5> kRows{50, 125, 200, 275, 350};
constexpr qreal kLeft = 70; // centres of the left and right U-turns
constexpr qreal kRight = 328;
constexpr qreal kRadius = (kRows[1] - kRows[0]) / 2;

// From the end of one row round the U-turn at its end and along the next row to its far end.
void turnAndRun(QPainterPath& path, std::size_t row) {
    const bool atRight = row % 2 == 0;
    const qreal x = atRight ? kRight : kLeft;
    path.arcTo(circleBounds({x, kRows[row] + kRadius}, kRadius), 90, atRight ? -180 : 180);
    path.lineTo(atRight ? kLeft : kRight, kRows[row + 1]);
}

} // namespace

QImage drawNarrowsTrack() {
    TrackPainter t(0xFFDDF3F1, 0xFFBADBD7);
    // Four rows narrow steadily; the last one keeps the narrowest width to the finish.
    QPainterPath narrowing;
    narrowing.moveTo(44, kRows[0]);
    narrowing.lineTo(kRight, kRows[0]);
    for (std::size_t row = 0; row < 3; ++row)
        turnAndRun(narrowing, row);
    t.taperedCorridor(narrowing, kWidest, kNarrowest + 2);
    QPainterPath turn;
    turn.moveTo(kLeft, kRows[3]);
    turn.arcTo(circleBounds({kLeft, kRows[3] + kRadius}, kRadius), 90, 180);
    t.corridor(turn, kNarrowest + 2);
    QPainterPath last;
    last.moveTo(kLeft, kRows[4]);
    last.lineTo(360, kRows[4]);
    t.corridor(last, kNarrowest);

    t.arrow({200, kRows[0]}, 0);
    t.arrow({200, kRows[1]}, 180);
    t.arrow({kRight + kRadius - 4, kRows[0] + kRadius}, 90);

    t.start(QRect(0, 0, 70, 100));
    t.finish(QRect(330, 320, 70, 80));
    return t.picture();
}

} // namespace kf
