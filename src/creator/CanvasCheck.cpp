#include "creator/CanvasCheck.h"

#include "check/LevelPassage.h"
#include "level/ColorCode.h"

#include <QPainter>

#include <vector>

namespace kf {

namespace {

// Inside a sealed starting area: diagonal stripes of the problem colour, half-transparent, so
// the area reads as marked over any colour; the stripes' period and width, in pixels.
constexpr int kTintAlpha = 0xB0;
constexpr int kStripePeriod = 6;
constexpr int kStripeWidth = 3;
// The ring's line, and how far its ticks reach out beyond it, in pixels.
constexpr double kRingLine = 2;
constexpr double kTickFrom = 3;
constexpr double kTickTo = 9;

bool isStartPixel(const QImage& picture, int x, int y) {
    return x >= 0 && y >= 0 && x < picture.width() && y < picture.height() &&
           isStart(colorRefFromRgb(picture.pixel(x, y)));
}

// Marks in `area` (one byte a pixel of `picture`) every starting pixel that touches `first`
// along a side or at a corner, as the checker joins a starting area.
void fillStartArea(const QImage& picture, QPoint first, std::vector<char>& area) {
    const int width = picture.width();
    std::vector<QPoint> open{first};
    area[first.y() * width + first.x()] = 1;
    while (!open.empty()) {
        const QPoint p = open.back();
        open.pop_back();
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                const int x = p.x() + dx;
                const int y = p.y() + dy;
                if (isStartPixel(picture, x, y) && !area[y * width + x]) {
                    area[y * width + x] = 1;
                    open.push_back({x, y});
                }
            }
        }
    }
}

// Stripes the marked pixels and outlines them where they meet an unmarked pixel or the edge.
void stripeAreas(const std::vector<char>& area, QImage& layer) {
    const int width = layer.width();
    const int height = layer.height();
    const auto marked = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < width && y < height && area[y * width + x];
    };
    const QRgb tint = qPremultiply(
        qRgba(qRed(kProblemColor), qGreen(kProblemColor), qBlue(kProblemColor), kTintAlpha));
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(layer.scanLine(y));
        for (int x = 0; x < width; ++x) {
            if (!marked(x, y))
                continue;
            const bool rim =
                !marked(x - 1, y) || !marked(x + 1, y) || !marked(x, y - 1) || !marked(x, y + 1);
            if (rim)
                row[x] = kProblemColor;
            else if ((x + y) % kStripePeriod < kStripeWidth)
                row[x] = tint;
        }
    }
}

// The probe of width `width` at `anchor`, outlined, and four ticks that point at it.
void markNarrowest(QPoint anchor, int width, QImage& layer) {
    // An odd probe is centred on its anchor pixel's centre, an even one on its top-left corner.
    const QPointF centre = width % 2 ? QPointF(anchor) + QPointF(0.5, 0.5) : QPointF(anchor);
    const double radius = width / 2.0;
    QPainter painter(&layer);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor::fromRgb(kNarrowestColor), kRingLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, radius, radius);
    for (const QPointF direction : {QPointF(1, 0), QPointF(-1, 0), QPointF(0, 1), QPointF(0, -1)})
        painter.drawLine(centre + direction * (radius + kTickFrom),
                         centre + direction * (radius + kTickTo));
}

} // namespace

CanvasCheck checkCanvas(const QImage& canvas) {
    CanvasCheck check;
    check.picture = canvas;
    const LevelPassage passage = measurePassage(canvas);
    check.result = passage.verdict(kDefaultCorridorWidth);
    check.narrowest = passage.narrowest;
    check.narrowestPoint = passage.narrowestPoint;
    check.problems = QImage(canvas.size(), QImage::Format_ARGB32_Premultiplied);
    check.problems.fill(Qt::transparent);
    if (!passage.loads)
        return check;

    const QImage picture = canvas.convertToFormat(QImage::Format_RGB32);
    std::vector<char> sealed(static_cast<std::size_t>(picture.width()) * picture.height(), 0);
    for (std::size_t i = 0; i < passage.starts.size(); ++i) {
        if (!passage.reaches(i, kDefaultCorridorWidth))
            fillStartArea(picture, passage.starts[i].first, sealed);
    }
    stripeAreas(sealed, check.problems);
    if (check.narrowest > 0)
        markNarrowest(check.narrowestPoint, check.narrowest, check.problems);
    return check;
}

QString playabilitySuffix(const CanvasCheck& check) {
    const QString dash = QStringLiteral(" — ");
    if (check.result.playable)
        return dash + QStringLiteral("playable, narrowest passage %1 px").arg(check.narrowest);
    return dash + QStringLiteral("not playable: ") +
           check.result.reasons.join(QStringLiteral("; "));
}

QString saveAnywayQuestion(const LevelCheckResult& result) {
    QString reasons = result.reasons.join(QStringLiteral("; "));
    if (!reasons.isEmpty())
        reasons[0] = reasons[0].toUpper();
    return reasons + QStringLiteral(". Save anyway?");
}

} // namespace kf
