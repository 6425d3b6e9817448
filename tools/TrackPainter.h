#pragma once

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QRect>
#include <QRgb>

#include <vector>

namespace kf {

// Paints one 400 x 400 track of the level pack: it starts as solid wall, free track is cut into
// it in the track's own light colour, arrows in a darker shade of that colour show the way, and
// the start and the finish are laid over the free track. Smoothing stays off, so every pixel is
// exactly one of those five colours.
class TrackPainter {
public:
    TrackPainter(QRgb track, QRgb arrow);

    // Free track along a centre line, `width` pixels across, rounded at its ends and bends.
    void corridor(const QPainterPath& centre, int width);
    // The same, with the width changing evenly along the line from `fromWidth` to `toWidth`.
    void taperedCorridor(const QPainterPath& centre, int fromWidth, int toWidth);
    // Free track filling a rectangle.
    void room(const QRect& area);
    // A chevron 20 pixels high pointing `degrees` clockwise from east (90 points down).
    void arrow(QPointF centre, qreal degrees);
    // The free track within `area` becomes the start or the finish once all else is painted;
    // walls there stay walls, so the areas take the shape of the track's ends.
    void start(const QRect& area);
    void finish(const QRect& area);

    // Ends painting, lays the start and the finish, and hands over the track.
    QImage picture();

private:
    struct Area {
        QRect rect;
        QRgb color;
    };

    QImage m_image;
    QPainter m_painter;
    QRgb m_track;
    QRgb m_arrow;
    std::vector<Area> m_areas;
};

} // namespace kf
