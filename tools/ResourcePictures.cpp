#include "ResourcePictures.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace kf {

namespace {

// The outline of text in bold Liberation Sans at the largest whole pixel size whose inked
// extent fits into a box of the given size, moved so that its ink is centred on the box.
QPainterPath fittedText(const QString& text, const QSizeF& box) {
    QPainterPath best;
    for (int px = 4; px <= 200; ++px) {
        QFont font("Liberation Sans");
        font.setBold(true);
        font.setPixelSize(px);
        QPainterPath path;
        path.addText(0, 0, font, text);
        const QRectF ink = path.boundingRect();
        if (ink.width() > box.width() || ink.height() > box.height())
            break;
        best = path;
    }
    const QRectF ink = best.boundingRect();
    return best.translated(box.width() / 2 - ink.center().x(), box.height() / 2 - ink.center().y());
}

QImage textPicture(int width, int height, const QString& text, const QColor& colour, qreal margin) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    const QSizeF box(width - 2 * margin, height - 2 * margin);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(margin, margin);
    p.fillPath(fittedText(text, box), colour);
    return image;
}

// The track on the icon, in a 32 x 32 frame: an S-bend from the lower left to the upper right.
QPainterPath iconTrack() {
    QPainterPath path;
    path.moveTo(8, 24);
    path.cubicTo(30, 24, 2, 8, 24, 8);
    return path;
}

QImage drawIcon(int size) {
    const qreal s = size / 32.0;
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(s, s);

    // A white tile with a dark rim, so the icon reads on light and dark backgrounds alike.
    const qreal rim = size <= 16 ? 2.0 : 1.0;
    p.setPen(QPen(QColor(48, 48, 48), rim));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(rim / 2, rim / 2, 32 - rim, 32 - rim), 5, 5);

    p.setPen(QPen(Qt::black, size <= 16 ? 4.0 : 3.0, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    const QPainterPath track = iconTrack();
    p.drawPath(track);

    const qreal r = size <= 16 ? 5.0 : 4.0;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 255, 0));
    p.drawEllipse(track.pointAtPercent(0), r, r);
    p.setBrush(QColor(255, 0, 0));
    p.drawEllipse(track.pointAtPercent(1), r, r);
    return image;
}

// The cloth of the chequered flag: its top left corner and its cells, fewer and larger on the
// smallest icons (on whole pixels at 16), so they still read.
struct Chequer {
    QPointF corner;
    int columns;
    int rows;
    qreal cell;
};

Chequer flagChequer(int size) {
    if (size <= 16)
        return {{20, 18}, 2, 2, 4.0};
    if (size < 48)
        return {{21, 19}, 3, 2, 3.0};
    return {{21, 19}, 6, 4, 1.5};
}

// A chequered flag on a white tile filling the lower right quarter of the 32 x 32 frame, over
// the icon's plain corner: what marks a race file beside the game itself. The tile stays within
// the quarter, so the track's start and finish show as on the game's icon.
void drawFlagBadge(QPainter& p, int size) {
    const qreal rim = size <= 16 ? 2.0 : 1.0;
    // The tile's smoothed edge would tint the pixels beside the quarter at some sizes.
    p.setClipRect(QRectF(16, 16, 16, 16));
    p.setPen(QPen(QColor(48, 48, 48), rim));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(16 + rim / 2, 16 + rim / 2, 16 - rim, 16 - rim), 5, 5);

    const Chequer chequer = flagChequer(size);
    const QPointF cloth = chequer.corner;
    p.setPen(QPen(Qt::black, rim, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(cloth.x() - rim / 2, cloth.y()), QPointF(cloth.x() - rim / 2, 30));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    for (int row = 0; row < chequer.rows; ++row)
        for (int column = row % 2; column < chequer.columns; column += 2)
            p.drawRect(QRectF(cloth.x() + column * chequer.cell, cloth.y() + row * chequer.cell,
                              chequer.cell, chequer.cell));
    p.setPen(QPen(Qt::black, rim / 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(
        QRectF(cloth.x(), cloth.y(), chequer.columns * chequer.cell, chequer.rows * chequer.cell));
}

} // namespace

QImage drawResourcePicture(int id) {
    switch (id) {
    case kPictureMultiplayerMode:
        return textPicture(282, 26, "MULTIPLAYER MODE", Qt::black, 3);
    case kPictureFlagOn:
        return textPicture(19, 23, "O", QColor(0, 255, 0), 2);
    case kPictureFlagOff:
        return textPicture(19, 23, "X", QColor(255, 0, 0), 2);
    case kPicturePlayers:
        return textPicture(119, 21, "PLAYERS:", Qt::black, 3);
    case kPictureRounds:
        return textPicture(118, 21, "ROUNDS :", Qt::black, 3);
    default:
        return {};
    }
}

QImage drawAppIcon(int size) {
    if (size <= 0)
        return {};
    return drawIcon(size);
}

QImage drawRaceIcon(int size) {
    if (size <= 0)
        return {};
    QImage image = drawIcon(size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    drawFlagBadge(p, size);
    return image;
}

} // namespace kf
