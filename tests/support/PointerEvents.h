#pragma once

// The pointer as the window system moves it over a dialog: QTest has presses and releases, but
// its movements carry no button, so a movement with the button held is sent by hand.

#include <QApplication>
#include <QMouseEvent>
#include <QPoint>
#include <QTest>
#include <QWidget>

namespace kf::test {

// A movement to client point `p` of `widget`, with the left button held or not.
inline void movePointer(QWidget* widget, QPoint p, bool buttonHeld = true) {
    QMouseEvent event(QEvent::MouseMove, p, widget->mapToGlobal(p), Qt::NoButton,
                      buttonHeld ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

// A press at `from`, movements to half-way and to `to` with the button held, the release there.
inline void dragStroke(QWidget* widget, QPoint from, QPoint to) {
    QTest::mousePress(widget, Qt::LeftButton, {}, from);
    for (QPoint p : {from + (to - from) / 2, to})
        movePointer(widget, p);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, to);
}

} // namespace kf::test
