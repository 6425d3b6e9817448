#include "TrackPainter.h"

#include "level/ColorCode.h"

#include <QPolygonF>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace kf {

namespace {

constexpr int kTrackSize = 400;

} // namespace

TrackPainter::TrackPainter(QRgb track, QRgb arrow)
    : m_image(kTrackSize, kTrackSize, QImage::Format_RGB32), m_track(track), m_arrow(arrow) {
    m_image.fill(rgbFromColorRef(kWall));
    m_painter.begin(&m_image);
    m_painter.setRenderHint(QPainter::Antialiasing, false);
}

void TrackPainter::corridor(const QPainterPath& centre, int width) {
    m_painter.setPen(
        QPen(QColor::fromRgb(m_track), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawPath(centre);
}

void TrackPainter::taperedCorridor(const QPainterPath& centre, int fromWidth, int toWidth) {
    // Discs stamped a pixel apart along the line, each as wide as the corridor is there.
    m_painter.setPen(Qt::NoPen);
    m_painter.setBrush(QColor::fromRgb(m_track));
    const int steps = std::max(1, static_cast<int>(std::ceil(centre.length())));
    for (int i = 0; i <= steps; ++i) {
        const qreal t = static_cast<qreal>(i) / steps;
        const qreal radius = (fromWidth + (toWidth - fromWidth) * t) / 2;
        m_painter.drawEllipse(centre.pointAtPercent(t), radius, radius);
    }
}

void TrackPainter::room(const QRect& area) {
    m_painter.fillRect(area, QColor::fromRgb(m_track));
}

void TrackPainter::arrow(QPointF centre, qreal degrees) {
    const QPolygonF chevron({{-6, -10}, {4, 0}, {-6, 10}, {-2, 10}, {8, 0}, {-2, -10}});
    m_painter.setPen(Qt::NoPen);
    m_painter.setBrush(QColor::fromRgb(m_arrow));
    m_painter.drawPolygon(
        QTransform().translate(centre.x(), centre.y()).rotate(degrees).map(chevron));
}

void TrackPainter::start(const QRect& area) {
    m_areas.push_back({area, rgbFromColorRef(kStart)});
}

void TrackPainter::finish(const QRect& area) {
    m_areas.push_back({area, rgbFromColorRef(kFinish)});
}

QImage TrackPainter::picture() {
    m_painter.end();
    for (const Area& area : m_areas) {
        const QRect inside = area.rect & m_image.rect();
        for (int y = inside.top(); y <= inside.bottom(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(m_image.scanLine(y));
            for (int x = inside.left(); x <= inside.right(); ++x)
                if (!isWall(colorRefFromRgb(row[x])))
                    row[x] = area.color;
        }
    }
    return m_image;
}

} // namespace kf
