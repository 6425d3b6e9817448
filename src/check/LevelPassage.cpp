#include "check/LevelPassage.h"

#include "check/LevelMap.h"
#include "check/ProbeDistance.h"
#include "check/ProbeShape.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <unordered_map>
#include <utility>

namespace kf {

namespace {

constexpr std::uint32_t kAbsent = std::numeric_limits<std::uint32_t>::max();

// Up to so many starting areas may each have their distances measured apart.
constexpr std::size_t kFewAreas = 8;

// The areas of one tile: pixels that touch along a side or at a corner are one area, numbered in
// reading order of their first pixels, as forEachArea visits them.
struct TileAreas {
    // A row's unbroken stretch of the tile's pixels, all of one area.
    struct Run {
        int left;
        int right; // last column
        std::uint32_t area;
    };

    std::size_t count = 0;
    std::vector<QPoint> first;     // of each area
    std::vector<QRect> areaBounds; // of each area's pixels, while there are at most kFewAreas
    QRect bounds;                  // of the tile's pixels
    // With several areas, their runs row by row, left to right: those of row `bounds.top() + k`
    // from rowRuns[k] to rowRuns[k + 1].
    std::vector<Run> runs;
    std::vector<std::size_t> rowRuns;
};

// Looks only inside the tile's bounds; keeps the runs only of a tile with several areas.
TileAreas labelAreas(const LevelMap& map, Tile tile) {
    TileAreas areas;
    const QRect bounds = map.bounds(tile);
    areas.bounds = bounds;
    if (bounds.isEmpty())
        return areas;
    // Per pixel of the bounds its area, kAbsent off the tile.
    std::vector<std::uint32_t> labels(static_cast<std::size_t>(bounds.width()) * bounds.height(),
                                      kAbsent);
    const auto label = [&](int x, int y) -> std::uint32_t& {
        return labels[static_cast<std::size_t>(y - bounds.top()) * bounds.width() +
                      (x - bounds.left())];
    };
    std::vector<QPoint> pending;
    for (int y = bounds.top(); y <= bounds.bottom(); ++y)
        for (int x = bounds.left(); x <= bounds.right(); ++x) {
            if (map.tile(x, y) != tile || label(x, y) != kAbsent)
                continue;
            const auto area = static_cast<std::uint32_t>(areas.first.size());
            areas.first.push_back(QPoint(x, y));
            QRect box(x, y, 1, 1);
            label(x, y) = area;
            pending.push_back(QPoint(x, y));
            while (!pending.empty()) {
                const QPoint p = pending.back();
                pending.pop_back();
                box |= QRect(p, QSize(1, 1));
                for (int ny = std::max(p.y() - 1, bounds.top());
                     ny <= std::min(p.y() + 1, bounds.bottom()); ++ny)
                    for (int nx = std::max(p.x() - 1, bounds.left());
                         nx <= std::min(p.x() + 1, bounds.right()); ++nx) {
                        std::uint32_t& near = label(nx, ny);
                        if (map.tile(nx, ny) == tile && near == kAbsent) {
                            near = area;
                            pending.push_back(QPoint(nx, ny));
                        }
                    }
            }
            if (areas.first.size() <= kFewAreas)
                areas.areaBounds.push_back(box);
        }
    areas.count = areas.first.size();
    if (areas.count > kFewAreas)
        areas.areaBounds = {};
    if (areas.count < 2)
        return areas; // one area needs no runs: every pixel of the tile is of that area
    for (int y = bounds.top(); y <= bounds.bottom(); ++y) {
        areas.rowRuns.push_back(areas.runs.size());
        for (int x = bounds.left(); x <= bounds.right(); ++x) {
            const std::uint32_t area = label(x, y);
            if (area == kAbsent)
                continue;
            if (!areas.runs.empty() && areas.rowRuns.back() < areas.runs.size() &&
                areas.runs.back().right == x - 1 && areas.runs.back().area == area)
                areas.runs.back().right = x;
            else
                areas.runs.push_back({x, x, area});
        }
    }
    areas.rowRuns.push_back(areas.runs.size());
    areas.runs.shrink_to_fit();
    return areas;
}

std::uint32_t squareRoot(std::uint64_t q) {
    auto r = static_cast<std::uint64_t>(std::sqrt(static_cast<double>(q)));
    while (r * r > q)
        --r;
    while ((r + 1) * (r + 1) <= q)
        ++r;
    return static_cast<std::uint32_t>(r);
}

// The widest probe of that parity (1 odd, 0 even) whose width squared is at most q; 0 for none.
// A double's square root of a value below 2^32 has the exact root's whole part: an exact root
// just below a whole number lies further from it than half a step of a double.
int widestWithin(std::uint32_t q, int parity) {
    const auto r = static_cast<int>(std::sqrt(static_cast<double>(q)));
    return r % 2 == parity ? r : std::max(r - 1, 0);
}

// The narrowest width of that parity whose square exceeds q.
int narrowestBeyond(std::uint64_t q, int parity) {
    auto w = static_cast<int>(squareRoot(q)) + 1;
    if (w % 2 != parity)
        ++w;
    return w;
}

// What a pass keeps of each pixel, side by side, as the joins visit pixels all over the picture.
struct Node {
    std::uint32_t parent; // kAbsent until the anchor has joined; a root's holds kRoot and its rank
    std::uint32_t finish; // of a set, the least distance to a finishing pixel
    // Of a set, the least distance to its one starting area, or its list's index; kAbsent for
    // none. Before the anchor joins, the distance to the nearest starting pixel.
    std::uint32_t entry;
};

// The memory of a pass, kept for the next pass. The nodes have the picture's layout with a
// frame: one column after each row and one row above and below the picture that are never
// anchors, so a neighbour's index needs no test of the picture's edge.
struct PassMemory {
    std::size_t pitch; // nodes a row, the frame's column included
    std::size_t size;  // nodes in all
    std::unique_ptr<Node[]> nodes;
    std::vector<std::uint32_t> entryArea;
    // One value a pixel while the distances are measured, then one an anchor: the order.
    std::unique_ptr<std::uint32_t[]> order;
    std::size_t orderRoom = 0;

    explicit PassMemory(const LevelMap& map)
        : pitch(static_cast<std::size_t>(map.width()) + 1),
          size(pitch * (static_cast<std::size_t>(map.height()) + 2)),
          nodes(std::make_unique_for_overwrite<Node[]>(size)) {}

    // Room for so many values in the order, with what it holds lost; the old room is let go
    // before more is taken, not after.
    void orderFor(std::size_t values) {
        if (values == orderRoom)
            return;
        order = {};
        order = std::make_unique_for_overwrite<std::uint32_t[]>(values);
        orderRoom = values;
    }
};

// One parity of widths at once. Anchors join in order of the widest probe of that parity that
// fits them, widest first, so that at each width w the anchors joined so far are exactly those
// where a probe of w fits, and two of them lie in one set exactly when that probe can move
// between them. A set that holds an anchor whose probe of w covers a finishing pixel, and one
// whose probe of w covers a pixel of a starting area, joins that area to a finish at w. A probe
// of w covers a pixel when the pixel's squared distance (ProbeDistance.h) is below w^2; so each
// set keeps the least such distance to a finishing pixel, and to each starting area near it,
// over its anchors, and an area is joined at every width w whose square exceeds the larger of
// the two in some set: its key. Sets only grow as the width falls, so an area's key only falls;
// each fall is one step.
class ParityPass {
public:
    ParityPass(const LevelMap& map, int parity, const TileAreas& areas, PassMemory& memory,
               std::vector<LevelPassage::Step>& steps)
        : m_map(map), m_parity(parity), m_areas(areas), m_steps(steps), m_memory(memory),
          m_pitch(memory.pitch), m_nodes(memory.nodes.get()), m_entryArea(memory.entryArea),
          m_key(areas.count, kAbsent), m_seenAt(areas.count > 1 ? m_key.size() : 0, kAbsent),
          m_leastKey(parity == 1 ? 0 : 2), m_open(areas.count) {}

    void run() {
        const ProbeCentre centre = m_parity == 1 ? ProbeCentre::Pixel : ProbeCentre::Corner;
        const int w = m_map.width();
        const int h = m_map.height();
        const Node none{kAbsent, kNoPixel, kNoPixel};
        std::fill_n(m_nodes, m_pitch, none);
        std::fill_n(m_nodes + m_memory.size - m_pitch, m_pitch, none);
        // The distances to the walls, then each anchor's widest probe in its parent's place.
        if (m_memory.orderRoom < static_cast<std::size_t>(w) * h)
            m_memory.orderFor(static_cast<std::size_t>(w) * h);
        std::uint32_t* distance = m_memory.order.get();
        probeDistances(m_map, Tile::Wall, centre, true, distance, static_cast<std::size_t>(w), 0);
        std::vector<std::uint32_t> levelEnd; // first how many anchors of each width
        for (int y = 0; y < h; ++y) {
            // Neighbours mostly have the same widest probe: counted a run at a time.
            int fit = 0;
            std::uint32_t run = 0; // pixels in a row so far with the widest probe `fit`
            const auto count = [&] {
                if (static_cast<std::size_t>(fit) >= levelEnd.size())
                    levelEnd.resize(static_cast<std::size_t>(fit) + 1, 0);
                levelEnd[fit] += run;
            };
            const std::uint32_t* values = distance + static_cast<std::size_t>(y) * w;
            Node* nodes = m_nodes + row(y);
            for (int x = 0; x < w; ++x) {
                const int now = widestWithin(values[x], m_parity);
                if (now != fit) {
                    count();
                    fit = now;
                    run = 0;
                }
                nodes[x] = {static_cast<std::uint32_t>(fit), kNoPixel, kNoPixel};
                ++run;
            }
            nodes[w] = none;
            count();
        }
        const auto top = static_cast<int>(levelEnd.size()) - 1;
        nodeDistances(Tile::Finish, centre, top, &Node::finish);
        nodeDistances(Tile::Start, centre, top, &Node::entry);
        const std::size_t anchors = sortByBest(levelEnd);
        if (m_areas.count > 1) {
            m_entryArea.assign(m_memory.size, kAbsent);
            measureNearAreas(centre, top);
        }
        const std::uint32_t* order = m_memory.order.get();
        std::size_t next = 0;
        // Once every area's key is the least a distance can be (a pixel's own centre, or a
        // corner of it, to the probe's centre), no join can add a step: the pass ends there.
        for (int level = top; level > 0 && m_open > 0; --level) {
            m_level = static_cast<std::uint16_t>(level);
            m_levelSquare = static_cast<std::uint32_t>(level) * static_cast<std::uint32_t>(level);
            m_spans.clear();
            for (; next < levelEnd[level]; ++next) {
                // The anchors of one width lie all over the picture: their values are fetched
                // a few joins ahead, so that fetching overlaps joining.
                if (next + kAhead < anchors)
                    fetch(order[next + kAhead]);
                join(order[next]);
            }
        }
        m_entryArea = std::vector<std::uint32_t>(); // given back: the next pass measures without it
    }

private:
    static constexpr std::uint32_t kList = kAbsent - 1; // m_entryArea of a set with a list
    static constexpr std::uint32_t kRoot = 1U << 31;    // indices stay below it

    // Where the nodes of row y begin.
    std::size_t row(int y) const { return (static_cast<std::size_t>(y) + 1) * m_pitch; }

    // The distances to the tile's pixels, of the anchors whose probes of at most `top` pixels
    // may cover one, into that field of their nodes.
    void nodeDistances(Tile tile, ProbeCentre centre, int top, std::uint32_t Node::*field) {
        const auto w = static_cast<std::size_t>(m_map.width());
        std::uint32_t* distance = m_memory.order.get();
        const QRect done = probeDistances(m_map, tile, centre, false, distance, w, top);
        for (int y = done.top(); y <= done.bottom(); ++y)
            for (int x = done.left(); x <= done.right(); ++x)
                m_nodes[row(y) + x].*field = distance[y * w + x];
    }

    // The order: every anchor where some probe of the parity fits, widest first, each width's
    // in reading order; the parents hold the widest probes on the way in and kAbsent on the way
    // out. `levelEnd` comes with the count of anchors of each width and leaves with where those
    // of each width end in the order. Returns how many anchors there are.
    std::size_t sortByBest(std::vector<std::uint32_t>& levelEnd) {
        levelEnd[0] = 0; // where no probe fits: no anchor
        std::uint32_t end = 0;
        for (std::size_t level = levelEnd.size(); level-- > 0;) {
            end += levelEnd[level];
            levelEnd[level] = end - levelEnd[level]; // for now where they begin
        }
        // Among many walls the anchors take far less room than the distances took.
        if (end <= m_memory.orderRoom / 2)
            m_memory.orderFor(end);
        std::uint32_t* order = m_memory.order.get();
        std::uint32_t* at = levelEnd.data();
        const int w = m_map.width();
        for (int y = 0; y < m_map.height(); ++y) {
            const std::size_t begin = row(y);
            Node* nodes = m_nodes + begin;
            // A run of one width at a time, so that its anchors go to the order in one stretch.
            for (int x = 0; x < w;) {
                const std::uint32_t level = nodes[x].parent;
                nodes[x].parent = kAbsent;
                int end = x + 1;
                for (; end < w && nodes[end].parent == level; ++end)
                    nodes[end].parent = kAbsent;
                if (level > 0) {
                    std::uint32_t* to = order + at[level];
                    for (int k = x; k < end; ++k)
                        to[k - x] = static_cast<std::uint32_t>(begin + k);
                    at[level] += static_cast<std::uint32_t>(end - x);
                }
                x = end;
            }
        }
        return end;
    }

    bool several() const { return !m_entryArea.empty(); }

    static constexpr std::size_t kAhead = 8;

    struct NearArea {
        QRect region; // the anchors whose probes can cover a pixel of the area
        std::vector<std::uint32_t> distance; // per anchor of the region, row by row
    };

    void fetch(std::uint32_t a) const {
        __builtin_prefetch(&m_nodes[a]);
        __builtin_prefetch(&m_nodes[a - m_pitch]);
        __builtin_prefetch(&m_nodes[a + m_pitch]);
    }

    // The pixel index of the anchor at `a`.
    std::uint32_t pixelOf(std::uint32_t a) const {
        const auto y = static_cast<std::uint32_t>(a / m_pitch) - 1;
        const auto x = static_cast<std::uint32_t>(a % m_pitch);
        return y * static_cast<std::uint32_t>(m_map.width()) + x;
    }

    bool joined(std::size_t b) const { return m_nodes[b].parent != kAbsent; }

    void join(std::uint32_t a) {
        m_anchor = a;
        m_nodes[a].parent = kRoot;
        // Until now the distance to the nearest starting pixel; from now the set's entry.
        const std::uint32_t nearestStart = m_nodes[a].entry;
        m_nodes[a].entry = kAbsent;
        // With several areas, those the probe covers join the whole set after the merges, so
        // that a set of one anchor never needs a list of its own.
        m_covered.clear();
        if (nearestStart < m_levelSquare) {
            if (!several()) {
                m_nodes[a].entry = nearestStart;
            } else {
                const auto y = static_cast<int>(a / m_pitch) - 1;
                const auto x = static_cast<int>(a % m_pitch);
                if (!m_nearAreas.empty())
                    addNearAreas(x, y);
                else
                    addAreasCovered(x, y);
            }
        }
        forEachEntry(a, [&](std::uint32_t area, std::uint32_t d) {
            offer(area, std::max(m_nodes[a].finish, d));
        });
        std::uint32_t root = a;
        const auto meet = [&](std::size_t b) {
            if (!joined(b))
                return;
            const std::uint32_t other = find(static_cast<std::uint32_t>(b));
            if (other != root)
                root = merge(root, other);
        };
        // An anchor above or below whose neighbour on the left has joined, as has the left
        // one, is in the left one's set already: the look at it is spared.
        const bool left = joined(a - 1);
        meet(a - 1);
        meet(a + 1);
        if (!left || !joined(a - 1 - m_pitch))
            meet(a - m_pitch);
        if (!left || !joined(a - 1 + m_pitch))
            meet(a + m_pitch);
        for (const auto& [area, d] : m_covered) {
            addEntry(root, area, d);
            offer(area, std::max(m_nodes[root].finish, d));
        }
    }
    void measureNearAreas(ProbeCentre centre, int top) {
        if (m_areas.count > kFewAreas)
            return;
        const int margin = top / 2 + 1;
        const QRect picture(0, 0, m_map.width(), m_map.height());
        std::size_t room = 0;
        for (const QRect& box : m_areas.areaBounds) {
            const QRect region = box.adjusted(-margin, -margin, margin, margin) & picture;
            room += static_cast<std::size_t>(region.width()) * region.height();
        }
        if (room > static_cast<std::size_t>(m_map.width()) * m_map.height() * 2)
            return;
        const QRect& bounds = m_areas.bounds;
        for (std::uint32_t k = 0; k < m_areas.areaBounds.size(); ++k) {
            NearArea near;
            near.region =
                m_areas.areaBounds[k].adjusted(-margin, -margin, margin, margin) & picture;
            const QRect& region = near.region;
            std::vector<std::uint8_t> sites(static_cast<std::size_t>(region.width()) *
                                            region.height());
            for (int y = std::max(bounds.top(), region.top());
                 y <= std::min(bounds.bottom(), region.bottom()); ++y)
                for (std::size_t r = m_areas.rowRuns[y - bounds.top()];
                     r < m_areas.rowRuns[y - bounds.top() + 1]; ++r) {
                    const TileAreas::Run& run = m_areas.runs[r];
                    if (run.area != k)
                        continue;
                    for (int x = run.left; x <= run.right; ++x)
                        sites[static_cast<std::size_t>(y - region.top()) * region.width() +
                              (x - region.left())] = 1;
                }
            probeDistances(sites, region.width(), region.height(), centre, near.distance);
            m_nearAreas.push_back(std::move(near));
        }
    }

    void addNearAreas(int x, int y) {
        for (std::uint32_t k = 0; k < m_nearAreas.size(); ++k) {
            const NearArea& near = m_nearAreas[k];
            if (!near.region.contains(x, y))
                continue;
            const std::uint32_t d = near.distance[static_cast<std::size_t>(y - near.region.top()) *
                                                      near.region.width() +
                                                  (x - near.region.left())];
            if (d < m_levelSquare)
                m_covered.emplace_back(k, d);
        }
    }

    // With several starting areas: each area whose pixels the probe at (ax, ay) covers, with the
    // least squared distance among them.
    void addAreasCovered(int ax, int ay) {
        if (m_spans.empty())
            m_spans = probeSpans(m_level);
        const int c = 1 - m_parity;
        const QRect& bounds = m_areas.bounds;
        // Only the probe's rows within the areas' bounds, and of those the rows with a run.
        const int firstRow = m_spans.front().dy + ay;
        const auto from = static_cast<std::size_t>(std::max(bounds.top() - firstRow, 0));
        const auto to = static_cast<std::size_t>(
            std::clamp(bounds.bottom() - firstRow + 1, 0, static_cast<int>(m_spans.size())));
        const std::vector<std::size_t>& rowRuns = m_areas.rowRuns;
        for (std::size_t k = from; k < to; ++k) {
            const ProbeSpan& s = m_spans[k];
            const int y = ay + s.dy - bounds.top(); // row of the bounds
            if (rowRuns[y] == rowRuns[y + 1])
                continue;
            const long long v = 2LL * s.dy + c;
            const int left = ax + s.left;
            const int right = ax + s.right;
            const auto end = m_areas.runs.begin() + static_cast<std::ptrdiff_t>(rowRuns[y + 1]);
            auto run = std::partition_point(
                m_areas.runs.begin() + static_cast<std::ptrdiff_t>(rowRuns[y]), end,
                [left](const TileAreas::Run& r) { return r.right < left; });
            for (; run != end && run->left <= right; ++run) {
                // The run's pixel nearest the probe's centre column.
                const int x =
                    std::clamp(ax, std::max(run->left, left), std::min(run->right, right));
                const std::uint32_t area = run->area;
                const long long u = 2LL * (x - ax) + c;
                const auto d = static_cast<std::uint32_t>(u * u + v * v);
                // m_seenAt[area] points into m_covered only if the area is there already.
                const std::uint32_t at = m_seenAt[area];
                if (at < m_covered.size() && m_covered[at].first == area) {
                    m_covered[at].second = std::min(m_covered[at].second, d);
                } else {
                    m_seenAt[area] = static_cast<std::uint32_t>(m_covered.size());
                    m_covered.emplace_back(area, d);
                }
            }
        }
    }

    // A root's parent slot holds kRoot and its rank; every other one its parent (path halving).
    std::uint32_t find(std::uint32_t i) {
        while ((m_nodes[i].parent & kRoot) == 0) {
            const std::uint32_t up = m_nodes[i].parent;
            if ((m_nodes[up].parent & kRoot) != 0)
                return up;
            m_nodes[i].parent = m_nodes[up].parent;
            i = m_nodes[up].parent;
        }
        return i;
    }

    std::size_t entryCount(std::uint32_t r) const {
        if (!several())
            return m_nodes[r].entry == kAbsent ? 0 : 1;
        if (m_entryArea[r] == kAbsent)
            return 0;
        return m_entryArea[r] == kList ? m_lists[m_nodes[r].entry].size() : 1;
    }

    template <typename Visit> void forEachEntry(std::uint32_t r, Visit visit) const {
        if (!several()) {
            if (m_nodes[r].entry != kAbsent)
                visit(0, m_nodes[r].entry);
        } else if (m_entryArea[r] == kList) {
            for (const auto& [area, d] : m_lists[m_nodes[r].entry])
                visit(area, d);
        } else if (m_entryArea[r] != kAbsent) {
            visit(m_entryArea[r], m_nodes[r].entry);
        }
    }

    void addEntry(std::uint32_t r, std::uint32_t area, std::uint32_t d) {
        if (!several()) {
            m_nodes[r].entry = std::min(m_nodes[r].entry, d);
            return;
        }
        std::uint32_t& own = m_entryArea[r];
        if (own == kAbsent) {
            own = area;
            m_nodes[r].entry = d;
        } else if (own == area) {
            m_nodes[r].entry = std::min(m_nodes[r].entry, d);
        } else if (own == kList) {
            const auto [at, added] = m_lists[m_nodes[r].entry].try_emplace(area, d);
            if (!added)
                at->second = std::min(at->second, d);
        } else {
            std::uint32_t list = 0;
            if (m_freeLists.empty()) {
                list = static_cast<std::uint32_t>(m_lists.size());
                m_lists.emplace_back();
            } else {
                list = m_freeLists.back();
                m_freeLists.pop_back();
            }
            m_lists[list] = {{own, m_nodes[r].entry}, {area, d}};
            own = kList;
            m_nodes[r].entry = list;
        }
    }

    // Joins the sets of roots x and y: under the one with more starting areas, or else under the
    // one of higher rank; returns the root of the whole.
    std::uint32_t merge(std::uint32_t x, std::uint32_t y) {
        const std::size_t ex = entryCount(x);
        const std::size_t ey = entryCount(y);
        if (ex != ey ? ex < ey : m_nodes[x].parent < m_nodes[y].parent)
            std::swap(x, y);
        if (m_nodes[x].parent <= m_nodes[y].parent)
            m_nodes[x].parent = m_nodes[y].parent + 1;
        const std::uint32_t finish = std::min(m_nodes[x].finish, m_nodes[y].finish);
        m_nodes[y].parent = x;
        if (ex + ey == 0) { // most sets hold no starting area
            m_nodes[x].finish = finish;
            return x;
        }
        const auto offerAll = [&](std::uint32_t r) {
            if (m_nodes[r].finish > finish && finish < m_levelSquare)
                forEachEntry(r, [&](std::uint32_t area, std::uint32_t d) {
                    offer(area, std::max(finish, d));
                });
        };
        offerAll(x);
        offerAll(y);
        if (several() && m_entryArea[y] == kList) {
            auto moved = std::move(m_lists[m_nodes[y].entry]);
            m_lists[m_nodes[y].entry] = {};
            m_freeLists.push_back(m_nodes[y].entry); // for the next set that needs a list
            for (const auto& [area, d] : moved)
                addEntry(x, area, d);
        } else {
            forEachEntry(y, [&](std::uint32_t area, std::uint32_t d) { addEntry(x, area, d); });
        }
        m_nodes[x].finish = finish;
        return x;
    }

    void offer(std::uint32_t area, std::uint32_t key) {
        if (key < m_levelSquare && key < m_key[area]) {
            m_key[area] = key;
            m_steps.push_back({area, m_level, key, pixelOf(m_anchor)});
            if (key == m_leastKey)
                --m_open;
        }
    }

    const LevelMap& m_map;
    int m_parity;
    const TileAreas& m_areas;
    std::vector<LevelPassage::Step>& m_steps;

    PassMemory& m_memory;
    std::size_t m_pitch;
    Node* m_nodes;
    // With several starting areas, per set that area, kList or kAbsent; empty with one area.
    std::vector<std::uint32_t>& m_entryArea;
    std::vector<std::uint32_t> m_key; // per area
    std::vector<NearArea> m_nearAreas;
    std::vector<std::unordered_map<std::uint32_t, std::uint32_t>> m_lists;
    std::vector<std::uint32_t> m_freeLists;

    std::vector<std::uint32_t> m_seenAt; // per area, where m_covered may hold it
    std::vector<std::pair<std::uint32_t, std::uint32_t>> m_covered; // areas and distances
    std::vector<ProbeSpan> m_spans; // of the current level, once needed

    std::uint16_t m_level = 0;
    std::uint32_t m_levelSquare = 0;
    std::uint32_t m_anchor = 0;
    std::uint32_t m_leastKey;
    std::size_t m_open; // areas whose key is above the least
};

} // namespace

const LevelPassage::Step* LevelPassage::stepAt(std::size_t start, int width) const {
    if (width < 1 || start >= starts.size() || m_firstStep[width % 2].empty())
        return nullptr;
    const std::vector<Step>& steps = m_steps[width % 2];
    const auto begin = steps.begin() + m_firstStep[width % 2][start];
    const auto end = steps.begin() + m_firstStep[width % 2][start + 1];
    const auto after =
        std::partition_point(begin, end, [width](const Step& s) { return s.level >= width; });
    return after == begin ? nullptr : &*(after - 1);
}

bool LevelPassage::reaches(std::size_t start, int width) const {
    const Step* step = stepAt(start, width);
    return step &&
           step->key < static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(width);
}

LevelCheckResult LevelPassage::verdict(int corridorWidth) const {
    LevelCheckResult result;
    if (!loads) {
        result.reasons = refusal;
        return result;
    }
    result.loads = true;
    result.size = size;
    result.startAreas = static_cast<int>(starts.size());
    result.finishAreas = finishAreas;
    if (finishAreas > 0)
        for (std::size_t k = 0; k < starts.size(); ++k) {
            if (reaches(k, corridorWidth))
                continue;
            if (result.sealedStarts.size() < kListedSealedStarts)
                result.sealedStarts.append(starts[k].first);
            ++result.sealedCount;
        }
    judgeLevel(result, corridorWidth);
    return result;
}

void LevelPassage::findNarrowest() {
    // Per parity, how many areas reach a finish at each width, from the widths of each step.
    int top = 0;
    for (const std::vector<Step>& steps : m_steps)
        for (const Step& s : steps)
            top = std::max<int>(top, s.level);
    std::vector<int> change(static_cast<std::size_t>(top) + 3, 0);
    for (int parity = 0; parity < 2; ++parity) {
        const std::vector<Step>& steps = m_steps[parity];
        for (std::size_t k = 0; k < starts.size(); ++k) {
            const std::uint32_t end = m_firstStep[parity][k + 1];
            for (std::uint32_t i = m_firstStep[parity][k]; i < end; ++i) {
                const int below = i + 1 < end ? steps[i + 1].level : parity - 2;
                const int low = std::max(narrowestBeyond(steps[i].key, parity), below + 2);
                if (low <= steps[i].level) {
                    ++change[low];
                    --change[steps[i].level + 2];
                }
            }
            if (m_firstStep[parity][k] < end)
                starts[k].widest =
                    std::max<int>(starts[k].widest, steps[m_firstStep[parity][k]].level);
        }
    }
    const auto areas = static_cast<int>(starts.size());
    std::array<int, 2> count{};
    for (int w = 1; w <= top; ++w) {
        count[w % 2] += change[w];
        if (areas > 0 && finishAreas > 0 && count[w % 2] == areas)
            narrowest = w;
    }
    if (narrowest == 0)
        return;
    std::size_t tightest = 0;
    for (std::size_t k = 1; k < starts.size(); ++k)
        if (starts[k].widest < starts[tightest].widest)
            tightest = k;
    const std::uint32_t anchor = stepAt(tightest, narrowest)->anchor;
    narrowestPoint = QPoint(static_cast<int>(anchor % m_width), static_cast<int>(anchor / m_width));
}

LevelPassage measurePassage(QImage picture) {
    LevelPassage result;
    result.refusal = pictureRefusal(picture);
    if (!result.refusal.isEmpty())
        return result;
    result.loads = true;
    result.size = picture.size();
    LevelMap map(picture);
    picture = QImage();
    result.m_width = map.width();

    TileAreas areas = labelAreas(map, Tile::Start);
    result.starts.reserve(areas.count);
    for (const QPoint first : areas.first)
        result.starts.push_back({first, 0});
    areas.first = std::vector<QPoint>(); // given back: kept in the result
    result.finishAreas = static_cast<int>(labelAreas(map, Tile::Finish).count);
    if (!result.starts.empty() && result.finishAreas > 0) {
        PassMemory memory(map);
        for (int parity = 0; parity < 2; ++parity)
            ParityPass(map, parity, areas, memory, result.m_steps[parity]).run();
    }

    for (int parity = 0; parity < 2; ++parity) {
        std::vector<LevelPassage::Step>& steps = result.m_steps[parity];
        std::stable_sort(steps.begin(), steps.end(),
                         [](const LevelPassage::Step& a, const LevelPassage::Step& b) {
                             return a.area < b.area;
                         });
        std::vector<std::uint32_t>& first = result.m_firstStep[parity];
        first.assign(areas.count + 1, 0);
        for (const LevelPassage::Step& s : steps)
            ++first[s.area + 1];
        for (std::size_t k = 1; k < first.size(); ++k)
            first[k] += first[k - 1];
    }
    result.findNarrowest();
    return result;
}

} // namespace kf
