#include "level/TrackFolder.h"

#include "level/FileName.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

#include <dirent.h>
#include <sys/stat.h>

namespace kf {

namespace {

bool levelNameBefore(const QString& a, const QString& b) {
    if (const int folded = a.compare(b, Qt::CaseInsensitive); folded != 0)
        return folded < 0;
    return a.compare(b, Qt::CaseSensitive) < 0;
}

// A file (or a link to one), as the file dialog lists it: no folder, pipe or device.
bool isFile(DIR* folder, const dirent* entry) {
    if (entry->d_type == DT_REG)
        return true;
    if (entry->d_type != DT_LNK && entry->d_type != DT_UNKNOWN)
        return false;
    struct stat st {};
    return ::fstatat(::dirfd(folder), entry->d_name, &st, 0) == 0 && S_ISREG(st.st_mode);
}

bool isLevelFileName(QByteArrayView name) {
    return !name.startsWith('.') && name.size() > 4 &&
           qstrnicmp(name.last(4).data(), ".bmp", 4) == 0;
}

} // namespace

QStringList levelFilesIn(const QString& folder) {
    // Listed in the system's own bytes, since Qt's listing turns a name that is not UTF-8 into
    // one that opens no file.
    const QDir dir(folder);
    QStringList names;
    if (DIR* listing = ::opendir(encodeFileName(dir.absolutePath()).constData())) {
        while (const dirent* entry = ::readdir(listing)) {
            if (isLevelFileName(entry->d_name) && isFile(listing, entry))
                names.append(decodeFileName(entry->d_name));
        }
        ::closedir(listing);
    }
    std::sort(names.begin(), names.end(), levelNameBefore);
    QStringList paths;
    paths.reserve(names.size());
    for (const QString& name : names)
        paths.append(dir.absoluteFilePath(name));
    return paths;
}

std::optional<QString> stepLevel(const QString& from, LevelStep step,
                                 const std::function<bool(const QString&)>& load) {
    const QFileInfo current(from);
    const QStringList files = levelFilesIn(current.absolutePath());
    const QString name = current.fileName();
    const auto before = [](const QString& path, const QString& n) {
        return levelNameBefore(QFileInfo(path).fileName(), n);
    };
    const auto after = [](const QString& n, const QString& path) {
        return levelNameBefore(n, QFileInfo(path).fileName());
    };
    if (step == LevelStep::Next) {
        for (auto it = std::upper_bound(files.begin(), files.end(), name, after); it != files.end();
             ++it) {
            if (load(*it))
                return *it;
        }
    } else {
        for (auto it = std::lower_bound(files.begin(), files.end(), name, before);
             it != files.begin();) {
            --it;
            if (load(*it))
                return *it;
        }
    }
    return std::nullopt;
}

} // namespace kf
