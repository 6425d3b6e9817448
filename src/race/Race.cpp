#include "race/Race.h"

namespace kf {

bool isTrackFileName(const QString& name) {
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) &&
           !name.contains(QLatin1String("..")) && !name.contains(QChar(0)) &&
           name.endsWith(QLatin1String(".bmp"), Qt::CaseInsensitive);
}

QString shownName(const QString& name) {
    constexpr qsizetype kMaxShown = 80;
    QString shown = name.size() > kMaxShown ? name.left(kMaxShown - 1) + QChar(0x2026) : name;
    for (QChar& c : shown)
        if (c.category() == QChar::Other_Control)
            c = QChar::ReplacementCharacter;
    return shown;
}

} // namespace kf
