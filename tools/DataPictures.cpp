#include "DataPictures.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <numbers>

namespace kf {

namespace {

const QColor kStartGreen(0, 255, 0);
const QColor kFinishRed(255, 0, 0);

QFont logoFont(int pixelSize, bool bold = true, bool italic = false) {
    QFont font("Liberation Sans");
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

// Text as an outline whose ink is centred horizontally on cx with its baseline at y.
QPainterPath centredText(const QString& text, const QFont& font, qreal cx, qreal baseline) {
    QPainterPath path;
    path.addText(0, baseline, font, text);
    const QRectF ink = path.boundingRect();
    return path.translated(cx - ink.center().x(), 0);
}

// A little winding track from `from` to `to`: a dark line that swings up and down `bends` times,
// with the green start and the red finish as dots at its ends.
void drawTrackMotif(QPainter& p, QPointF from, QPointF to, qreal swing, int bends, qreal lineWidth,
                    qreal dotRadius) {
    QPainterPath line;
    line.moveTo(from);
    const qreal step = (to.x() - from.x()) / bends;
    const qreal dy = (to.y() - from.y()) / bends;
    for (int i = 0; i < bends; ++i) {
        const qreal x0 = from.x() + i * step;
        const qreal y0 = from.y() + i * dy;
        const qreal sign = i % 2 == 0 ? -1.0 : 1.0;
        line.cubicTo(x0 + step * 0.35, y0 + sign * swing, x0 + step * 0.65, y0 + dy + sign * swing,
                     x0 + step, y0 + dy);
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(20, 20, 20), lineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(line);

    p.setPen(QPen(QColor(40, 40, 40), 1.0));
    p.setBrush(kStartGreen);
    p.drawEllipse(from, dotRadius, dotRadius);
    p.setBrush(kFinishRed);
    p.drawEllipse(to, dotRadius, dotRadius);
}

// A paint brush whose bristle tip lies at the origin and whose handle points along `angle`
// degrees (0 = to the right, counted clockwise as on the screen).
void drawBrush(QPainter& p, QPointF tip, qreal angle) {
    p.save();
    p.translate(tip);
    p.rotate(angle);
    p.setPen(QPen(QColor(40, 40, 40), 1.0));

    // Handle.
    QPainterPath handle;
    handle.moveTo(30, -4);
    handle.lineTo(66, -5.5);
    handle.quadTo(74, 0, 66, 5.5);
    handle.lineTo(30, 4);
    handle.closeSubpath();
    p.setBrush(QColor(196, 128, 64));
    p.drawPath(handle);
    // Ferrule.
    p.setBrush(QColor(176, 180, 190));
    p.drawRect(QRectF(18, -5, 13, 10));
    p.drawLine(QLineF(22, -5, 22, 5));
    // Bristles, dipped in wall black.
    QPainterPath bristles;
    bristles.moveTo(18, -5);
    bristles.cubicTo(8, -5, 3, -2, 0, 0);
    bristles.cubicTo(3, 2, 8, 5, 18, 5);
    bristles.closeSubpath();
    p.setBrush(QColor(20, 20, 20));
    p.drawPath(bristles);
    p.restore();
}

} // namespace

QImage drawMainLogo() {
    QImage image(180, 78, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    drawTrackMotif(p, QPointF(14, 22), QPointF(166, 22), 18, 4, 3.0, 6.0);
    p.fillPath(centredText("Kurvenflitzerl", logoFont(25), 90, 66), QColor(20, 20, 20));
    return image;
}

QImage drawCreatorLogo() {
    QImage image(185, 150, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // A freshly painted wall stroke with the brush still at its end, between a start and a
    // finish dot.
    QPainterPath stroke;
    stroke.moveTo(30, 60);
    stroke.cubicTo(52, 20, 78, 82, 100, 50);
    p.setPen(QPen(QColor(20, 20, 20), 7.0, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(stroke);
    drawBrush(p, QPointF(100, 50), -35);
    p.setPen(QPen(QColor(40, 40, 40), 1.0));
    p.setBrush(kStartGreen);
    p.drawEllipse(QPointF(18, 30), 7, 7);
    p.setBrush(kFinishRed);
    p.drawEllipse(QPointF(168, 66), 7, 7);

    const QColor ink(20, 20, 20);
    p.fillPath(centredText("Level", logoFont(34), 92, 106), ink);
    p.fillPath(centredText("Creator", logoFont(34), 92, 140), ink);
    return image;
}

QImage drawHiddenPicture() {
    // A tiny chequered flag on a pole, drawn pixel by pixel.
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int y = 1; y < 16; ++y)
        image.setPixel(2, y, qRgb(60, 60, 60));
    for (int y = 2; y < 10; ++y)
        for (int x = 3; x < 15; ++x)
            image.setPixel(
                x, y, ((x - 3) / 3 + (y - 2) / 2) % 2 == 0 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    return image;
}

QImage drawScoreboardPattern(QSize size) {
    constexpr int kTile = kScoreboardTileSize;
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(250, 248, 240));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // A row of pale start and finish dots under a gently winding track, one wave and one pair of
    // dots per tile. Every shape repeats exactly after one tile in both directions, and the
    // shapes of the neighbouring tiles are drawn too, so whatever crosses an edge comes back in
    // at the opposite one.
    const int firstRow = -1;
    const int lastRow = size.height() / kTile + 1;
    const int firstColumn = -1;
    const int lastColumn = size.width() / kTile + 1;
    for (int row = firstRow; row <= lastRow; ++row) {
        const int top = row * kTile;
        QPainterPath wave;
        for (int x = firstColumn * kTile; x <= (lastColumn + 1) * kTile; ++x) {
            const qreal y = top + 16 + 6 * std::sin(2 * std::numbers::pi * x / kTile);
            if (x == firstColumn * kTile)
                wave.moveTo(x, y);
            else
                wave.lineTo(x, y);
        }
        p.setPen(QPen(QColor(234, 230, 218), 3.0));
        p.setBrush(Qt::NoBrush);
        p.drawPath(wave);

        p.setPen(Qt::NoPen);
        for (int column = firstColumn; column <= lastColumn; ++column) {
            const int left = column * kTile;
            p.setBrush(QColor(226, 242, 222));
            p.drawEllipse(QPointF(left + 12, top + 38), 2.5, 2.5);
            p.setBrush(QColor(246, 224, 220));
            p.drawEllipse(QPointF(left + 36, top + 38), 2.5, 2.5);
        }
    }
    return image;
}

QImage drawScoreboardTile() {
    return drawScoreboardPattern(QSize(kScoreboardTileSize, kScoreboardTileSize));
}

} // namespace kf
