#pragma once

#include "level/ColorCode.h"

#include <QImage>
#include <QPoint>
#include <QRect>

namespace kf {

// What the board shows: the level picture with the run's trail drawn on top, placed with its
// top-left corner at a fixed main-window client point. Every colour test of a run reads this
// image, and the board view paints exactly this image, so the game decides by what the player
// sees. The picture itself is kept apart, so clearing the trail restores it.
class LevelBoard {
public:
    explicit LevelBoard(QPoint origin = {11, 10});

    QPoint origin() const { return m_origin; }
    bool hasPicture() const { return !m_shown.isNull(); }
    QSize size() const { return m_shown.size(); }
    // Client rectangle that the picture covers (empty without a picture).
    QRect clientRect() const { return {m_origin, m_shown.size()}; }
    const QImage& shownImage() const { return m_shown; }
    // The level picture as loaded, without the trail.
    const QImage& picture() const { return m_picture; }

    // Replaces the picture and drops the trail; the picture is shown at its own size.
    void setPicture(const QImage& picture);
    // Shows the clean picture again.
    void clearTrail();

    // The colour shown at a main-window client point; kNoColor outside the picture.
    COLORREF colorAt(QPoint client) const {
        const int x = client.x() - m_origin.x();
        const int y = client.y() - m_origin.y();
        if (x < 0 || y < 0 || x >= m_shown.width() || y >= m_shown.height())
            return kNoColor;
        return colorRefFromRgb(reinterpret_cast<const QRgb*>(m_shown.constScanLine(y))[x]);
    }

    // Trail marks in the trail colour, in client coordinates. Each returns the client
    // rectangle that changed (empty when nothing of the mark lies on the picture).
    QRect drawTrailDot(QPoint client);
    // A one-pixel line from `from` to `to`, the end point itself left unpainted.
    QRect drawTrailLine(QPoint from, QPoint to);

private:
    QPoint m_origin;
    QImage m_picture; // the level picture as loaded, converted for reading
    QImage m_shown;   // m_picture plus the trail
};

} // namespace kf
