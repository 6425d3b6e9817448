#pragma once

#include "creator/CanvasCheck.h"

#include <QImage>
#include <QObject>
#include <QThreadPool>

#include <functional>
#include <optional>

namespace kf {

// Checks the creator's canvas on a thread of its own, so that painting never waits for the
// checker. Each request supersedes those before it: a request that has not started yet is
// dropped, and only the latest request's result is ever handed on.
class LiveLevelCheck {
public:
    // `checked` is called on the thread that makes the requests, each time latest() has become
    // the result of the latest request.
    explicit LiveLevelCheck(std::function<void()> checked);
    // Waits only for a check already running, a few milliseconds at most.
    ~LiveLevelCheck();
    LiveLevelCheck(const LiveLevelCheck&) = delete;
    LiveLevelCheck& operator=(const LiveLevelCheck&) = delete;

    // Checks a copy of `canvas`; the canvas may change at once.
    void request(const QImage& canvas);
    // The result of the latest request that has come in; none before the first.
    const std::optional<CanvasCheck>& latest() const { return m_latest; }
    // The check of `canvas` as it is now: the latest result when it is of the very same
    // picture, or else a check made here and now.
    CanvasCheck verdictOf(const QImage& canvas) const;

private:
    std::function<void()> m_checked;
    std::optional<CanvasCheck> m_latest;
    quint64 m_requests = 0;
    QObject m_receiver; // takes the results on the requesting thread
    QThreadPool m_pool; // after m_receiver: gone first, so no result is handed to nothing
};

} // namespace kf
