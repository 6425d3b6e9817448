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

// The ring's centre on the widget: the middle of the picture pixel.
QPointF markerCentre(QPointF pixel) {
    return pixel + QPointF(0.5, 0.5);
}

// Every widget pixel the ring may touch, smoothing included.
QRect ringRect(QPointF pixel) {
    const double reach = kMarkerRadius + kMarkerLine;
    return QRectF(markerCentre(pixel) - QPointF(reach, reach), QSizeF(2 * reach, 2 * reach))
        .toAlignedRect()
        .adjusted(-1, -1, 1, 1);
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

QRect ImageView::labelRect(qsizetype index) const {
    const QImage& label = m_labels[index];
    if (label.isNull())
        return {};
    // Right of the ring, or left of it where the board ends on the right.
    const QSize size = (QSizeF(label.size()) / label.devicePixelRatio()).toSize();
    const QPointF centre = markerCentre(m_markers[index].centre);
    const int reach = int(std::ceil(kMarkerRadius + kMarkerLine)) + kLabelGap;
    int left = int(std::floor(centre.x())) + reach;
    if (left + size.width() > width())
        left = int(std::floor(centre.x())) - reach - size.width();
    return {QPoint(left, int(std::floor(centre.y())) - size.height() / 2), size};
}

QRect ImageView::markerArea(qsizetype index) const {
    return ringRect(m_markers[index].centre).united(labelRect(index));
}

void ImageView::setMarkers(const QList<BoardMarker>& markers) {
    // The places of the markers that change, before and after.
    QRegion changed;
    for (qsizetype i = 0; i < m_markers.size(); ++i) {
        if (i >= markers.size() || markers[i] != m_markers[i])
            changed += markerArea(i);
    }
    QList<QImage> labels;
    labels.reserve(markers.size());
    for (qsizetype i = 0; i < markers.size(); ++i) {
        const bool sameLabel = i < m_markers.size() && markers[i].label == m_markers[i].label &&
                               markers[i].color == m_markers[i].color;
        labels.append(sameLabel ? m_labels[i]
                                : labelImage(markers[i], font(), devicePixelRatioF()));
    }
    const QList<BoardMarker> before = std::exchange(m_markers, markers);
    m_labels = std::move(labels);
    for (qsizetype i = 0; i < m_markers.size(); ++i) {
        if (i >= before.size() || before[i] != m_markers[i])
            changed += markerArea(i);
    }
    if (!changed.isEmpty())
        update(changed);
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
    for (qsizetype i = 0; i < m_labels.size(); ++i) {
        if (!m_labels[i].isNull() && region.intersects(labelRect(i)))
            painter.drawImage(labelRect(i).topLeft(), m_labels[i]);
    }
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    for (const BoardMarker& marker : m_markers) {
        if (!region.intersects(ringRect(marker.centre)))
            continue;
        painter.setPen(QPen(QColor::fromRgb(marker.color), kMarkerLine));
        painter.drawEllipse(markerCentre(marker.centre), kMarkerRadius, kMarkerRadius);
    }
}

} // namespace kf
