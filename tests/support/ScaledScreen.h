#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QWidget>
#include <QtMath>
#include <optional>

namespace kf::test {

// The scale that the scale tests' program gives the screen (KF_TEST_SCALE_FACTOR): one logical
// pixel is kScale x kScale device pixels.
inline constexpr int kScale = 2;

// The picture pixel that a logical position lies in.
inline QPoint pixelUnder(QPointF position) {
    return {qFloor(position.x()), qFloor(position.y())};
}

// A press (MouseButtonPress), a movement with the left button held (MouseMove) or the release
// (MouseButtonRelease) at a client position in logical pixels, halves included, as a scaled
// screen gives them.
inline void sendLeftButton(QWidget* w, QEvent::Type type, QPointF client) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton);
    QMouseEvent event(type, client, w->mapToGlobal(client), button, held, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
}

// The first device pixel of `shot` that differs from the picture pixel it lies in; none when
// every picture pixel is an exact kScale x kScale square of its own colour.
inline std::optional<QPoint> firstBlurredPixel(const QImage& picture, const QImage& shot) {
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            if (shot.pixel(x, y) != picture.pixel(x / kScale, y / kScale))
                return QPoint(x, y);
        }
    }
    return std::nullopt;
}

// What `w` paints at device resolution when only `area` of it is repainted, over magenta.
inline QImage renderArea(QWidget* w, const QRect& area) {
    QPixmap shot(w->size() * kScale);
    shot.setDevicePixelRatio(kScale);
    shot.fill(Qt::magenta);
    // render() puts the top-left corner of the area at the offset it is given.
    w->render(&shot, area.topLeft(), QRegion(area), {});
    return shot.toImage();
}

// `picture` inside `area` over magenta: what renderArea must give, in logical pixels.
inline QImage pictureInArea(const QImage& picture, const QRect& area) {
    QImage expected(picture.size(), QImage::Format_RGB32);
    expected.fill(Qt::magenta);
    QPainter(&expected).drawImage(area.topLeft(), picture, area);
    return expected;
}

} // namespace kf::test
