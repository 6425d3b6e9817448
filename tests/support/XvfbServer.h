#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryFile>

#include <sys/types.h>

namespace kf::test {

// A real X server for the tests of the game on X11: Xvfb, started on a display number that is
// free (the server picks it and reports it, so programs started side by side never clash), and
// stopped with the object. It needs no privileges.
class XvfbServer {
public:
    XvfbServer() = default;
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    // Starts the server and waits until it takes connections. False when it could not start;
    // error() then says why, with what the server printed.
    bool start();
    // The display's name for DISPLAY, such as ":3".
    QByteArray display() const { return m_display; }
    QString error() const { return m_error; }

private:
    bool fail(const QString& why);

    pid_t m_pid = -1;
    QByteArray m_display;
    QString m_error;
    QTemporaryFile m_log;
};

} // namespace kf::test
