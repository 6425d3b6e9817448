#include "level/RegularFile.h"

#include "level/FileName.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kf {

bool openRegularFile(QFile& file, const QString& path, LinkPolicy links) {
    return openRegularFile(file, encodeFileName(path), links);
}

bool openRegularFile(QFile& file, const QByteArray& nativePath, LinkPolicy links) {
    if (nativePath.isEmpty())
        return false;
    // Without O_NONBLOCK, opening a pipe blocks until some writer opens it too, which may be
    // never. The flag is dropped again once the file is known to be regular.
    int flags = O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    if (links == LinkPolicy::DoNotFollow)
        flags |= O_NOFOLLOW;
    int fd = -1;
    do {
        fd = ::open(nativePath.constData(), flags);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return false;
    struct stat st {};
    const int fdFlags = ::fcntl(fd, F_GETFL);
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || fdFlags < 0 ||
        ::fcntl(fd, F_SETFL, fdFlags & ~O_NONBLOCK) != 0 ||
        !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

} // namespace kf
