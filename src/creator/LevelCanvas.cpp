#include "creator/LevelCanvas.h"

#include <QPainter>
#include <QPen>

#include <utility>

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
    m_strokeStart = {};
    m_history.clear();
    m_image.fill(rgbFromColorRef(kWhite));
    QPainter painter(&m_image);
    painter.setPen(QPen(QColor(rgbFromColorRef(kWall)), 1));
    painter.drawRect(m_frame.adjusted(0, 0, -1, -1));
}

bool LevelCanvas::open(const QImage& level) {
    if (!fits(level.size()))
        return false;
    m_strokeStart = {};
    m_history.clear();
    replace(level);
    return true;
}

bool LevelCanvas::load(const QImage& level) {
    if (!fits(level.size()))
        return false;
    release();
    const QImage before = m_image;
    replace(level);
    m_history.record(before, m_image, m_image.rect());
    return true;
}

void LevelCanvas::replace(const QImage& level) {
    // The format every stroke and step works in; the colours are kept exactly.
    m_image = level.convertToFormat(QImage::Format_RGB32);
}

void LevelCanvas::press(QPoint point) {
    release();
    m_prevX = point.x();
    m_prevY = point.y();
    m_strokeStart = m_image;
    m_stroke = {};
}

QRect LevelCanvas::drag(QPoint point, int tool, int brushSize) {
    const QPoint from = previous();
    m_prevX = point.x();
    m_prevY = point.y();
    if (!insidePaintingBounds(from) || !insidePaintingBounds(point))
        return {};
    if (m_strokeStart.isNull()) {
        m_strokeStart = m_image;
        m_stroke = {};
    }
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
    const QRect changed =
        QRect(from, point).normalized().adjusted(-reach, -reach, reach, reach) & m_image.rect();
    m_stroke |= changed;
    return changed;
}

bool LevelCanvas::release() {
    if (m_strokeStart.isNull())
        return false;
    // The copy of the start goes with the stroke; the step keeps only the difference.
    const QImage start = std::exchange(m_strokeStart, QImage());
    return m_history.record(start, m_image, m_stroke);
}

QRect LevelCanvas::undo() {
    release();
    return m_history.undo(m_image);
}

QRect LevelCanvas::redo() {
    release();
    return m_history.redo(m_image);
}

} // namespace kf
