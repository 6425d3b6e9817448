// A run: the press on the start, the movements with their wall test and trail, and the three
// ways a run ends.

#include "board/BoardView.h"
#include "board/Distance.h"
#include "board/MainDialog.h"
#include "board/PathSampling.h"

#include <algorithm>
#include <limits>

namespace kf {

int MainDialog::runTimeMs() const {
    // Both readings are cut to whole milliseconds; 64 bits keep a game left open for weeks
    // from overflowing.
    const qint64 now = static_cast<qint64>(m_stopwatch.ElapsedMs());
    return static_cast<int>(
        std::clamp<qint64>(now - m_runStartMs, 0, std::numeric_limits<int>::max()));
}

void MainDialog::OnLButtonDown(unsigned, QPoint point) {
    if (!isStart(m_bmpLevel.colorAt(point)))
        return;
    m_lastX = m_prevX = point.x();
    m_lastY = m_prevY = point.y();
    m_running = 1;
    m_goText = QStringLiteral("GO !");
    m_timeMs = 0;
    m_distance = 0;
    m_runStartMs = static_cast<qint64>(m_stopwatch.ElapsedMs());
    UpdateData(false);
}

void MainDialog::OnMouseMove(unsigned flags, QPoint point) {
    if (m_running != 1)
        return;
    bool wallCrash = false;
    if (!(flags & kMkLButton)) {
        m_running = 0;
    } else {
        m_crossWanted = true;
        const QPoint last(m_lastX, m_lastY);
        if (point != last) {
            const QPoint d = point - last;
            m_distance += moveDistance(d.x(), d.y());
            if (pathTouchesWall(m_bmpLevel, last, point)) {
                wallCrash = true;
                m_running = 0;
            }
        }
        drawTrail(QPoint(m_prevX, m_prevY), last);
        m_prevX = m_lastX;
        m_prevY = m_lastY;
        m_lastX = point.x();
        m_lastY = point.y();
        UpdateData(false);
    }
    if (m_running == 0)
        failRun(wallCrash);
}

void MainDialog::drawTrail(QPoint previous, QPoint last) {
    // The start and finish areas keep their colours where the pointer has just been.
    const COLORREF under = m_bmpLevel.colorAt(last);
    if (isStart(under) || isFinish(under))
        return;
    QRect changed;
    if (m_trailStyle == 1)
        changed = m_bmpLevel.drawTrailLine(previous, last);
    else if (m_trailStyle == 0)
        changed = m_bmpLevel.drawTrailDot(last);
    if (m_ctlBoard)
        m_ctlBoard->updateClientRect(changed);
}

void MainDialog::failRun(bool wallCrash) {
    ShowNotice(wallCrash ? QStringLiteral("YOU FAILED (Wallcrash)")
                         : QStringLiteral("YOU FAILED (Button release)"));
    UpdateModeButtons();
    m_goText.clear();
}

void MainDialog::OnLButtonUp(unsigned, QPoint point) {
    if (isFinish(m_bmpLevel.colorAt(point)) && m_running == 1) {
        m_running = 0;
        m_timeMs = runTimeMs();
        m_speed = averageSpeed(m_distance, m_timeMs, m_speed);
        ShowNotice(QStringLiteral("YOU FINISHED -> Time : %1 ms").arg(m_timeMs));
        CheckNewRecord();
        UpdateModeButtons();
        UpdateData(false);
    }
    m_goText.clear();
}

} // namespace kf
