#include "creator/LiveLevelCheck.h"

#include <utility>

namespace kf {

LiveLevelCheck::LiveLevelCheck(std::function<void()> checked) : m_checked(std::move(checked)) {
    m_pool.setMaxThreadCount(1);
}

LiveLevelCheck::~LiveLevelCheck() {
    m_pool.clear();
    m_pool.waitForDone();
}

void LiveLevelCheck::request(const QImage& canvas) {
    const quint64 request = ++m_requests;
    m_pool.clear();
    m_pool.start([this, request, canvas] {
        CanvasCheck check = checkCanvas(canvas);
        QMetaObject::invokeMethod(
            &m_receiver,
            [this, request, check = std::move(check)]() mutable {
                if (request != m_requests)
                    return;
                m_latest = std::move(check);
                m_checked();
            },
            Qt::QueuedConnection);
    });
}

CanvasCheck LiveLevelCheck::verdictOf(const QImage& canvas) const {
    if (m_latest && m_latest->picture == canvas)
        return *m_latest;
    return checkCanvas(canvas);
}

} // namespace kf
