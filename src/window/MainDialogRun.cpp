// A run as the main window shows it: the rules are the run tracker's; the handlers pass it the
// pointer events with the clock's reading and show what came of them.

#include "toolkit/ImageView.h"
#include "window/MainDialog.h"

namespace kf {

void MainDialog::OnLButtonDown(unsigned, QPoint point) {
    // A press ends a replay, and starts no run.
    if (replaying()) {
        endReplay();
        return;
    }
    if (m_run.press(m_bmpLevel, point, m_stopwatch.ElapsedMs()) != RunOutcome::Started)
        return;
    m_runPath.clear();
    addToRunPath(point, 0);
    updateGhostMarker();
    m_runStartedUtc = QDateTime::currentDateTimeUtc();
    m_goText = QStringLiteral("GO !");
    UpdateData(false);
}

void MainDialog::OnMouseMove(unsigned flags, QPoint point) {
    const RunTracker::Step step =
        m_run.move(m_bmpLevel, point, (flags & kMkLButton) != 0, m_trailStyle);
    const bool takenByRun =
        step.outcome == RunOutcome::Moved || step.outcome == RunOutcome::WallCrash;
    // Every movement the run takes shows the cross; any other shows the window's arrow, which
    // also replaces the waiting pointer of the start-up.
    setPointerShape(takenByRun ? Qt::CrossCursor : Qt::ArrowCursor);
    if (takenByRun) {
        addToRunPath(point, m_run.timeSincePress(m_stopwatch.ElapsedMs()));
        if (m_ctlBoard)
            m_ctlBoard->updateClientRect(step.trailChanged);
        UpdateData(false);
    }
    if (step.outcome == RunOutcome::WallCrash || step.outcome == RunOutcome::ButtonRelease)
        failRun(step.outcome);
}

void MainDialog::failRun(RunOutcome outcome) {
    updateGhostMarker();
    recordRunInHistory(outcome == RunOutcome::WallCrash ? RunEnd::Wall : RunEnd::Release,
                       historyPlayer(false));
    if (m_multiplayer.m_match.m_active) {
        m_multiplayer.ReportRun(kFailedRunMs);
        showMatchRunEndCaption();
    } else {
        ShowNotice(outcome == RunOutcome::WallCrash
                       ? QStringLiteral("YOU FAILED (Wallcrash)")
                       : QStringLiteral("YOU FAILED (Button release)"));
    }
    UpdateModeButtons();
    // The controls follow at the next tick; the failed run's figures stay on display.
    m_goText.clear();
}

void MainDialog::OnLButtonUp(unsigned, QPoint point) {
    if (m_run.release(m_bmpLevel, point, m_stopwatch.ElapsedMs()) == RunOutcome::Finished) {
        addToRunPath(point, m_timeMs);
        updateGhostMarker();
        if (!m_multiplayer.m_match.m_active)
            ShowNotice(QStringLiteral("YOU FINISHED -> Time : %1 ms").arg(m_timeMs));
        // A new record is strictly faster, so the best time changes exactly when one was named.
        const int bestBefore = m_bestTimeMs;
        CheckNewRecord();
        recordRunInHistory(RunEnd::Finished, historyPlayer(m_bestTimeMs != bestBefore));
        if (m_multiplayer.m_match.m_active) {
            m_multiplayer.ReportRun(m_timeMs);
            showMatchRunEndCaption();
        }
        UpdateModeButtons();
        UpdateData(false);
    }
    m_goText.clear();
}

} // namespace kf
