#include "window/GhostSetting.h"

#include <QSettings>

namespace kf {

namespace {

QSettings settings() {
    return QSettings(QStringLiteral("kurvenflitzerl"), QStringLiteral("kurvenflitzerl"));
}

const QString kGhostKey = QStringLiteral("ghost");

} // namespace

bool ghostSetting() {
    return settings().value(kGhostKey, true).toBool();
}

void setGhostSetting(bool on) {
    settings().setValue(kGhostKey, on);
}

} // namespace kf
