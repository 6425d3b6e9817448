#include "IntroLevel.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

#include <array>

namespace kf {

namespace {

constexpr int kSize = 400;
constexpr int kHalfWidth = 20;                              // the corridor is 40 pixels wide
constexpr int kLeft = 50;                                   // centre line of the left bends
constexpr int kRight = 350;                                 // centre line of the right bends
constexpr std::array<int, 5> kLegs{50, 125, 200, 275, 350}; // centre lines of the straights
constexpr int kAreaLength = 30; // length of the start and finish patches

// A chevron pointing along a straight: right on even legs, left on odd ones.
void drawArrow(QPainter& p, int cx, int cy, bool pointsRight) {
    const int d = pointsRight ? 1 : -1;
    QPolygon chevron;
    chevron << QPoint(cx - 6 * d, cy - 10) << QPoint(cx + 4 * d, cy) << QPoint(cx - 6 * d, cy + 10)
            << QPoint(cx - 2 * d, cy + 10) << QPoint(cx + 8 * d, cy) << QPoint(cx - 2 * d, cy - 10);
    p.drawPolygon(chevron);
}

} // namespace

QImage drawIntroLevel() {
    QImage image(kSize, kSize, QImage::Format_RGB32);
    image.fill(Qt::black);

    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);

    // The corridor: one wide stroke along the centre line, rounded on the outside of the bends.
    QPainterPath centre;
    centre.moveTo(kLeft, kLegs[0]);
    for (std::size_t i = 0; i < kLegs.size(); ++i) {
        const bool eastward = i % 2 == 0;
        if (i > 0)
            centre.lineTo(eastward ? kLeft : kRight, kLegs[i]);
        centre.lineTo(eastward ? kRight : kLeft, kLegs[i]);
    }
    QPen pen(QColor::fromRgb(kIntroTrackColor), 2 * kHalfWidth, Qt::SolidLine, Qt::FlatCap,
             Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPath(centre);
    // Square off the two ends so the patches fill the corridor's whole width.
    const int first = kLegs.front() - kHalfWidth;
    const int last = kLegs.back() - kHalfWidth;
    p.fillRect(kLeft - kHalfWidth, first, kAreaLength + kHalfWidth, 2 * kHalfWidth,
               QColor::fromRgb(kIntroTrackColor));
    p.fillRect(kRight - kAreaLength, last, kAreaLength + kHalfWidth, 2 * kHalfWidth,
               QColor::fromRgb(kIntroTrackColor));

    // Arrows in the middle of every straight show which way to go.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromRgb(kIntroArrowColor));
    for (std::size_t i = 0; i < kLegs.size(); ++i)
        drawArrow(p, (kLeft + kRight) / 2, kLegs[i], i % 2 == 0);

    // Start at the beginning of the top straight, finish at the end of the bottom one.
    p.fillRect(kLeft - kHalfWidth, first, kAreaLength, 2 * kHalfWidth, QColor(0, 255, 0));
    p.fillRect(kRight + kHalfWidth - kAreaLength, last, kAreaLength, 2 * kHalfWidth,
               QColor(255, 0, 0));
    p.end();
    return image;
}

} // namespace kf
