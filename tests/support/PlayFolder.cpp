#include "support/PlayFolder.h"

#include "creator/LevelBitmap.h"

#include <QFile>
#include <QPainter>

namespace kf::test {

QString PlayFolder::writeBitmap(const QString& name, const QImage& image) const {
    return writeBytes(name, encodeLevelBitmap(image));
}

QString PlayFolder::writeBytes(const QString& name, const QByteArray& bytes) const {
    QFile f(file(name));
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return f.fileName();
}

QByteArray PlayFolder::readBytes(const QString& name) const {
    QFile f(file(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QImage smallTestLevel(int width, int height) {
    QImage level(width, height, QImage::Format_RGB32);
    level.fill(Qt::white);
    QPainter p(&level);
    p.fillRect(0, 0, 10, height, QColor(0, 255, 0));
    p.fillRect(width - 10, 0, 10, height, QColor(255, 0, 0));
    p.fillRect(width / 2, 0, 1, height / 2, Qt::black);
    return level;
}

} // namespace kf::test
