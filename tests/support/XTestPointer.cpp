#include "support/XTestPointer.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <thread>

namespace kf::test {

XTestPointer::XTestPointer() : m_display(XOpenDisplay(nullptr)) {
    int unused = 0;
    m_hasXTest = m_display && XTestQueryExtension(m_display, &unused, &unused, &unused, &unused);
}

XTestPointer::~XTestPointer() {
    if (m_display)
        XCloseDisplay(m_display);
}

bool XTestPointer::ready() const {
    return m_hasXTest;
}

void XTestPointer::drag(const std::vector<QPoint>& screenWay, int stepUs) {
    if (!m_hasXTest || screenWay.empty())
        return;
    const QPoint first = screenWay.front();
    XTestFakeMotionEvent(m_display, -1, first.x(), first.y(), CurrentTime);
    XTestFakeButtonEvent(m_display, 1, True, CurrentTime);
    XSync(m_display, False);
    // Each movement is sent at once, on a fixed beat, however long the sending took.
    auto next = std::chrono::steady_clock::now();
    for (std::size_t i = 1; i < screenWay.size(); ++i) {
        next += std::chrono::microseconds(stepUs);
        std::this_thread::sleep_until(next);
        XTestFakeMotionEvent(m_display, -1, screenWay[i].x(), screenWay[i].y(), CurrentTime);
        XFlush(m_display);
    }
    XTestFakeButtonEvent(m_display, 1, False, CurrentTime);
    XSync(m_display, False);
}

} // namespace kf::test
