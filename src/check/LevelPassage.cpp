#include "check/LevelPassage.h"

#include "check/ColorAreas.h"
#include "check/LevelMap.h"
#include "check/ProbeDistance.h"
#include "check/ProbeShape.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <utility>

namespace kf {

namespace {

constexpr std::uint32_t kAbsent = std::numeric_limits<std::uint32_t>::max();

// The starting areas of a map: pixels that touch along a side or at a corner are one area,
// numbered in reading order of their first pixels, as forEachArea visits them.
struct StartAreas {
    std::vector<QPoint> first;
    std::vector<std::uint32_t> label; // per pixel its area, kAbsent off the starting areas
};

StartAreas labelStarts(const LevelMap& map) {
    StartAreas areas;
    areas.label.assign(static_cast<std::size_t>(map.width()) * map.height(), kAbsent);
    std::vector<std::uint32_t> pending;
    for (int y = 0; y < map.height(); ++y)
        for (int x = 0; x < map.width(); ++x) {
            const std::size_t start = map.index(x, y);
            if (map.tile(start) != Tile::Start || areas.label[start] != kAbsent)
                continue;
            const auto area = static_cast<std::uint32_t>(areas.first.size());
            areas.first.push_back(QPoint(x, y));
            areas.label[start] = area;
            pending.push_back(static_cast<std::uint32_t>(start));
            while (!pending.empty()) {
                const std::size_t i = pending.back();
                pending.pop_back();
                const int px = static_cast<int>(i % map.width());
                const int py = static_cast<int>(i / map.width());
                for (int ny = std::max(py - 1, 0); ny <= std::min(py + 1, map.height() - 1); ++ny)
                    for (int nx = std::max(px - 1, 0); nx <= std::min(px + 1, map.width() - 1);
                         ++nx) {
                        const std::size_t n = map.index(nx, ny);
                        if (map.tile(n) == Tile::Start && areas.label[n] == kAbsent) {
                            areas.label[n] = area;
                            pending.push_back(static_cast<std::uint32_t>(n));
                        }
                    }
            }
        }
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
int widestWithin(std::uint64_t q, int parity) {
    auto w = static_cast<int>(squareRoot(q));
    if (w % 2 != parity)
        --w;
    return std::max(w, 0);
}

// The narrowest width of that parity whose square exceeds q.
int narrowestBeyond(std::uint64_t q, int parity) {
    auto w = static_cast<int>(squareRoot(q)) + 1;
    if (w % 2 != parity)
        ++w;
    return w;
}

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
    ParityPass(const LevelMap& map, int parity, const StartAreas& areas,
               std::vector<LevelPassage::Step>& steps)
        : m_map(map), m_parity(parity), m_areas(areas), m_steps(steps),
          m_key(areas.first.size(), kAbsent),
          m_seenBy(areas.first.size() > 1 ? m_key.size() : 0, kAbsent), m_seenAt(m_seenBy.size()) {}

    void run() {
        const ProbeCentre centre = m_parity == 1 ? ProbeCentre::Pixel : ProbeCentre::Corner;
        const std::size_t n = static_cast<std::size_t>(m_map.width()) * m_map.height();
        // The order is built in the memory that first holds each distance transform.
        probeDistances(m_map, Tile::Wall, centre, true, m_order);
        m_best.resize(n);
        int top = 0;
        for (std::size_t i = 0; i < n; ++i) {
            m_best[i] = static_cast<std::uint16_t>(widestWithin(m_order[i], m_parity));
            top = std::max<int>(top, m_best[i]);
        }
        probeDistances(m_map, Tile::Finish, centre, false, m_finish);
        probeDistances(m_map, Tile::Start, centre, false, m_entryAt);
        m_entryArea.assign(n, kAbsent);
        m_parent.assign(n, kAbsent);
        sortByBest(top);
        for (const std::uint32_t a : m_order)
            join(a);
    }

private:
    static constexpr std::uint32_t kList = kAbsent - 1; // m_entryArea of a set with a list

    // m_order: every anchor where some probe of the parity fits, widest first.
    void sortByBest(int top) {
        std::vector<std::size_t> from(static_cast<std::size_t>(top) + 2, 0);
        for (const std::uint16_t b : m_best)
            if (b > 0)
                ++from[top - b + 1];
        for (std::size_t k = 1; k < from.size(); ++k)
            from[k] += from[k - 1];
        m_order.assign(from.back(), 0);
        for (std::size_t i = 0; i < m_best.size(); ++i)
            if (m_best[i] > 0)
                m_order[from[top - m_best[i]]++] = static_cast<std::uint32_t>(i);
    }

    void join(std::uint32_t a) {
        if (m_best[a] != m_level) {
            m_level = m_best[a];
            m_levelSquare = static_cast<std::uint32_t>(m_level) * m_level;
            m_spans.clear();
        }
        m_anchor = a;
        m_parent[a] = a;
        const std::uint32_t nearestStart = m_entryAt[a];
        if (nearestStart < m_levelSquare) {
            if (m_areas.first.size() == 1)
                m_entryArea[a] = 0;
            else
                addAreasCovered(a);
        }
        forEachEntry(
            a, [&](std::uint32_t area, std::uint32_t d) { offer(area, std::max(m_finish[a], d)); });
        const int w = m_map.width();
        const int x = static_cast<int>(a % w);
        const int y = static_cast<int>(a / w);
        const auto meet = [&](bool inside, std::size_t b) {
            if (!inside || m_parent[b] == kAbsent)
                return;
            const std::uint32_t ra = find(a);
            const std::uint32_t rb = find(static_cast<std::uint32_t>(b));
            if (ra != rb)
                merge(ra, rb);
        };
        meet(x > 0, a - 1);
        meet(x + 1 < w, a + 1);
        meet(y > 0, a - static_cast<std::size_t>(w));
        meet(y + 1 < m_map.height(), a + static_cast<std::size_t>(w));
    }

    // With several starting areas: each area whose pixels the probe at `a` covers, with the least
    // squared distance among them.
    void addAreasCovered(std::uint32_t a) {
        if (m_spans.empty())
            m_spans = probeSpans(m_level);
        const int w = m_map.width();
        const int ax = static_cast<int>(a % w);
        const int ay = static_cast<int>(a / w);
        const int c = 1 - m_parity;
        m_touched.clear();
        for (const ProbeSpan& s : m_spans) {
            const int y = ay + s.dy;
            const long long v = 2LL * s.dy + c;
            for (int x = ax + s.left; x <= ax + s.right; ++x) {
                const std::uint32_t area = m_areas.label[m_map.index(x, y)];
                if (area == kAbsent)
                    continue;
                const long long u = 2LL * (x - ax) + c;
                const auto d = static_cast<std::uint32_t>(u * u + v * v);
                if (m_seenBy[area] != a) {
                    m_seenBy[area] = a;
                    m_seenAt[area] = d;
                    m_touched.push_back(area);
                } else {
                    m_seenAt[area] = std::min(m_seenAt[area], d);
                }
            }
        }
        for (const std::uint32_t area : m_touched)
            addEntry(a, area, m_seenAt[area]);
    }

    std::uint32_t find(std::uint32_t i) {
        while (m_parent[i] != i) {
            m_parent[i] = m_parent[m_parent[i]];
            i = m_parent[i];
        }
        return i;
    }

    std::size_t entryCount(std::uint32_t r) const {
        if (m_entryArea[r] == kAbsent)
            return 0;
        return m_entryArea[r] == kList ? m_lists[m_entryAt[r]].size() : 1;
    }

    template <typename Visit> void forEachEntry(std::uint32_t r, Visit visit) const {
        if (m_entryArea[r] == kList) {
            for (const auto& [area, d] : m_lists[m_entryAt[r]])
                visit(area, d);
        } else if (m_entryArea[r] != kAbsent) {
            visit(m_entryArea[r], m_entryAt[r]);
        }
    }

    void addEntry(std::uint32_t r, std::uint32_t area, std::uint32_t d) {
        std::uint32_t& own = m_entryArea[r];
        if (own == kAbsent) {
            own = area;
            m_entryAt[r] = d;
        } else if (own == area) {
            m_entryAt[r] = std::min(m_entryAt[r], d);
        } else if (own == kList) {
            const auto [at, added] = m_lists[m_entryAt[r]].try_emplace(area, d);
            if (!added)
                at->second = std::min(at->second, d);
        } else {
            m_lists.push_back({{own, m_entryAt[r]}, {area, d}});
            own = kList;
            m_entryAt[r] = static_cast<std::uint32_t>(m_lists.size() - 1);
        }
    }

    void merge(std::uint32_t x, std::uint32_t y) {
        if (entryCount(x) < entryCount(y))
            std::swap(x, y);
        const std::uint32_t finish = std::min(m_finish[x], m_finish[y]);
        const auto offerAll = [&](std::uint32_t r) {
            if (m_finish[r] > finish)
                forEachEntry(r, [&](std::uint32_t area, std::uint32_t d) {
                    offer(area, std::max(finish, d));
                });
        };
        offerAll(x);
        offerAll(y);
        if (m_entryArea[y] == kList) {
            auto moved = std::move(m_lists[m_entryAt[y]]);
            m_lists[m_entryAt[y]] = {};
            for (const auto& [area, d] : moved)
                addEntry(x, area, d);
        } else if (m_entryArea[y] != kAbsent) {
            addEntry(x, m_entryArea[y], m_entryAt[y]);
        }
        m_parent[y] = x;
        m_finish[x] = finish;
    }

    void offer(std::uint32_t area, std::uint32_t key) {
        if (key < m_levelSquare && key < m_key[area]) {
            m_key[area] = key;
            m_steps.push_back({area, m_level, key, m_anchor});
        }
    }

    const LevelMap& m_map;
    int m_parity;
    const StartAreas& m_areas;
    std::vector<LevelPassage::Step>& m_steps;
    std::vector<std::uint32_t> m_key; // per area

    std::vector<std::uint16_t> m_best;      // per pixel, the widest probe of the parity that fits
    std::vector<std::uint32_t> m_finish;    // per set, the least distance to a finishing pixel
    std::vector<std::uint32_t> m_entryAt;   // per set, its one starting area's distance or list
    std::vector<std::uint32_t> m_entryArea; // per set, that area, kList or kAbsent for none
    std::vector<std::uint32_t> m_parent;    // kAbsent until the anchor has joined
    std::vector<std::uint32_t> m_order;
    std::vector<std::unordered_map<std::uint32_t, std::uint32_t>> m_lists;

    std::vector<std::uint32_t> m_seenBy; // per area, the anchor that last covered it
    std::vector<std::uint32_t> m_seenAt;
    std::vector<std::uint32_t> m_touched;
    std::vector<ProbeSpan> m_spans; // of the current level, once needed

    std::uint16_t m_level = 0;
    std::uint32_t m_levelSquare = 0;
    std::uint32_t m_anchor = 0;
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

    StartAreas areas = labelStarts(map);
    if (areas.first.size() < 2)
        areas.label = {}; // one area needs no labels: a starting pixel is of that area
    for (const QPoint first : areas.first)
        result.starts.push_back({first, 0});
    result.finishAreas = forEachArea(map, Tile::Finish, LevelMap::Counted, [](QPoint, bool) {});
    if (!result.starts.empty() && result.finishAreas > 0)
        for (int parity = 0; parity < 2; ++parity)
            ParityPass(map, parity, areas, result.m_steps[parity]).run();

    for (int parity = 0; parity < 2; ++parity) {
        std::vector<LevelPassage::Step>& steps = result.m_steps[parity];
        std::stable_sort(steps.begin(), steps.end(),
                         [](const LevelPassage::Step& a, const LevelPassage::Step& b) {
                             return a.area < b.area;
                         });
        std::vector<std::uint32_t>& first = result.m_firstStep[parity];
        first.assign(areas.first.size() + 1, 0);
        for (const LevelPassage::Step& s : steps)
            ++first[s.area + 1];
        for (std::size_t k = 1; k < first.size(); ++k)
            first[k] += first[k - 1];
    }
    result.findNarrowest();
    return result;
}

} // namespace kf
