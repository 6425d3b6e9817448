#include "toolkit/ImageView.h"

#include <QPaintEvent>
#include <QPainter>

namespace kf {

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

void ImageView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    // Walls must stay sharp on scaled screens: never smooth the picture.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QRect r = event->rect();
    painter.drawImage(r.topLeft(), m_picture(), r);
}

} // namespace kf
