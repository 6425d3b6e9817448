#include "toolkit/ImageView.h"

#include <QPaintEvent>
#include <QPainter>

namespace kf {

namespace {

// The ring: its radius to the middle of its line, and its line's width, in pixels.
constexpr double kMarkerRadius = 5;
constexpr double kMarkerLine = 2;

// The ring's centre on the widget: the middle of the picture pixel.
QPointF markerCentre(QPointF pixel) {
    return pixel + QPointF(0.5, 0.5);
}

// Every widget pixel the ring may touch, smoothing included.
QRect markerRect(QPointF pixel) {
    const double reach = kMarkerRadius + kMarkerLine;
    return QRectF(markerCentre(pixel) - QPointF(reach, reach), QSizeF(2 * reach, 2 * reach))
        .toAlignedRect()
        .adjusted(-1, -1, 1, 1);
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

void ImageView::setMarker(std::optional<QPointF> centre) {
    if (centre == m_marker)
        return;
    if (m_marker)
        update(markerRect(*m_marker));
    m_marker = centre;
    if (m_marker)
        update(markerRect(*m_marker));
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
    const QRect r = event->rect();
    painter.drawImage(r.topLeft(), m_picture(), r);
    if (!m_overlay.isNull())
        painter.drawImage(r.topLeft(), m_overlay, r);
    if (m_marker && r.intersects(markerRect(*m_marker))) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor::fromRgb(kMarkerColor), kMarkerLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(markerCentre(*m_marker), kMarkerRadius, kMarkerRadius);
    }
}

} // namespace kf
