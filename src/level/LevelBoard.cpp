#include "level/LevelBoard.h"

#include <QPainter>

#include <algorithm>

namespace kf {

LevelBoard::LevelBoard(QPoint origin) : m_origin(origin) {}

void LevelBoard::setPicture(const QImage& picture) {
    // One fixed 32-bit format makes every pixel read a plain array access; the colours are
    // kept exactly, whatever depth the file had.
    m_picture = picture.convertToFormat(QImage::Format_RGB32);
    m_shown = m_picture;
}

void LevelBoard::clearTrail() {
    m_shown = m_picture;
}

QRect LevelBoard::drawTrailDot(QPoint client) {
    const QPoint p = client - m_origin;
    if (!m_shown.rect().contains(p))
        return {};
    m_shown.setPixel(p, rgbFromColorRef(kTrail));
    return {client, QSize(1, 1)};
}

QRect LevelBoard::drawTrailLine(QPoint from, QPoint to) {
    if (m_shown.isNull() || from == to)
        return {};
    const QPoint a = from - m_origin;
    const QPoint b = to - m_origin;
    // The end point keeps its colour: remember it, draw the whole line, then put it back.
    const bool endInside = m_shown.rect().contains(b);
    const QRgb endColor = endInside ? m_shown.pixel(b) : 0;
    {
        QPainter painter(&m_shown);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(QColor::fromRgb(rgbFromColorRef(kTrail)), 0));
        painter.drawLine(a, b);
    }
    if (endInside)
        m_shown.setPixel(b, endColor);
    // From corner to corner, both ends inside: QRect::normalized() would leave out the first
    // row or column of a line that runs up or to the left.
    const QRect line(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                     QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
    const QRect changed = line.intersected(m_shown.rect());
    return changed.translated(m_origin);
}

} // namespace kf
