#include "check/ColorAreas.h"

#include <cstdint>
#include <vector>

namespace kf {

int forEachArea(LevelMap& map, Tile tile, LevelMap::Mark mark,
                const std::function<void(QPoint first, bool marked)>& visit) {
    const int w = map.width();
    const int h = map.height();
    // Pixels are counted when they are put on the stack, so it never holds more than the
    // tile's pixels; reserving that much costs memory only for what is really pushed.
    std::vector<std::uint32_t> pending;
    pending.reserve(map.count(tile));
    int areas = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const std::size_t start = map.index(x, y);
            if (map.tile(start) != tile || map.has(start, LevelMap::Counted))
                continue;
            // Each area is flooded from the first of its pixels that the reading-order scan meets.
            ++areas;
            bool marked = false;
            map.mark(start, LevelMap::Counted);
            pending.push_back(static_cast<std::uint32_t>(start));
            while (!pending.empty()) {
                const std::size_t i = pending.back();
                pending.pop_back();
                marked = marked || map.has(i, mark);
                const int px = static_cast<int>(i % w);
                const int py = static_cast<int>(i / w);
                for (int ny = py - 1; ny <= py + 1; ++ny)
                    for (int nx = px - 1; nx <= px + 1; ++nx) {
                        if (nx < 0 || ny < 0 || nx >= w || ny >= h)
                            continue;
                        const std::size_t n = map.index(nx, ny);
                        if (map.tile(n) != tile || map.has(n, LevelMap::Counted))
                            continue;
                        map.mark(n, LevelMap::Counted);
                        pending.push_back(static_cast<std::uint32_t>(n));
                    }
            }
            visit(QPoint(x, y), marked);
        }
    }
    return areas;
}

} // namespace kf
