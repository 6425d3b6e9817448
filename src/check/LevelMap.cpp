#include "check/LevelMap.h"

#include "level/ColorCode.h"

#include <algorithm>

namespace kf {

namespace {

Tile tileOf(QRgb rgb) {
    const COLORREF color = colorRefFromRgb(rgb);
    if (isWall(color))
        return Tile::Wall;
    if (isStart(color))
        return Tile::Start;
    if (isFinish(color))
        return Tile::Finish;
    return Tile::Track;
}

// Rows are turned into 32-bit colours a band of about this many bytes at a time, so that a
// picture of another format never has a 32-bit copy of the whole.
constexpr int kBandBytes = 1 << 20;

} // namespace

LevelMap::LevelMap(const QImage& picture)
    : m_width(picture.width()), m_height(picture.height()),
      m_cells(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height)) {
    const bool direct = picture.format() == QImage::Format_RGB32;
    const auto bandRows =
        static_cast<int>(std::max<qint64>(1, kBandBytes / (4 * qint64{m_width} + 1)));
    for (int top = 0; top < m_height; top += bandRows) {
        const int rows = std::min(bandRows, m_height - top);
        const QImage band =
            direct ? QImage()
                   : picture.copy(0, top, m_width, rows).convertToFormat(QImage::Format_RGB32);
        for (int y = top; y < top + rows; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(direct ? picture.constScanLine(y)
                                                                    : band.constScanLine(y - top));
            for (int x = 0; x < m_width; ++x) {
                const Tile t = tileOf(line[x]);
                m_cells[index(x, y)] = static_cast<std::uint8_t>(t);
                ++m_counts[static_cast<std::size_t>(t)];
            }
        }
    }
}

} // namespace kf
