#include "res/Pictures.h"

#include <QString>

namespace kf {

QImage resourcePicture(int id) {
    // A number without a picture names no resource file, and loading it gives a null image.
    return QImage(QStringLiteral(":/pictures/%1.bmp").arg(id), "BMP");
}

QIcon appIcon() {
    QIcon icon;
    icon.addFile(QStringLiteral(":/pictures/icon128_16.png"), QSize(16, 16));
    icon.addFile(QStringLiteral(":/pictures/icon128_32.png"), QSize(32, 32));
    return icon;
}

} // namespace kf
