#include "check/ProbeDistance.h"

#include <algorithm>

namespace kf {

namespace {

// A column's nearest pixel of the tile above or below the row being written.
constexpr int kNone = std::numeric_limits<int>::min() / 4;

// The pixels worked on: all of them, or those near the tile's pixels.
struct Area {
    int left;
    int top;
    int right;  // one past the last column
    int bottom; // one past the last row
};

// The rectangle of anchors whose probes of at most `reach` pixels can cover a pixel of the tile:
// the tile's bounding box grown by half the reach and one; empty without such a pixel.
Area tileSurroundings(const LevelMap& map, Tile tile, int reach) {
    const QRect box = map.bounds(tile);
    if (box.isEmpty())
        return {0, 0, 0, 0};
    const int margin = reach / 2 + 1;
    return {std::max(box.left() - margin, 0), std::max(box.top() - margin, 0),
            std::min(box.right() + 1 + margin, map.width()),
            std::min(box.bottom() + 1 + margin, map.height())};
}

// First pass, row by row: for each pixel, the vertical distance in half pixels from the probe's
// centre to the nearest pixel of the tile in the same column (2|dy + c/2|), or kNoPixel.
// `isSite(x, y)` tells the tile's pixels; values go to out[y * pitch + x]. With the centre and
// the edge known when compiled, the loops have no branch: every column beyond the edge counts.
template <int C, bool OutsideCounts, typename IsSite>
void columnDistancesOf(IsSite isSite, std::size_t pitch, Area area, std::uint32_t* out) {
    const int w = area.right;
    const int h = area.bottom;
    // The row of the nearest pixel of the tile above (below) in each column; for a corner
    // centre "above" means a row before the anchor's, "below" its row or a later one.
    std::vector<int> near(static_cast<std::size_t>(w), OutsideCounts ? -1 : kNone);
    for (int y = area.top; y < h; ++y) {
        std::uint32_t* values = &out[y * pitch];
        for (int x = area.left; x < w; ++x) {
            const bool site = isSite(x, y);
            if (C == 0 && site)
                near[x] = y;
            const auto above = static_cast<std::uint32_t>(2 * (y - near[x]) - C);
            values[x] = !OutsideCounts && near[x] == kNone ? kNoPixel : above;
            if (C == 1 && site)
                near[x] = y;
        }
    }
    std::fill(near.begin(), near.end(), OutsideCounts ? h : kNone);
    for (int y = h - 1; y >= area.top; --y) {
        std::uint32_t* values = &out[y * pitch];
        for (int x = area.left; x < w; ++x) {
            if (isSite(x, y))
                near[x] = y;
            const auto below = static_cast<std::uint32_t>(2 * (near[x] - y) + C);
            if (OutsideCounts || near[x] != kNone)
                values[x] = std::min(values[x], below);
        }
    }
}

template <typename IsSite>
void columnDistances(IsSite isSite, std::size_t pitch, int c, bool outsideCounts, Area area,
                     std::uint32_t* out) {
    if (outsideCounts) {
        if (c == 0)
            columnDistancesOf<0, true>(isSite, pitch, area, out);
        else
            columnDistancesOf<1, true>(isSite, pitch, area, out);
    } else {
        if (c == 0)
            columnDistancesOf<0, false>(isSite, pitch, area, out);
        else
            columnDistancesOf<1, false>(isSite, pitch, area, out);
    }
}

// The lower envelope of the parabolas (t - p)^2 + q, one per column that has a pixel of the tile,
// evaluated at the probe centres of one row (Felzenszwalb and Huttenlocher).
class Envelope {
public:
    explicit Envelope(int width)
        : m_p(static_cast<std::size_t>(width) + 2), m_q(m_p.size()), m_from(m_p.size()) {}

    void clear() { m_count = 0; }

    // Parabolas are added from left to right.
    void add(long long p, long long q) {
        while (m_count > 0) {
            const Point from = meet(m_count - 1, p, q);
            if (m_count == 1 || before(m_from[m_count - 1], from)) {
                m_p[m_count] = p;
                m_q[m_count] = q;
                m_from[m_count] = from;
                ++m_count;
                return;
            }
            --m_count;
        }
        m_p[0] = p;
        m_q[0] = q;
        m_count = 1;
        m_at = 0;
    }

    bool empty() const { return m_count == 0; }
    void rewind() { m_at = 0; }

    // The envelope at t; t rises from call to call after rewind().
    long long at(long long t) {
        while (m_at + 1 < m_count && m_from[m_at + 1].num <= t * m_from[m_at + 1].den)
            ++m_at;
        const long long d = t - m_p[m_at];
        return d * d + m_q[m_at];
    }

private:
    // A place num / den, with den > 0, kept as a fraction so every comparison is exact.
    struct Point {
        long long num;
        long long den;
    };

    // The products take more than 64 bits on a picture a million pixels wide.
    static bool before(Point a, Point b) {
        __extension__ typedef __int128 Wide;
        return Wide{a.num} * b.den < Wide{b.num} * a.den;
    }

    // Where parabola k and the new one (p, q), further right, are equal.
    Point meet(std::size_t k, long long p, long long q) const {
        return {(q + p * p) - (m_q[k] + m_p[k] * m_p[k]), 2 * (p - m_p[k])};
    }

    std::vector<long long> m_p;
    std::vector<long long> m_q;
    std::vector<Point> m_from; // where each parabola starts to be the lowest, from the second
    std::size_t m_count = 0;
    std::size_t m_at = 0;
};

// Second pass over the values of the first, in place.
void rowDistances(std::size_t pitch, int c, bool outsideCounts, Area area, std::uint32_t* out) {
    const int w = area.right - area.left;
    // Second pass, row by row: a pixel of the tile in column i lies 2i - (2x - c) half pixels
    // across from the centre. The columns beyond the edges are whole columns of the tile.
    Envelope envelope(w);
    const long long edgeHeight = c; // the nearest pixel of a column beyond the edge
    for (int y = area.top; y < area.bottom; ++y) {
        // The envelope is whole before the row's values are overwritten.
        std::uint32_t* values = &out[y * pitch + area.left];
        const std::uint32_t* row = values;
        envelope.clear();
        if (outsideCounts)
            envelope.add(-2, edgeHeight * edgeHeight);
        for (int i = 0; i < w; ++i)
            if (row[i] != kNoPixel)
                envelope.add(2LL * i, static_cast<long long>(row[i]) * row[i]);
        if (outsideCounts)
            envelope.add(2LL * w, edgeHeight * edgeHeight);
        if (envelope.empty())
            continue;
        envelope.rewind();
        for (int x = 0; x < w; ++x)
            values[x] = static_cast<std::uint32_t>(
                std::min<long long>(envelope.at(2LL * x - c), kFarPixel));
    }
}

} // namespace

void probeDistances(const LevelMap& map, Tile tile, ProbeCentre centre, bool outsideCounts,
                    std::vector<std::uint32_t>& out, int reach) {
    out.assign(static_cast<std::size_t>(map.width()) * static_cast<std::size_t>(map.height()),
               kNoPixel);
    probeDistances(map, tile, centre, outsideCounts, out.data(),
                   static_cast<std::size_t>(map.width()), reach);
}

QRect probeDistances(const LevelMap& map, Tile tile, ProbeCentre centre, bool outsideCounts,
                     std::uint32_t* out, std::size_t pitch, int reach) {
    const int c = centre == ProbeCentre::Corner ? 1 : 0;
    const Area area = reach > 0 && !outsideCounts ? tileSurroundings(map, tile, reach)
                                                  : Area{0, 0, map.width(), map.height()};
    if (area.right <= area.left || area.bottom <= area.top)
        return {};
    columnDistances([&map, tile](int x, int y) { return map.tile(x, y) == tile; }, pitch, c,
                    outsideCounts, area, out);
    rowDistances(pitch, c, outsideCounts, area, out);
    return QRect(QPoint(area.left, area.top), QPoint(area.right - 1, area.bottom - 1));
}

void probeDistances(const std::vector<std::uint8_t>& sites, int width, int height,
                    ProbeCentre centre, std::vector<std::uint32_t>& out) {
    const int c = centre == ProbeCentre::Corner ? 1 : 0;
    const auto pitch = static_cast<std::size_t>(width);
    out.assign(pitch * static_cast<std::size_t>(height), kNoPixel);
    const Area area{0, 0, width, height};
    columnDistances([&sites, pitch](int x, int y) { return sites[y * pitch + x] != 0; }, pitch, c,
                    false, area, out.data());
    rowDistances(pitch, c, false, area, out.data());
}

} // namespace kf
