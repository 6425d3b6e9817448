#include "LevelPack.h"
#include "TrackPainter.h"
#include "TrackShapes.h"

#include <QTransform>

#include <array>

namespace kf {

namespace {

constexpr int kWidth = 42;
constexpr std::array<qreal, 5> kRows{48, 120, 192, 264, 336};
constexpr qreal kOuter = 76;  // centre of the left branch's turns by the side wall
constexpr qreal kInner = 136; // centre of its turns by the wall between the branches
constexpr qreal kRadius = (kRows[1] - kRows[0]) / 2;
constexpr qreal kMiddle = 200;

// The left branch: a serpentine from the top left corner down to the middle of the bottom row.
QPainterPath leftBranch() {
    QPainterPath path;
    path.moveTo(36, kRows[0]);
    for (std::size_t row = 0; row + 1 < kRows.size(); ++row) {
        const bool rightward = row % 2 == 0;
        const qreal x = rightward ? kInner : kOuter;
        path.lineTo(x, kRows[row]);
        path.arcTo(circleBounds({x, kRows[row] + kRadius}, kRadius), 90, rightward ? -180 : 180);
    }
    path.lineTo(kMiddle, kRows.back());
    return path;
}

} // namespace

QImage drawTwinsTrack() {
    TrackPainter t(0xFFEEE8F6, 0xFFD3C8E4);
    const QPainterPath left = leftBranch();
    const QTransform mirror(-1, 0, 0, 1, 2 * kMiddle, 0);
    t.corridor(left, kWidth);
    t.corridor(mirror.map(left), kWidth);
    for (std::size_t row = 0; row < kRows.size(); ++row) {
        const bool rightward = row % 2 == 0;
        const qreal x = (kOuter + kInner) / 2;
        t.arrow({x, kRows[row]}, rightward ? 0 : 180);
        t.arrow({2 * kMiddle - x, kRows[row]}, rightward ? 180 : 0);
    }

    t.start(QRect(0, 0, 70, 90));
    t.start(QRect(330, 0, 70, 90));
    t.finish(QRect(170, 300, 60, 80));
    return t.picture();
}

} // namespace kf
