#include "check/LevelCheck.h"

#include "board/ColorCode.h"
#include "check/ColorAreas.h"
#include "check/ProbeShape.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace kf {

namespace {

// Per row, how many pixels up to each column pass a test, so that a run of any length within a
// row is counted in one step.
class RowCounts {
public:
    template <typename Test>
    RowCounts(int width, int height, Test passes)
        : m_stride(static_cast<std::size_t>(width) + 1), m_sums(m_stride * height, 0) {
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                m_sums[index(x + 1, y)] = m_sums[index(x, y)] + (passes(x, y) ? 1 : 0);
    }

    // The passing pixels of row y from column x0 to x1, both inside the picture.
    int count(int y, int x0, int x1) const {
        return m_sums[index(x1 + 1, y)] - m_sums[index(x0, y)];
    }

private:
    std::size_t index(int x, int y) const { return static_cast<std::size_t>(y) * m_stride + x; }

    std::size_t m_stride;
    std::vector<int> m_sums;
};

enum ProbeState : std::uint8_t { Blocked, Allowed, Reached };

// The first pixels of the starting areas that the probe cannot connect to a finishing area.
QList<QPoint> findSealedStarts(const QImage& image, const ColorAreas& starts, int width) {
    const int w = image.width();
    const int h = image.height();
    if (width > w || width > h)
        return starts.firstPixels; // the probe fits nowhere
    const auto colorAt = [&image](int x, int y) {
        return colorRefFromRgb(reinterpret_cast<const QRgb*>(image.constScanLine(y))[x]);
    };
    const RowCounts walls(w, h, [&](int x, int y) { return isWall(colorAt(x, y)); });
    const RowCounts finishes(w, h, [&](int x, int y) { return isFinish(colorAt(x, y)); });
    const std::vector<ProbeSpan> spans = probeSpans(width);
    const auto probeCount = [&spans](const RowCounts& counts, int x, int y) {
        int n = 0;
        for (const ProbeSpan& s : spans)
            n += counts.count(y + s.dy, x + s.left, x + s.right);
        return n;
    };

    // Anchors whose probe stays inside the picture; the widest span is the middle one.
    const int minX = width / 2;
    const int maxX = w - 1 - (width - 1) / 2;
    const int minY = width / 2;
    const int maxY = h - 1 - (width - 1) / 2;
    const auto index = [w](int x, int y) { return static_cast<std::size_t>(y) * w + x; };

    // Every allowed probe that covers a finishing pixel, then everything it reaches.
    std::vector<ProbeState> state(static_cast<std::size_t>(w) * h, Blocked);
    std::vector<QPoint> queue;
    for (int y = minY; y <= maxY; ++y)
        for (int x = minX; x <= maxX; ++x) {
            if (probeCount(walls, x, y) > 0)
                continue;
            const bool onFinish = probeCount(finishes, x, y) > 0;
            state[index(x, y)] = onFinish ? Reached : Allowed;
            if (onFinish)
                queue.push_back(QPoint(x, y));
        }
    for (std::size_t i = 0; i < queue.size(); ++i) {
        const QPoint p = queue[i];
        for (const QPoint next :
             {p + QPoint(1, 0), p - QPoint(1, 0), p + QPoint(0, 1), p - QPoint(0, 1)}) {
            if (next.x() < 0 || next.y() < 0 || next.x() >= w || next.y() >= h ||
                state[index(next.x(), next.y())] != Allowed)
                continue;
            state[index(next.x(), next.y())] = Reached;
            queue.push_back(next);
        }
    }

    // A starting pixel is connected when a reached probe covers it; a probe anchored at
    // (ax, ay) covers (x, y) when ay = y - dy and ax lies in [x - right, x - left] of that span.
    const RowCounts reached(w, h, [&](int x, int y) { return state[index(x, y)] == Reached; });
    std::vector<bool> connected(static_cast<std::size_t>(starts.count()), false);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int area = starts.at(x, y);
            if (area < 0 || connected[static_cast<std::size_t>(area)])
                continue;
            for (const ProbeSpan& s : spans) {
                const int ay = y - s.dy;
                const int ax0 = std::max(x - s.right, 0);
                const int ax1 = std::min(x - s.left, w - 1);
                if (ay >= 0 && ay < h && ax0 <= ax1 && reached.count(ay, ax0, ax1) > 0) {
                    connected[static_cast<std::size_t>(area)] = true;
                    break;
                }
            }
        }

    QList<QPoint> sealed;
    for (int area = 0; area < starts.count(); ++area)
        if (!connected[static_cast<std::size_t>(area)])
            sealed.append(starts.firstPixels[area]);
    return sealed;
}

} // namespace

LevelCheckResult checkLevel(const QImage& picture, int corridorWidth) {
    LevelCheckResult result;
    if (picture.isNull()) {
        result.reasons << QStringLiteral("not a loadable bitmap");
        return result;
    }
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    const ColorAreas starts = findColorAreas(image, kStart);
    const ColorAreas finishes = findColorAreas(image, kFinish);
    result.loads = true;
    result.size = image.size();
    result.startAreas = starts.count();
    result.finishAreas = finishes.count();
    if (result.startAreas == 0)
        result.reasons << QStringLiteral("no starting area");
    if (result.finishAreas == 0)
        result.reasons << QStringLiteral("no finishing area");
    if (result.reasons.isEmpty()) {
        result.sealedStarts = findSealedStarts(image, starts, corridorWidth);
        for (const QPoint p : result.sealedStarts)
            result.reasons << QStringLiteral("the starting area at (%1, %2) cannot reach a "
                                             "finishing area along %3")
                                  .arg(p.x())
                                  .arg(p.y())
                                  .arg(corridorPhrase(corridorWidth));
    }
    result.playable = result.reasons.isEmpty();
    return result;
}

QString corridorPhrase(int width) {
    return QStringLiteral("a corridor at least %1 pixel%2 wide")
        .arg(width)
        .arg(width == 1 ? "" : "s");
}

} // namespace kf
