#include "history/HistoryRun.h"

#include <QCryptographicHash>
#include <QFile>
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

QString fileSha256(const QString& path) {
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return {};
    return QString::fromLatin1(hash.result().toHex());
}

} // namespace kf
