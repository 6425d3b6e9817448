#include "toolkit/DebugOutput.h"

#include <QDebug>

namespace kf {

void OutputDebugString(const QString& text) {
    qDebug().noquote() << text;
}

} // namespace kf
