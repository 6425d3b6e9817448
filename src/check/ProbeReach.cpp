#include "check/ProbeReach.h"

#include "check/ProbeShape.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace kf {

namespace {

// Per row, how many pixels up to each column pass a test, so that a run of any length within a
// row is counted in one step. Rows are counted in order as the window moves down the picture,
// and only the last `rows` of them are kept: as many as the probe is tall.
template <typename Test> class RowWindow {
public:
    RowWindow(int width, int rows, Test passes)
        : m_width(width), m_rows(rows), m_stride(static_cast<std::size_t>(width) + 1),
          m_sums(m_stride * static_cast<std::size_t>(rows), 0), m_passes(passes) {}

    // Counts the rows up to y as well.
    void advanceTo(int y) {
        for (; m_last < y; ++m_last) {
            const int row = m_last + 1;
            int* sums = &m_sums[slot(row)];
            for (int x = 0; x < m_width; ++x)
                sums[x + 1] = sums[x] + (m_passes(x, row) ? 1 : 0);
        }
    }

    // The counts of row y, one of the last rows counted: the passing pixels from column x0 to
    // x1, both inside the picture, are row[x1 + 1] - row[x0].
    const int* row(int y) const { return &m_sums[slot(y)]; }

private:
    std::size_t slot(int y) const { return static_cast<std::size_t>(y % m_rows) * m_stride; }

    int m_width;
    int m_rows;
    std::size_t m_stride;
    std::vector<int> m_sums;
    Test m_passes;
    int m_last = -1;
};

// Allowed on every anchor whose probe lies inside the picture and covers no wall, Reached as
// well on those of them that cover a finishing pixel; returns the latter, with room for every
// anchor.
std::vector<std::uint32_t> markAllowedAnchors(LevelMap& map, const std::vector<ProbeSpan>& spans) {
    const int w = map.width();
    const int h = map.height();
    const int first = spans.front().dy;
    const int last = spans.back().dy;
    const auto rows = static_cast<int>(spans.size());
    RowWindow walls(w, rows, [&map](int x, int y) { return map.tile(x, y) == Tile::Wall; });
    RowWindow finishes(w, rows, [&map](int x, int y) { return map.tile(x, y) == Tile::Finish; });
    // Per span, the counts of the row it lies on, for the anchors of one row.
    std::vector<const int*> wallRows(spans.size());
    std::vector<const int*> finishRows(spans.size());
    const auto probeCovers = [&spans](const std::vector<const int*>& counts, int x) {
        for (std::size_t k = 0; k < spans.size(); ++k)
            if (counts[k][x + spans[k].right + 1] - counts[k][x + spans[k].left] > 0)
                return true;
        return false;
    };

    // Anchors whose probe stays inside the picture; the widest span is the middle one.
    const int minX = -first;
    const int maxX = w - 1 - last;
    const int minY = -first;
    const int maxY = h - 1 - last;
    std::vector<std::uint32_t> seeds;
    // Room for every anchor, so the search can go on adding to the seeds without moving them;
    // memory is only taken for the part that is written.
    seeds.reserve(static_cast<std::size_t>(maxX - minX + 1) *
                  static_cast<std::size_t>(maxY - minY + 1));
    for (int y = minY; y <= maxY; ++y) {
        walls.advanceTo(y + last);
        finishes.advanceTo(y + last);
        for (std::size_t k = 0; k < spans.size(); ++k) {
            wallRows[k] = walls.row(y + spans[k].dy);
            finishRows[k] = finishes.row(y + spans[k].dy);
        }
        for (int x = minX; x <= maxX; ++x) {
            if (probeCovers(wallRows, x))
                continue;
            const std::size_t i = map.index(x, y);
            map.mark(i, LevelMap::Allowed);
            if (probeCovers(finishRows, x)) {
                map.mark(i, LevelMap::Reached);
                seeds.push_back(static_cast<std::uint32_t>(i));
            }
        }
    }
    return seeds;
}

// Reached on every allowed anchor that the probe can get to from the seeds.
void markReachedAnchors(LevelMap& map, std::vector<std::uint32_t> queue) {
    const int w = map.width();
    const int h = map.height();
    const auto visit = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= w || y >= h)
            return;
        const std::size_t i = map.index(x, y);
        if (!map.has(i, LevelMap::Allowed) || map.has(i, LevelMap::Reached))
            return;
        map.mark(i, LevelMap::Reached);
        queue.push_back(static_cast<std::uint32_t>(i));
    };
    for (std::size_t next = 0; next < queue.size(); ++next) {
        const int x = static_cast<int>(queue[next] % w);
        const int y = static_cast<int>(queue[next] / w);
        visit(x + 1, y);
        visit(x - 1, y);
        visit(x, y + 1);
        visit(x, y - 1);
    }
}

bool onAreaEdge(const LevelMap& map, int x, int y) {
    const Tile t = map.tile(x, y);
    return (x > 0 && map.tile(x - 1, y) != t) || (x + 1 < map.width() && map.tile(x + 1, y) != t) ||
           (y > 0 && map.tile(x, y - 1) != t) || (y + 1 < map.height() && map.tile(x, y + 1) != t);
}

// Touched on the starting pixels at the edge of their area that a reached probe covers. A
// probe anchored at (ax, ay) covers (x, y) when ay = y - dy and ax lies in [x - right,
// x - left] of that span.
void markTouchedStarts(LevelMap& map, const std::vector<ProbeSpan>& spans) {
    const int w = map.width();
    const int h = map.height();
    const int first = spans.front().dy;
    RowWindow reached(w, static_cast<int>(spans.size()),
                      [&map](int x, int y) { return map.has(map.index(x, y), LevelMap::Reached); });
    std::vector<const int*> rows(spans.size()); // per span, its anchors' row; null outside
    for (int y = 0; y < h; ++y) {
        reached.advanceTo(std::min(y - first, h - 1));
        for (std::size_t k = 0; k < spans.size(); ++k) {
            const int ay = y - spans[k].dy;
            rows[k] = ay >= 0 && ay < h ? reached.row(ay) : nullptr;
        }
        for (int x = 0; x < w; ++x) {
            if (map.tile(x, y) != Tile::Start || !onAreaEdge(map, x, y))
                continue;
            for (std::size_t k = 0; k < spans.size(); ++k) {
                const int ax0 = std::max(x - spans[k].right, 0);
                const int ax1 = std::min(x - spans[k].left, w - 1);
                if (rows[k] && ax0 <= ax1 && rows[k][ax1 + 1] - rows[k][ax0] > 0) {
                    map.mark(map.index(x, y), LevelMap::Touched);
                    break;
                }
            }
        }
    }
}

} // namespace

void markProbeReach(LevelMap& map, int width) {
    if (width > map.width() || width > map.height())
        return; // the probe fits nowhere
    const std::vector<ProbeSpan> spans = probeSpans(width);
    markReachedAnchors(map, markAllowedAnchors(map, spans));
    markTouchedStarts(map, spans);
}

} // namespace kf
