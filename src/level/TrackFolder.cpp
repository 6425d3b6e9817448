#include "level/TrackFolder.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace kf {

namespace {

bool levelNameBefore(const QString& a, const QString& b) {
    if (const int folded = a.compare(b, Qt::CaseInsensitive); folded != 0)
        return folded < 0;
    return a.compare(b, Qt::CaseSensitive) < 0;
}

} // namespace

QStringList levelFilesIn(const QString& folder) {
    const QDir dir(folder);
    // Name filters of QDir match in any case, as the file dialog's do.
    QStringList names = dir.entryList({QStringLiteral("*.bmp")}, QDir::Files, QDir::Unsorted);
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
