#include "toolkit/ImageView.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>

#include <cmath>

namespace kf {

namespace {

// The ring: its radius to the middle of its line, and its line's width, in pixels.
constexpr double kMarkerRadius = 5;
constexpr double kMarkerLine = 2;
// The label: the height of its letters, its margin around them and its gap to the ring.
constexpr int kLabelPixels = 10;
constexpr int kLabelMargin = 2;
constexpr int kLabelGap = 2;

// A ring is drawn once per colour and quarter-pixel offset into a square of this many pixels
// each side of the pixel that holds its centre: ring, line and smoothing.
constexpr int kRingReach = 8;
constexpr int kRingPhases = 4;

// The pixel that holds the ring's centre on the widget (the middle of the picture pixel), and
// the centre's offset within it in quarters of a pixel.
QPoint ringPixel(QPointF centre) {
    return {int(std::floor(centre.x() + 0.5)), int(std::floor(centre.y() + 0.5))};
}
QPoint ringPhase(QPointF centre) {
    const QPointF within = centre + QPointF(0.5, 0.5) - QPointF(ringPixel(centre));
    return {std::min(int(within.x() * kRingPhases), kRingPhases - 1),
            std::min(int(within.y() * kRingPhases), kRingPhases - 1)};
}

// Every widget pixel the ring may touch.
QRect ringRect(QPointF centre) {
    const QPoint p = ringPixel(centre);
    return {p.x() - kRingReach, p.y() - kRingReach, 2 * kRingReach + 1, 2 * kRingReach + 1};
}

QImage ringImage(QRgb color, QPoint phase, qreal pixelRatio) {
    const int side = 2 * kRingReach + 1;
    QImage image(QSize(side, side) * pixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(pixelRatio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor::fromRgb(color), kMarkerLine));
    painter.setBrush(Qt::NoBrush);
    const QPointF centre = QPointF(kRingReach, kRingReach) + QPointF(phase) / kRingPhases;
    painter.drawEllipse(centre, kMarkerRadius, kMarkerRadius);
    return image;
}

// The label drawn once: the text in the ring's colour on a pale patch, so that it reads over
// walls and trail alike.
QImage labelImage(const BoardMarker& marker, const QFont& base, qreal pixelRatio) {
    if (marker.label.isEmpty())
        return {};
    QFont font = base;
    font.setPixelSize(kLabelPixels);
    font.setBold(true);
    const QFontMetrics metrics(font);
    const QSize size(metrics.horizontalAdvance(marker.label) + 2 * kLabelMargin,
                     metrics.height() + 2 * kLabelMargin);
    QImage image(size * pixelRatio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(pixelRatio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 210));
    painter.drawRoundedRect(QRectF(QPointF(0, 0), size), 3, 3);
    painter.setFont(font);
    painter.setPen(QColor::fromRgb(marker.color));
    painter.drawText(QRect(QPoint(0, 0), size), Qt::AlignCenter | Qt::TextSingleLine, marker.label);
    return image;
}

} // namespace

ImageView::ImageView(Source picture, QWidget* parent)
    : QWidget(parent), m_picture(std::move(picture)) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ImageView::showAt(QPoint origin) {
    const QImage& picture = m_picture();
    move(origin);
    resize(picture.size());
    setVisible(!picture.isNull());
    update();
}

void ImageView::updateClientRect(const QRect& client) {
    if (!client.isEmpty())
        update(client.translated(-pos()));
}

const QImage& ImageView::ringOf(const BoardMarker& marker) {
    // Kept by colour, screen scale (in hundredths) and offset.
    const QPoint phase = ringPhase(marker.centre);
    const qreal ratio = devicePixelRatioF();
    const quint64 key = quint64(marker.color) << 24 | quint64(std::lround(ratio * 100)) << 8 |
                        quint64(phase.x() * kRingPhases + phase.y());
    auto found = m_rings.find(key);
    if (found == m_rings.end())
        found = m_rings.insert(key, ringImage(marker.color, phase, ratio));
    return *found;
}

void ImageView::setMarkers(const QList<BoardMarker>& markers) {
    QList<DrawnMarker> drawn;
    drawn.reserve(markers.size());
    for (qsizetype i = 0; i < markers.size(); ++i) {
        const BoardMarker& m = markers[i];
        DrawnMarker d;
        d.ring = ringOf(m);
        d.ringAt = ringRect(m.centre);
        const bool sameLabel =
            i < m_markers.size() && m.label == m_markers[i].label && m.color == m_markers[i].color;
        d.label = sameLabel ? m_drawn[i].label : labelImage(m, font(), devicePixelRatioF());
        if (!d.label.isNull()) {
            // Right of the ring, or left of it where the board ends on the right.
            const QSize size = (QSizeF(d.label.size()) / d.label.devicePixelRatio()).toSize();
            int left = d.ringAt.right() + 1 + kLabelGap;
            if (left + size.width() > width())
                left = d.ringAt.left() - kLabelGap - size.width();
            d.labelAt = QRect(QPoint(left, d.ringAt.center().y() - size.height() / 2), size);
        }
        drawn.append(d);
    }
    // Each marker that changed repaints one rectangle around where it was and where it is:
    // a ring moves a few pixels between two steps. One request for all of them.
    QRegion changed;
    for (qsizetype i = 0; i < std::max(markers.size(), m_markers.size()); ++i) {
        const bool before = i < m_markers.size();
        const bool now = i < markers.size();
        if (before && now && markers[i] == m_markers[i])
            continue;
        QRect area;
        if (before)
            area = m_drawn[i].ringAt.united(m_drawn[i].labelAt);
        if (now)
            area = area.united(drawn[i].ringAt.united(drawn[i].labelAt));
        changed += area;
    }
    if (!changed.isEmpty())
        update(changed);
    m_markers = markers;
    m_drawn = std::move(drawn);
}

void ImageView::setOverlay(const QImage& overlay) {
    if (overlay.isNull() && m_overlay.isNull())
        return;
    m_overlay = overlay;
    update();
}

void ImageView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    // Walls must stay sharp on scaled screens: never smooth the picture.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    // Rectangle by rectangle: the rings' old and new places lie apart on the board, and their
    // bounding rectangle may be most of it.
    const QRegion& region = event->region();
    for (const QRect& r : region) {
        painter.drawImage(r.topLeft(), m_picture(), r);
        if (!m_overlay.isNull())
            painter.drawImage(r.topLeft(), m_overlay, r);
    }
    // The labels under every ring, so that no label hides a ring.
    for (const DrawnMarker& d : m_drawn) {
        if (!d.label.isNull() && region.intersects(d.labelAt))
            painter.drawImage(d.labelAt.topLeft(), d.label);
    }
    for (const DrawnMarker& d : m_drawn) {
        if (region.intersects(d.ringAt))
            painter.drawImage(d.ringAt.topLeft(), d.ring);
    }
}

} // namespace kf
