#include "LevelPack.h"
#include "TrackPainter.h"

#include <QPolygonF>

#include <array>

namespace kf {

namespace {

constexpr int kWidth = 26;
constexpr std::array<qreal, 3> kRows{70, 200, 330}; // middle lines of the rows
constexpr qreal kTooth = 30; // a row's corners lie this far above and below its middle line
constexpr qreal kLeft = 50;  // first and last corners of a row
constexpr int kTeeth = 5;    // sloping pieces per row, each at 45 degrees

} // namespace

QImage drawZigzagTrack() {
    TrackPainter t(0xFFF6F4D6, 0xFFDEDAAC);
    QPolygonF centre;
    for (std::size_t row = 0; row < kRows.size(); ++row) {
        // Rows run left to right, right to left, left to right, each from an upper corner to
        // a lower one, which drops straight down to the first corner of the next row.
        for (int i = 0; i <= kTeeth; ++i) {
            const qreal x = kLeft + 2 * kTooth * (row % 2 == 0 ? i : kTeeth - i);
            centre << QPointF(x, kRows[row] + (i % 2 == 0 ? -kTooth : kTooth));
        }
    }
    QPainterPath path;
    path.addPolygon(centre);
    t.corridor(path, kWidth);
    const qreal right = kLeft + 2 * kTooth * kTeeth;
    t.arrow({right, (kRows[0] + kRows[1]) / 2}, 90);
    t.arrow({kLeft, (kRows[1] + kRows[2]) / 2}, 90);

    t.start(QRect(20, 20, 40, 40));
    t.finish(QRect(right - 10, kRows[2], 50, 60));
    return t.picture();
}

} // namespace kf
