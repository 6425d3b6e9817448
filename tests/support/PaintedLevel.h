#pragma once

// Small level pictures painted from rectangles, for the tests of the checker's rules.

#include "level/ColorCode.h"

#include <QImage>
#include <QPainter>
#include <QRect>
#include <QSize>

#include <vector>

namespace kf::test {

inline constexpr QRgb kWallPixel = rgbFromColorRef(kWall);
inline constexpr QRgb kFree = rgbFromColorRef(kWhite);
inline constexpr QRgb kStartPixel = rgbFromColorRef(kStart);
inline constexpr QRgb kFinishPixel = rgbFromColorRef(kFinish);

// One rectangle of one colour; later rectangles paint over earlier ones.
struct Fill {
    QRect rect;
    QRgb color;
};
using Fills = std::vector<Fill>;

// A picture of free track of `size` with the rectangles painted on it in order.
inline QImage paintedLevel(QSize size, const Fills& fills) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(kFree);
    QPainter p(&image);
    for (const Fill& f : fills)
        p.fillRect(f.rect, QColor::fromRgb(f.color));
    return image;
}

} // namespace kf::test
