#include "support/XvfbServer.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kf::test {

namespace {

constexpr int kStartTimeoutMs = 20000;

// Reads the display number the server writes on `fd` once it is ready, up to its line end.
QByteArray readDisplayNumber(int fd) {
    QByteArray number;
    pollfd wait{fd, POLLIN, 0};
    while (poll(&wait, 1, kStartTimeoutMs) == 1) {
        char c = 0;
        const ssize_t n = read(fd, &c, 1);
        if (n < 0 && errno == EINTR)
            continue;
        if (n != 1 || c == '\n')
            break;
        number.append(c);
    }
    return number;
}

} // namespace

bool XvfbServer::start() {
    if (!m_log.open())
        return fail(QStringLiteral("no temporary file for the server's messages"));
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0)
        return fail(QStringLiteral("no pipe for the display number"));
    const QByteArray displayFd = QByteArray::number(pipeFds[1]);
    m_pid = fork();
    if (m_pid == 0) {
        // The write end stays open across exec: the server writes the display number there.
        fcntl(pipeFds[1], F_SETFD, 0);
        dup2(m_log.handle(), STDERR_FILENO);
        dup2(m_log.handle(), STDOUT_FILENO);
        // -terminate: the server ends by itself when this program's connections close, even if
        // the program dies without stopping it.
        execlp("Xvfb", "Xvfb", "-displayfd", displayFd.constData(), "-screen", "0", "1024x768x24",
               "-nolisten", "tcp", "-terminate", static_cast<char*>(nullptr));
        const char message[] = "Xvfb could not be run: is the xvfb package installed?\n";
        [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, message, sizeof message - 1);
        _exit(127);
    }
    close(pipeFds[1]);
    if (m_pid < 0) {
        close(pipeFds[0]);
        return fail(QStringLiteral("fork failed"));
    }
    const QByteArray number = readDisplayNumber(pipeFds[0]);
    close(pipeFds[0]);
    if (number.isEmpty()) {
        int status = 0;
        if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;
            return fail(QStringLiteral("Xvfb ended without reporting a display"));
        }
        return fail(
            QStringLiteral("Xvfb reported no display within %1 s").arg(kStartTimeoutMs / 1000));
    }
    m_display = ':' + number;
    return true;
}

bool XvfbServer::fail(const QString& why) {
    m_error = QStringLiteral("The X server for the X11 tests did not start: ") + why;
    if (m_log.isOpen()) {
        m_log.seek(0);
        const QByteArray printed = m_log.readAll().trimmed();
        if (!printed.isEmpty())
            m_error += QStringLiteral("\nXvfb printed:\n") + QString::fromLocal8Bit(printed);
    }
    return false;
}

XvfbServer::~XvfbServer() {
    if (m_pid <= 0)
        return;
    kill(m_pid, SIGTERM);
    int status = 0;
    while (waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
    }
}

} // namespace kf::test
