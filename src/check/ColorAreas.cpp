#include "check/ColorAreas.h"

namespace kf {

ColorAreas findColorAreas(const QImage& picture, COLORREF color) {
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    const int w = image.width();
    const int h = image.height();
    ColorAreas areas;
    areas.width = w;
    areas.areaOf.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), -1);
    const auto matches = [&](int x, int y) {
        return colorRefFromRgb(reinterpret_cast<const QRgb*>(image.constScanLine(y))[x]) == color;
    };
    const auto index = [w](int x, int y) { return static_cast<std::size_t>(y) * w + x; };

    // Each area is flooded from the first of its pixels that the reading-order scan meets.
    std::vector<QPoint> pending;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (areas.areaOf[index(x, y)] >= 0 || !matches(x, y))
                continue;
            const int area = areas.count();
            areas.firstPixels.append(QPoint(x, y));
            areas.areaOf[index(x, y)] = area;
            pending.push_back(QPoint(x, y));
            while (!pending.empty()) {
                const QPoint p = pending.back();
                pending.pop_back();
                for (int ny = p.y() - 1; ny <= p.y() + 1; ++ny)
                    for (int nx = p.x() - 1; nx <= p.x() + 1; ++nx) {
                        if (nx < 0 || ny < 0 || nx >= w || ny >= h ||
                            areas.areaOf[index(nx, ny)] >= 0 || !matches(nx, ny))
                            continue;
                        areas.areaOf[index(nx, ny)] = area;
                        pending.push_back(QPoint(nx, ny));
                    }
            }
        }
    }
    return areas;
}

} // namespace kf
