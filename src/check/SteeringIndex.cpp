#include "check/SteeringIndex.h"

#include "check/ProbeDistance.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <utility>
#include <vector>

namespace kf {

namespace {

// 1/W in units of 2^-20; 0 marks a wall.
constexpr std::uint32_t kInverseOne = std::uint32_t{1} << 20;
// √2 in units of 2^-17, for the diagonal steps.
constexpr std::uint64_t kRootTwo = 185364;
constexpr std::uint64_t kNotReached = ~std::uint64_t{0};
// The stop flag is looked at once per this many pixels settled.
constexpr std::uint32_t kStopCheckEvery = 4096;

// The floor of the square root: the floating-point root, made exact by integer steps.
std::uint32_t isqrt(std::uint32_t value) {
    std::uint64_t root = static_cast<std::uint64_t>(std::sqrt(static_cast<double>(value)));
    while (root * root > value)
        --root;
    while ((root + 1) * (root + 1) <= value)
        ++root;
    return static_cast<std::uint32_t>(root);
}

// Turns the probe distances of the walls, in place, into 1/W per pixel (0 on walls).
void inverseWidths(const LevelMap& map, std::vector<std::uint32_t>& values) {
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (map.tile(i) == Tile::Wall) {
            values[i] = 0;
            continue;
        }
        const std::uint32_t width = std::max<std::uint32_t>(1, isqrt(values[i]));
        values[i] = (kInverseOne + width / 2) / width;
    }
}

// The pixels waiting to be settled, by cost: a radix heap, which serves Dijkstra's search since
// no cost pushed is below the last one taken. Each entry lies in the bucket of the highest bit
// in which its cost differs from the last cost taken, and moves only to lower buckets.
class RadixHeap {
public:
    using Entry = std::pair<std::uint64_t, std::uint32_t>; // cost, pixel

    bool empty() const { return m_size == 0; }

    void push(std::uint64_t cost, std::uint32_t pixel) {
        m_buckets[bucketOf(cost)].push_back({cost, pixel});
        ++m_size;
    }

    // One of the entries of least cost.
    Entry pop() {
        if (m_buckets[0].empty()) {
            std::size_t b = 1;
            while (m_buckets[b].empty())
                ++b;
            std::vector<Entry>& from = m_buckets[b];
            m_last = std::min_element(from.begin(), from.end())->first;
            for (const Entry& e : from)
                m_buckets[bucketOf(e.first)].push_back(e);
            from.clear();
        }
        const Entry e = m_buckets[0].back();
        m_buckets[0].pop_back();
        --m_size;
        return e;
    }

private:
    std::size_t bucketOf(std::uint64_t cost) const {
        return static_cast<std::size_t>(std::bit_width(cost ^ m_last));
    }

    std::array<std::vector<Entry>, 65> m_buckets;
    std::uint64_t m_last = 0;
    std::size_t m_size = 0;
};

bool stopped(const std::atomic_bool* stop) {
    return stop && stop->load(std::memory_order_relaxed);
}

// log2(x) in units of 2^-16, for x > 0: the whole part from the highest bit, each bit of the
// fraction by squaring the mantissa.
std::int64_t log2Fixed(std::uint64_t x) {
    const int whole = std::bit_width(x) - 1;
    // The mantissa in [2^30, 2^31), a number from 1 to 2 in units of 2^-30.
    std::uint64_t m = whole >= 30 ? x >> (whole - 30) : x << (30 - whole);
    std::int64_t result = std::int64_t{whole} << 16;
    for (int bit = 15; bit >= 0; --bit) {
        m = (m * m) >> 30;
        if (m >= (std::uint64_t{1} << 31)) {
            m >>= 1;
            result += std::int64_t{1} << bit;
        }
    }
    return result;
}

} // namespace

std::optional<std::uint64_t> steeringIndex(const LevelMap& map, const std::atomic_bool* stop) {
    const std::size_t starts = map.count(Tile::Start);
    if (starts == 0 || map.count(Tile::Finish) == 0)
        return std::nullopt;
    const int w = map.width();
    const int h = map.height();
    std::vector<std::uint32_t> inverse;
    probeDistances(map, Tile::Wall, ProbeCentre::Pixel, true, inverse);
    inverseWidths(map, inverse);

    // From every finishing pixel at once, until each starting pixel is settled: the cost is the
    // same both ways, and so every starting area is known to reach a finish or not.
    std::vector<std::uint64_t> cost(inverse.size(), kNotReached);
    RadixHeap front;
    for (std::size_t i = 0; i < cost.size(); ++i) {
        if (map.tile(i) == Tile::Finish) {
            cost[i] = 0;
            front.push(0, static_cast<std::uint32_t>(i));
        }
    }
    const auto row = static_cast<std::ptrdiff_t>(w);
    struct Neighbour {
        int dx;
        int dy;
        std::ptrdiff_t offset;
    };
    std::array<Neighbour, 8> neighbours{};
    std::size_t k = 0;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            if (dx != 0 || dy != 0)
                neighbours[k++] = {dx, dy, dy * row + dx};
        }
    }
    std::uint64_t best = kNotReached;
    std::size_t startsLeft = starts;
    std::uint32_t settled = 0;
    while (!front.empty() && startsLeft > 0) {
        const auto [at, i] = front.pop();
        if (at != cost[i])
            continue;
        if (++settled % kStopCheckEvery == 0 && stopped(stop))
            return std::nullopt;
        if (map.tile(i) == Tile::Start) {
            best = std::min(best, at);
            --startsLeft;
        }
        const int x = static_cast<int>(i % static_cast<std::size_t>(w));
        const int y = static_cast<int>(i / static_cast<std::size_t>(w));
        const bool inside = x > 0 && y > 0 && x + 1 < w && y + 1 < h;
        const std::uint32_t here = inverse[i];
        for (const Neighbour& k : neighbours) {
            if (!inside && (x + k.dx < 0 || y + k.dy < 0 || x + k.dx >= w || y + k.dy >= h))
                continue;
            const std::size_t n = i + k.offset;
            if (inverse[n] == 0)
                continue;
            const std::uint64_t ends = std::uint64_t{here} + inverse[n];
            std::uint64_t step = ends;
            if (k.dx != 0 && k.dy != 0) {
                if (inverse[i + k.dx] == 0 && inverse[i + k.dy * row] == 0)
                    continue;
                step = (ends * kRootTwo + (std::uint64_t{1} << 16)) >> 17;
            }
            if (at + step < cost[n]) {
                cost[n] = at + step;
                front.push(at + step, static_cast<std::uint32_t>(n));
            }
        }
    }
    if (startsLeft > 0)
        return std::nullopt;
    return best;
}

int difficultyTenths(std::uint64_t fixedSteering) {
    const std::uint64_t gentlest = kGentlestSteering * kSteeringUnit;
    const std::uint64_t hardest = kHardestSteering * kSteeringUnit;
    if (fixedSteering <= gentlest)
        return 10;
    if (fixedSteering >= hardest)
        return 100;
    const std::int64_t above = log2Fixed(fixedSteering) - log2Fixed(gentlest);
    const std::int64_t span = log2Fixed(hardest) - log2Fixed(gentlest);
    return static_cast<int>(std::clamp<std::int64_t>(10 + (90 * above + span / 2) / span, 10, 100));
}

QString difficultyText(int tenths) {
    return QStringLiteral("%1.%2").arg(tenths / 10).arg(tenths % 10);
}

std::optional<int> pictureDifficulty(const QImage& picture, const std::atomic_bool* stop) {
    if (picture.isNull())
        return std::nullopt;
    const std::optional<std::uint64_t> index = steeringIndex(LevelMap(picture), stop);
    if (!index)
        return std::nullopt;
    return difficultyTenths(*index);
}

} // namespace kf
