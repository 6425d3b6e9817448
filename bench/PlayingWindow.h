#pragma once

// The real main window on the intro track, in a play folder of its own, for the benchmarks
// that drive a run through it.

#include "window/MainDialog.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

namespace kfbench {

// The intro track's first straight runs along y = 60 from the start at the left.
inline constexpr QPoint kStart(55, 60);
inline constexpr int kStraightY = 60;

class PlayingWindow {
public:
    PlayingWindow() : m_previous(QDir::currentPath()) {
        const QDir data(QStringLiteral(KF_DATA_DIR));
        QFile::copy(data.filePath("Level_00_INTRO.bmp"),
                    QDir(m_play.path()).filePath("Level_00_INTRO.bmp"));
        QDir::setCurrent(m_play.path());
        m_main.Create();
        settleHistory();
    }
    ~PlayingWindow() { QDir::setCurrent(m_previous); }

    kf::MainDialog& main() { return m_main; }
    void startRun() { m_main.OnLButtonDown(kf::kMkLButton, kStart); }

private:
    // The history opens after the window's first paint and answers with the track's ghosts:
    // waits for that answer, so that ghosts a benchmark gives the window stay.
    void settleHistory() {
        QElapsedTimer waited;
        waited.start();
        bool answered = false;
        while (!m_main.m_history && waited.elapsed() < 5000)
            QApplication::processEvents();
        if (!m_main.m_history)
            return;
        const QMetaObject::Connection answer =
            QObject::connect(m_main.m_history.get(), &kf::HistoryWriter::ghostsRead,
                             [&answered] { answered = true; });
        while (!answered && waited.elapsed() < 5000)
            QApplication::processEvents();
        QObject::disconnect(answer);
    }

    QTemporaryDir m_play;
    QString m_previous;
    kf::MainDialog m_main;
};

// Back and forth along the straight between x = 100 and x = 320, `step` pixels a movement.
class Shuttle {
public:
    explicit Shuttle(int step) : m_step(step) {}
    QPoint next() {
        if (m_x + m_step > 320 || m_x + m_step < 100)
            m_step = -m_step;
        m_x += m_step;
        return {m_x, kStraightY};
    }

private:
    int m_x = 100;
    int m_step;
};

} // namespace kfbench
