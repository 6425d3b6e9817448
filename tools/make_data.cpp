// Draws the bundled data: the intro and the level pack, the decorative pictures that lie beside
// the program, the pictures that are built into it, and the desktop's icons of the game and of
// its race files.
//
//     kfmakedata <dataDir> <resDir> <iconDir> <iconSize>...
//
// Last, <dataDir>/FILES names the files drawn into <dataDir>, one a line: what is installed and
// seeded into a play folder is these, never whatever else an older build left in the folder.

#include "DataPictures.h"
#include "IntroLevel.h"
#include "LevelPack.h"
#include "ResourcePictures.h"
#include "creator/LevelBitmap.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QSaveFile>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

namespace {

bool writePng(const QImage& image, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG"))
        return false;
    return file.commit();
}

bool writeList(const QStringList& names, const QString& path) {
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) &&
           file.write((names.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8()) >= 0 &&
           file.commit();
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    std::vector<int> iconSizes;
    bool usable = argc >= 4;
    for (int i = 4; i < argc; ++i) {
        const int size = QByteArray(argv[i]).toInt(&usable);
        usable = usable && size >= 1 && size <= 1024;
        if (!usable)
            break;
        iconSizes.push_back(size);
    }
    if (!usable) {
        std::fprintf(stderr, "usage: kfmakedata <dataDir> <resDir> <iconDir> <iconSize>...\n");
        return 2;
    }
    const QDir dataDir(QString::fromLocal8Bit(argv[1]));
    const QDir resDir(QString::fromLocal8Bit(argv[2]));
    const QDir iconDir(QString::fromLocal8Bit(argv[3]));
    for (const QDir& dir : {dataDir, resDir, iconDir}) {
        if (!QDir().mkpath(dir.path())) {
            std::fprintf(stderr, "kfmakedata: cannot create folder %s\n",
                         qPrintable(QDir::toNativeSeparators(dir.path())));
            return 1;
        }
    }

    using Writer = std::function<bool(const QString&)>;
    const auto bmp = [](QImage image) -> Writer {
        return [image = std::move(image)](const QString& path) {
            return kf::writeLevelFile(image, path).ok();
        };
    };
    const QImage hidden = kf::drawHiddenPicture();
    std::vector<std::pair<QString, Writer>> files = {
        {dataDir.filePath("Level_00_INTRO.bmp"), bmp(kf::drawIntroLevel())},
        {dataDir.filePath("kf_1.gfx"), bmp(kf::drawMainLogo())},
        {dataDir.filePath("kf_x.gfx"), bmp(hidden)},
        {dataDir.filePath("kf_2.gfx"), bmp(kf::drawCreatorLogo())},
        {dataDir.filePath("kf_x.bmp"), bmp(hidden)},
        {dataDir.filePath("kf_3.gfx"), bmp(kf::drawScoreboardTile())},
    };
    for (const kf::PackTrack& track : kf::levelPack())
        files.emplace_back(dataDir.filePath(QString::fromLatin1(track.fileName)),
                           bmp(track.draw()));
    // The files above lie in the data folder, the rest elsewhere.
    const std::size_t dataFileCount = files.size();
    for (int size : {16, 32}) {
        const QImage icon = kf::drawAppIcon(size);
        files.emplace_back(resDir.filePath(QStringLiteral("icon128_%1.png").arg(size)),
                           [icon](const QString& path) { return writePng(icon, path); });
    }
    for (int size : iconSizes) {
        const QImage icon = kf::drawAppIcon(size);
        files.emplace_back(iconDir.filePath(QStringLiteral("kurvenflitzerl-%1.png").arg(size)),
                           [icon](const QString& path) { return writePng(icon, path); });
        const QImage raceIcon = kf::drawRaceIcon(size);
        files.emplace_back(iconDir.filePath(QStringLiteral("kurvenflitzerl-race-%1.png").arg(size)),
                           [raceIcon](const QString& path) { return writePng(raceIcon, path); });
    }
    for (int id : kf::kResourcePictureIds)
        files.emplace_back(resDir.filePath(QStringLiteral("%1.bmp").arg(id)),
                           bmp(kf::drawResourcePicture(id)));

    int failures = 0;
    for (const auto& [path, write] : files) {
        if (!write(path)) {
            std::fprintf(stderr, "kfmakedata: cannot write %s\n",
                         qPrintable(QDir::toNativeSeparators(path)));
            ++failures;
        }
    }
    if (failures > 0)
        return 1;
    QStringList dataNames;
    for (std::size_t i = 0; i < dataFileCount; ++i)
        dataNames.append(QFileInfo(files[i].first).fileName());
    const QString listPath = dataDir.filePath(QStringLiteral("FILES"));
    if (!writeList(dataNames, listPath)) {
        std::fprintf(stderr, "kfmakedata: cannot write %s\n",
                     qPrintable(QDir::toNativeSeparators(listPath)));
        return 1;
    }
    return 0;
}
