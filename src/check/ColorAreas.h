#pragma once

#include "board/ColorCode.h"

#include <QImage>
#include <QList>
#include <QPoint>

#include <vector>

namespace kf {

// The areas of one exact colour in a picture: pixels of that colour that touch along a side or
// at a corner belong to the same area. Areas are numbered in reading order of their first
// pixel (topmost row first, then leftmost in that row).
struct ColorAreas {
    QList<QPoint> firstPixels; // per area, its first pixel in reading order
    std::vector<int> areaOf;   // per pixel, row by row: its area's number, or -1 for other colours
    int width = 0;

    int count() const { return static_cast<int>(firstPixels.size()); }
    int at(int x, int y) const { return areaOf[static_cast<std::size_t>(y) * width + x]; }
};

// The areas of `color` in `picture` (any format; colours compared as exact 24-bit values).
ColorAreas findColorAreas(const QImage& picture, COLORREF color);

} // namespace kf
