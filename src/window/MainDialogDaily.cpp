// The track of the day (key D, the board's menu): made from the UTC date the first time it is
// asked for, kept in the player's daily folder, and loaded as Load Level loads a track.

#include "creator/LevelBitmap.h"
#include "history/DailyStreak.h"
#include "level/BitmapFile.h"
#include "make/DailyTrack.h"
#include "make/TrackGenerator.h"
#include "race/RaceTrackPlace.h"
#include "toolkit/MessageBox.h"
#include "window/MainDialog.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace kf {

namespace {

// `<data folder>/kurvenflitzerl/daily`, made when missing.
QString dailyFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                           QStringLiteral("/kurvenflitzerl/daily");
    QDir().mkpath(folder);
    return folder;
}

} // namespace

void MainDialog::OnDailyTrack() {
    if (!levelChangeAllowed())
        return;
    const QDate today = QDateTime::currentDateTimeUtc().date();
    const QString name = dailyTrackName(today);
    const QString folder = dailyFolder();
    QString path = QDir(folder).filePath(name);
    // Made once: a track of the day already in the folder is the one played, whatever it holds.
    if (!QFileInfo::exists(path)) {
        const DailyTrack day = dailyTrack(today);
        const QByteArray bytes = encodeLevelBitmap(generateTrack(day.seed, day.difficulty).picture);
        QString reason;
        path = placeRaceTrack(folder, name, bytes, &reason);
        if (path.isEmpty()) {
            MessageBox(this, reason, MessageIcon::Warning);
            return;
        }
    }
    if (!loadLevelFile(path))
        MessageBox(this, unloadableLevelText(path), MessageIcon::Warning);
}

} // namespace kf
