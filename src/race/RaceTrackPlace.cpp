#include "race/RaceTrackPlace.h"

#include "level/FileName.h"
#include "level/FileReplace.h"
#include "level/RegularFile.h"
#include "race/Race.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kf {

namespace {

// Names tried before the folder counts as full of other tracks of that name.
constexpr int kMaxNumber = 1000;

// "Spiral.bmp", then "Spiral-2.bmp", "Spiral-3.bmp", ...: the number before the extension.
QString numberedName(const QString& trackName, int number) {
    if (number == 1)
        return trackName;
    const qsizetype dot = trackName.size() - 4;
    return trackName.left(dot) + QLatin1Char('-') + QString::number(number) + trackName.mid(dot);
}

// Whether a regular file (not a link) at `path` holds exactly `bytes`.
bool holdsBytes(const QByteArray& path, const QByteArray& bytes) {
    QFile file;
    if (!openRegularFile(file, path, LinkPolicy::DoNotFollow) || file.size() != bytes.size())
        return false;
    return file.read(bytes.size() + 1) == bytes;
}

bool writeAll(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        done += n;
    }
    return true;
}

// The bytes in a new file of a name of its own in the folder, flushed to the disk; an empty
// name with errno set when that fails.
QByteArray writeTemporary(const QByteArray& folder, const QByteArray& bytes) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name =
            folder + "/.kf-" + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        const int fd =
            ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0)
            return {};
        // A file system that cannot flush a file (EINVAL) has nothing to wait for.
        int error = writeAll(fd, bytes) && (::fsync(fd) == 0 || errno == EINVAL) ? 0 : errno;
        if (::close(fd) != 0 && error == 0)
            error = errno;
        if (error == 0)
            return name;
        ::unlink(name.constData());
        errno = error;
        return {};
    }
    errno = EEXIST;
    return {};
}

} // namespace

QString defaultRacesFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                           QStringLiteral("/kurvenflitzerl/races");
    QDir().mkpath(folder);
    return folder;
}

QString placeRaceTrack(const QString& folder, const QString& trackName, const QByteArray& bytes,
                       QString* reason) {
    const auto cannot = [&](const QString& clause) {
        *reason = QStringLiteral("The track \"%1\" cannot be kept in %2: %3.")
                      .arg(shownName(readableFileName(trackName)), folder, clause);
        return QString();
    };
    if (!isTrackFileName(trackName))
        return cannot(QStringLiteral("that name cannot be a file name"));
    const QByteArray nativeFolder = encodeFileName(folder);
    // Written once, then given each free name in turn: link() never replaces anything, so a
    // name taken meanwhile by another game is simply passed over.
    QByteArray written;
    QString placed;
    for (int number = 1; number <= kMaxNumber && placed.isEmpty(); ++number) {
        const QString name = numberedName(trackName, number);
        const QByteArray path = nativeFolder + '/' + encodeFileName(name);
        if (holdsBytes(path, bytes)) {
            placed = folder + QLatin1Char('/') + name;
            break;
        }
        struct stat info {};
        if (::lstat(path.constData(), &info) == 0)
            continue;
        if (written.isEmpty() && (written = writeTemporary(nativeFolder, bytes)).isEmpty())
            return cannot(systemErrorText(errno));
        // Taken meanwhile, perhaps by another game placing the same track: looked at again.
        const int error = ::link(written.constData(), path.constData()) == 0 ? 0 : errno;
        if (error == 0 || (error == EEXIST && holdsBytes(path, bytes))) {
            placed = folder + QLatin1Char('/') + name;
        } else if (error != EEXIST) {
            ::unlink(written.constData());
            return cannot(systemErrorText(error));
        }
    }
    if (!written.isEmpty())
        ::unlink(written.constData());
    if (placed.isEmpty())
        return cannot(QStringLiteral("%1 tracks of that name are there already").arg(kMaxNumber));
    reason->clear();
    return placed;
}

} // namespace kf
