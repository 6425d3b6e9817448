#pragma once

// The end of a start-up as the start-up benchmark times it: the first window of the program
// has been shown, exposed and painted, and its picture handed to the screen.

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>

namespace kfbench {

// Watches every event of the application. At the first paint of a window it queues the end:
// once the paint pass, the flush to the screen included, is over, one line goes to standard
// output, with the CPU time the process has taken so far in ms and its resident size in KB,
// and the program ends at once, so its teardown stays out of the time.
class FirstPaint : public QObject {
public:
    FirstPaint() { QCoreApplication::instance()->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!m_seen && event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow()) {
            m_seen = true;
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [] {
                    rusage usage{};
                    getrusage(RUSAGE_SELF, &usage);
                    const double cpuMs =
                        double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
                        double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
                    std::printf("painted %.3f %ld\n", cpuMs, residentKb());
                    std::fflush(stdout);
                    _exit(0);
                },
                Qt::QueuedConnection);
        }
        return false;
    }

private:
    // The pages of the process in memory now (not the peak), from /proc/self/statm.
    static long residentKb() {
        long pages = 0, resident = 0;
        if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
            if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
                resident = 0;
            std::fclose(statm);
        }
        return resident * (sysconf(_SC_PAGESIZE) / 1024);
    }

    bool m_seen = false;
};

} // namespace kfbench
