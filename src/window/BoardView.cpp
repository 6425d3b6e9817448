#include "window/BoardView.h"

#include <QPaintEvent>
#include <QPainter>

namespace kf {

BoardView::BoardView(const LevelBoard& board, QWidget* parent) : QWidget(parent), m_board(board) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    pictureChanged();
}

void BoardView::pictureChanged() {
    move(m_board.origin());
    resize(m_board.size());
    setVisible(m_board.hasPicture());
    update();
}

void BoardView::updateClientRect(const QRect& client) {
    if (!client.isEmpty())
        update(client.translated(-m_board.origin()));
}

void BoardView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    // Walls must stay sharp on scaled screens: never smooth the picture.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QRect r = event->rect();
    painter.drawImage(r.topLeft(), m_board.shownImage(), r);
}

} // namespace kf
