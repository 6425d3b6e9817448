#include "check/ProbeDistance.h"

#include <algorithm>

namespace kf {

namespace {

// A column's nearest pixel of the tile above or below the row being written.
constexpr int kNone = std::numeric_limits<int>::min() / 4;

// First pass, row by row: for each pixel, the vertical distance in half pixels from the probe's
// centre to the nearest pixel of the tile in the same column (2|dy + c/2|), or kNoPixel.
void columnDistances(const LevelMap& map, Tile tile, int c, bool outsideCounts,
                     std::vector<std::uint32_t>& out) {
    const int w = map.width();
    const int h = map.height();
    // The row of the nearest pixel of the tile above (below) in each column; for a corner
    // centre "above" means a row before the anchor's, "below" its row or a later one.
    std::vector<int> near(static_cast<std::size_t>(w), outsideCounts ? -1 : kNone);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool site = map.tile(x, y) == tile;
            if (site && c == 0)
                near[x] = y;
            out[map.index(x, y)] =
                near[x] == kNone ? kNoPixel : static_cast<std::uint32_t>(2 * (y - near[x]) - c);
            if (site && c == 1)
                near[x] = y;
        }
    std::fill(near.begin(), near.end(), outsideCounts ? h : kNone);
    for (int y = h - 1; y >= 0; --y)
        for (int x = 0; x < w; ++x) {
            if (map.tile(x, y) == tile)
                near[x] = y;
            if (near[x] != kNone) {
                const auto below = static_cast<std::uint32_t>(2 * (near[x] - y) + c);
                std::uint32_t& v = out[map.index(x, y)];
                v = std::min(v, below);
            }
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
            const double from = meet(m_count - 1, p, q);
            if (from > m_from[m_count - 1]) {
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
        m_from[0] = -1e300;
        m_count = 1;
        m_at = 0;
    }

    bool empty() const { return m_count == 0; }
    void rewind() { m_at = 0; }

    // The envelope at t; t rises from call to call after rewind().
    long long at(long long t) {
        while (m_at + 1 < m_count && m_from[m_at + 1] <= static_cast<double>(t))
            ++m_at;
        const long long d = t - m_p[m_at];
        return d * d + m_q[m_at];
    }

private:
    // Where parabola k and the new one (p, q) are equal.
    double meet(std::size_t k, long long p, long long q) const {
        return static_cast<double>((q + p * p) - (m_q[k] + m_p[k] * m_p[k])) /
               static_cast<double>(2 * (p - m_p[k]));
    }

    std::vector<long long> m_p;
    std::vector<long long> m_q;
    std::vector<double> m_from; // where each parabola starts to be the lowest
    std::size_t m_count = 0;
    std::size_t m_at = 0;
};

} // namespace

void probeDistances(const LevelMap& map, Tile tile, ProbeCentre centre, bool outsideCounts,
                    std::vector<std::uint32_t>& out) {
    const int w = map.width();
    const int h = map.height();
    const int c = centre == ProbeCentre::Corner ? 1 : 0;
    out.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), kNoPixel);
    if (w == 0 || h == 0)
        return;
    columnDistances(map, tile, c, outsideCounts, out);

    // Second pass, row by row: a pixel of the tile in column i lies 2i - (2x - c) half pixels
    // across from the centre. The columns beyond the edges are whole columns of the tile.
    Envelope envelope(w);
    std::vector<std::uint32_t> row(static_cast<std::size_t>(w));
    const long long edgeHeight = c; // the nearest pixel of a column beyond the edge
    for (int y = 0; y < h; ++y) {
        std::uint32_t* values = &out[map.index(0, y)];
        std::copy(values, values + w, row.begin());
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
            values[x] = static_cast<std::uint32_t>(envelope.at(2LL * x - c));
    }
}

} // namespace kf
