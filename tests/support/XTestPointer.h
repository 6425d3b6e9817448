#pragma once

#include <QPoint>

#include <vector>

struct _XDisplay;

namespace kf::test {

// The player's hand on a real X server: the server's pointer and left button moved through the
// XTest extension, on an X connection of its own (from DISPLAY), as a mouse would move them.
// One object is used by one thread at a time.
class XTestPointer {
public:
    XTestPointer();
    ~XTestPointer();
    XTestPointer(const XTestPointer&) = delete;
    XTestPointer& operator=(const XTestPointer&) = delete;

    // Whether the connection is open and the server has XTest.
    bool ready() const;

    // The pointer onto the first screen point, the button down, one movement to each further
    // point every `stepUs` microseconds, the button up at the last point.
    void drag(const std::vector<QPoint>& screenWay, int stepUs);

private:
    _XDisplay* m_display = nullptr;
    bool m_hasXTest = false;
};

} // namespace kf::test
