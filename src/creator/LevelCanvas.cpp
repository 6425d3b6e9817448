#include "creator/LevelCanvas.h"

#include <QPainter>
#include <QPen>

namespace kf {

CreatorPen creatorPen(int tool, int brushSize) {
    switch (tool) {
    case kToolStart:
        return {kStart, 6 * brushSize};
    case kToolFinish:
        return {kFinish, 6 * brushSize};
    case kToolEraser:
        return {kWhite, 11 * brushSize};
    default:
        return {kWall, 6 * brushSize};
    }
}

LevelCanvas::LevelCanvas(QRect frame)
    : m_frame(frame), m_image(kSize, kSize, QImage::Format_RGB32) {
    clear();
}

void LevelCanvas::clear() {
    m_image.fill(rgbFromColorRef(kWhite));
    QPainter painter(&m_image);
    painter.setPen(QPen(QColor(rgbFromColorRef(kWall)), 1));
    painter.drawRect(m_frame.adjusted(0, 0, -1, -1));
}

void LevelCanvas::press(QPoint point) {
    m_prevX = point.x();
    m_prevY = point.y();
}

QRect LevelCanvas::drag(QPoint point, int tool, int brushSize) {
    const QPoint from = previous();
    press(point);
    if (!insidePaintingBounds(from) || !insidePaintingBounds(point))
        return {};
    const CreatorPen pen = creatorPen(tool, brushSize);
    QPainter painter(&m_image);
    // No smoothing: every painted pixel must carry the tool's exact colour.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(QColor(rgbFromColorRef(pen.colour)), pen.width, Qt::SolidLine, Qt::RoundCap,
                        Qt::RoundJoin));
    painter.drawLine(from, point);
    // The round ends carry paint half a pen width beyond the end points; one more pixel
    // covers the rounding of the rasteriser.
    const int reach = pen.width / 2 + 2;
    return QRect(from, point).normalized().adjusted(-reach, -reach, reach, reach) & m_image.rect();
}

} // namespace kf
