#include "history/HistoryRun.h"

#include <QCryptographicHash>
#include <QStandardPaths>

namespace kf {

bool isStorable(const HistoryRun& run) {
    return !run.levelSha256.isEmpty() && run.startedUtc.isValid() && run.timeMs >= 0 &&
           run.distancePx >= 0 && run.speedPxPerS >= 0 && int(run.outcome) >= 0 &&
           int(run.outcome) <= int(RunEnd::Release);
}

QString defaultHistoryPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/kurvenflitzerl/history.sqlite");
}

QString bytesSha256(const QByteArray& bytes) {
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

} // namespace kf
