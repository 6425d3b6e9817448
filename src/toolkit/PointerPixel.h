#pragma once

#include <QMouseEvent>
#include <QPoint>
#include <QtMath>

namespace kf {

// The client pixel that a mouse event's pointer lies in. On a scaled screen the position comes
// in fractions of a pixel: at 200 % the right half of pixel 20 reads 20.5, which rounding (as
// QPointF::toPoint() does) would put into pixel 21. So each coordinate is rounded down.
inline QPoint pointerPixel(const QMouseEvent* event) {
    const QPointF p = event->position();
    return {qFloor(p.x()), qFloor(p.y())};
}

} // namespace kf
