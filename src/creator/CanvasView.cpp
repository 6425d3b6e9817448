#include "creator/CanvasView.h"

#include <QPaintEvent>
#include <QPainter>

namespace kf {

CanvasView::CanvasView(const LevelCanvas& canvas, QWidget* parent)
    : QWidget(parent), m_canvas(canvas) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setGeometry(canvas.image().rect());
}

void CanvasView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    // Level pixels stay sharp on scaled screens: never smooth the picture.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QRect r = event->rect();
    painter.drawImage(r.topLeft(), m_canvas.image(), r);
}

} // namespace kf
