#include "check/LevelMap.h"

#include "level/ColorCode.h"

#include <algorithm>
#include <cstring>

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
    m_top.fill(m_height);
    m_bottom.fill(-1);
    m_left.fill(m_width);
    m_right.fill(-1);
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
            // Locals only in the loop: a store of a byte may alias any member.
            std::uint8_t* cells = m_cells.data() + index(0, y);
            std::size_t walls = 0;
            std::size_t starts = 0;
            std::size_t finishes = 0;
            for (int x = 0; x < m_width; ++x) {
                const Tile t = tileOf(line[x]);
                cells[x] = static_cast<std::uint8_t>(t);
                walls += t == Tile::Wall ? 1 : 0;
                starts += t == Tile::Start ? 1 : 0;
                finishes += t == Tile::Finish ? 1 : 0;
            }
            const std::array<std::size_t, 4> counts{static_cast<std::size_t>(m_width) - walls -
                                                        starts - finishes,
                                                    walls, starts, finishes};
            for (std::size_t k = 0; k < 4; ++k) {
                if (counts[k] == 0)
                    continue;
                m_counts[k] += counts[k];
                m_top[k] = std::min(m_top[k], y);
                m_bottom[k] = y;
                // Only the columns beyond the bounds so far are looked at again.
                const auto tile = static_cast<int>(k);
                if (const void* first = std::memchr(cells, tile, m_left[k]))
                    m_left[k] = static_cast<int>(static_cast<const std::uint8_t*>(first) - cells);
                const int from = m_right[k] + 1;
                if (const void* last = memrchr(cells + from, tile, m_width - from))
                    m_right[k] = static_cast<int>(static_cast<const std::uint8_t*>(last) - cells);
            }
        }
    }
}

QRect LevelMap::bounds(Tile tile) const {
    const auto k = static_cast<std::size_t>(tile);
    if (m_bottom[k] < 0)
        return {};
    return QRect(QPoint(m_left[k], m_top[k]), QPoint(m_right[k], m_bottom[k]));
}

} // namespace kf
