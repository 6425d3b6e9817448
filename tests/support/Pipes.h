#pragma once

#include <QFile>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kf::test {

// Named pipes (FIFOs) for tests of files that are no regular files. Opening a pipe for reading
// waits until some writer opens it too, so a reader that tries would hang the test for good.
// When a reader has been waiting for a while, the guard plays the writer for a moment: the
// reader goes on, finds the pipe empty, and waited() reports it, so such a test fails instead
// of hanging.
class Pipes {
public:
    Pipes() : m_watch([this] { watch(); }) {}
    ~Pipes() {
        {
            const std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_wake.notify_all();
        m_watch.join();
    }
    Pipes(const Pipes&) = delete;
    Pipes& operator=(const Pipes&) = delete;

    // Makes a named pipe at `path` and returns the path.
    QString make(const QString& path) {
        EXPECT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0) << path.toStdString();
        const std::lock_guard lock(m_mutex);
        m_paths << path;
        return path;
    }

    // Whether some reader waited on one of the pipes.
    bool waited() const {
        const std::lock_guard lock(m_mutex);
        return m_waited;
    }

private:
    static constexpr std::chrono::milliseconds kPatience{2000};
    static constexpr std::chrono::milliseconds kPoll{100};

    void watch() {
        std::unique_lock lock(m_mutex);
        auto wait = kPatience;
        while (!m_wake.wait_for(lock, wait, [this] { return m_stop; })) {
            // A writer that does not wait: this opens only while some reader has the pipe open.
            for (const QString& path : m_paths) {
                const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0) {
                    m_waited = true;
                    ::close(fd);
                }
            }
            wait = kPoll;
        }
    }

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    QStringList m_paths;
    bool m_waited = false;
    bool m_stop = false;
    std::thread m_watch; // last: it starts once everything above is ready
};

} // namespace kf::test
