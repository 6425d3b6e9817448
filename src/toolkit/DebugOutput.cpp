#include "toolkit/DebugOutput.h"

#include <QDebug>

namespace kf {

void OutputDebugString(const QString& text) {
    // Qt's debug output ends every message with its own line feed (on standard error unless a
    // handler is installed), so the text's final line feed is not passed on twice.
    QString line = text;
    if (line.endsWith(QLatin1Char('\n')))
        line.chop(1);
    qDebug().noquote() << line;
}

} // namespace kf
