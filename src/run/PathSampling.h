#pragma once

#include "level/LevelBoard.h"

#include <QPoint>
#include <QRect>

#include <algorithm>
#include <climits>

#include <cmath>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace kf {

// One pixel that the wall test looks at. A sample is invalid when its computed coordinate was
// not a finite number (or too large for a pixel coordinate); it then reads as no colour and is
// never a wall. An invalid sample always carries the point (0, 0).
struct PathSample {
    bool valid = false;
    QPoint point;

    friend bool operator==(const PathSample&, const PathSample&) = default;
};

namespace detail {

// Truncates toward zero into `out`; false when the value is not finite or does not fit an int.
// NaN fails both comparisons, so it is caught here as well.
inline bool truncToInt(float v, int& out) {
    if (!(v >= -2147483648.0f && v < 2147483648.0f))
        return false;
    out = static_cast<int>(v);
    return true;
}

} // namespace detail

// The same samples, in the same order, less those of the column pass whose column and those of
// the row pass whose row lies outside `area`: such a sample can only lie outside it. A wall
// test over a picture needs only the picture's columns and rows, however far the pointer jumps.
template <class Visit>
void samplePathWithin(QPoint from, QPoint to, const QRect& area, Visit&& visit) {
    const int x0 = from.x(), y0 = from.y();
    const int x1 = to.x(), y1 = to.y();

    // Intercept at x = 0, then the slope from the stored intercept and the new x. Division by
    // zero is meant: it gives infinities or NaN, which the passes below turn into invalid
    // samples or the steep-line rule.
    const std::int64_t crossTerm =
        static_cast<std::int64_t>(y0) * x1 - static_cast<std::int64_t>(x0) * y1;
    const float run = static_cast<float>(static_cast<std::int64_t>(x1) - x0);
    const float b = static_cast<float>(crossTerm) / run;
    const float m = (static_cast<float>(y1) - b) / static_cast<float>(x1);

    const int xLo = x0 < x1 ? x0 : x1;
    const int xHi = x0 < x1 ? x1 : x0;
    const int yLo = y0 < y1 ? y0 : y1;
    const int yHi = y0 < y1 ? y1 : y0;

    // Column pass: y on the line at every x.
    const int xFirst = std::max(xLo, area.left());
    const int xLast = std::min(xHi, area.right());
    for (int x = xFirst; xFirst <= xLast; ++x) {
        const float product = m * static_cast<float>(x);
        const float yOnLine = product + b;
        PathSample s;
        int y = 0;
        if (detail::truncToInt(yOnLine, y)) {
            s.valid = true;
            s.point = QPoint(x, y);
        }
        visit(std::as_const(s));
        if (x == xLast)
            break;
    }

    // Row pass: x on the line at every y; steep lines (and an undefined slope) use the left
    // end's column instead.
    const bool steep = m > 10.0f || m < -10.0f || std::isnan(m);
    const int yFirst = std::max(yLo, area.top());
    const int yLast = std::min(yHi, area.bottom());
    for (int y = yFirst; yFirst <= yLast; ++y) {
        PathSample s;
        if (steep) {
            s.valid = true;
            s.point = QPoint(xLo, y);
        } else {
            const float first = static_cast<float>(y) / m;
            const float second = b / m;
            const float xOnLine = first - second;
            int x = 0;
            if (detail::truncToInt(xOnLine, x)) {
                s.valid = true;
                s.point = QPoint(x, y);
            }
        }
        visit(std::as_const(s));
        if (y == yLast)
            break;
    }
}

// The wall test's pixels for one pointer movement, in client pixels. The straight line through
// the two points is held as intercept b and slope m in single precision; a column pass then
// looks at one pixel in every column between the points and a row pass at one pixel in every
// row. Horizontal and vertical moves leave one of the passes without finite coordinates, and a
// move onto x = 0 leaves the slope undefined; those samples come out invalid. Both passes always
// run completely: (|dx| + 1) + (|dy| + 1) samples, the column pass first.
// Calls visit(const PathSample&) for each sample.
template <class Visit> void samplePath(QPoint from, QPoint to, Visit&& visit) {
    samplePathWithin(from, to, QRect(QPoint(INT_MIN, INT_MIN), QPoint(INT_MAX, INT_MAX)),
                     std::forward<Visit>(visit));
}

// All samples of a movement in the order the wall test looks at them.
std::vector<PathSample> pathSamples(QPoint from, QPoint to);

// True when any valid sample of the movement shows exactly the wall colour on the board.
bool pathTouchesWall(const LevelBoard& board, QPoint from, QPoint to);

// The first valid sample of the movement, in the order the wall test looks, that shows exactly
// the wall colour on the board, in client pixels; nothing when the movement touches no wall.
std::optional<QPoint> firstWallPixel(const LevelBoard& board, QPoint from, QPoint to);

} // namespace kf
