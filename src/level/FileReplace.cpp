#include "level/FileReplace.h"

#include "level/FileName.h"

#include <QByteArray>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kf {

namespace {

// Tries for a free name for the new file before giving up.
constexpr int kNameAttempts = 100;

FileWriteResult failure(FileWriteResult::Status status, int error) {
    return {status, systemErrorText(error)};
}

// "<folder>/.kf-<eight letters or digits>": beside the file, so that the rename stays in one
// folder, and short, so that it fits wherever the file's own name fits.
QByteArray temporaryName(const QByteArray& path) {
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray name = path.left(path.lastIndexOf('/') + 1) + ".kf-";
    for (int i = 0; i < 8; ++i)
        name += kLetters[QRandomGenerator::global()->bounded(int(sizeof kLetters) - 1)];
    return name;
}

// A new file that no one else has opened; -1 with errno set when none can be made.
int createTemporary(const QByteArray& path, QByteArray& name) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        name = temporaryName(path);
        // Created like any new file (0666 less the umask); an old file's mode is copied later.
        const int fd =
            ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 || (errno != EEXIST && errno != EINTR))
            return fd;
    }
    errno = EEXIST;
    return -1;
}

// Writes every byte; false with errno set when a write fails (a full disk, a size limit).
bool writeAll(int fd, QByteArrayView bytes) {
    const char* p = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, static_cast<size_t>(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

} // namespace

int (*replaceFileFlush)(int fd) = ::fsync;

QString systemErrorText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

FileWriteResult replaceFile(const QString& path, QByteArrayView bytes) {
    const QByteArray target = encodeFileName(path);
    if (target.isEmpty())
        return failure(FileWriteResult::CannotCreate, ENOENT);

    // What stands at the name now; lstat, so a link is looked at, not what it points to.
    struct stat old {};
    const bool exists = ::lstat(target.constData(), &old) == 0;
    if (exists && S_ISDIR(old.st_mode))
        return failure(FileWriteResult::CannotCreate, EISDIR);
    if (exists && S_ISREG(old.st_mode) && ::access(target.constData(), W_OK) != 0)
        return failure(FileWriteResult::CannotCreate, errno);

    QByteArray temporary;
    const int fd = createTemporary(target, temporary);
    if (fd < 0)
        return failure(FileWriteResult::CannotCreate, errno);
    if (exists && S_ISREG(old.st_mode))
        ::fchmod(fd, old.st_mode & 0777); // a mode the system refuses is no reason to fail

    // The file must be complete on the disk before it takes the name: a write cut short, a
    // flush that fails (space found lacking only then) or a failing close each leave the old
    // file in place. A file system that cannot flush a file (EINVAL) has nothing to wait for.
    bool written = writeAll(fd, bytes);
    if (written && replaceFileFlush(fd) != 0 && errno != EINVAL)
        written = false;
    int error = written ? 0 : errno;
    if (::close(fd) != 0 && written) {
        written = false;
        error = errno;
    }
    if (written && ::rename(temporary.constData(), target.constData()) != 0) {
        written = false;
        error = errno;
    }
    if (!written) {
        ::unlink(temporary.constData());
        return failure(FileWriteResult::WriteFailed, error);
    }
    return {};
}

bool wouldReplace(const QString& path) {
    struct stat st {};
    return !path.isEmpty() && ::lstat(encodeFileName(path).constData(), &st) == 0 &&
           !S_ISDIR(st.st_mode);
}

} // namespace kf
