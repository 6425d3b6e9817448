// Watching a run again: a run of the history or a shared ghost replayed on the board, its trail
// drawn as the run drew it, a marker at the pointer and the time field counting. The board and
// the figures come back as they were when it ends; the caption, the records and the history
// never see it.

#include "level/GhostColors.h"
#include "toolkit/ImageView.h"
#include "window/MainDialog.h"

#include <QApplication>
#include <QKeyEvent>

namespace kf {

namespace {

// Often enough for the marker to move smoothly: more than 60 steps a second.
constexpr int kReplayPeriodMs = 15;
// The pointer of the run watched: the ring of the player's own ghost.
constexpr QRgb kReplayMarkerColor = kOwnGhostColor;

} // namespace

void MainDialog::watchPath(const GhostPath& path) {
    if (m_run.running() || path.isEmpty())
        return;
    endReplay();
    m_replaySaved = ReplaySaved{m_bmpLevel, m_run.figures()};
    m_replay = std::make_unique<RunReplay>(path, m_trailStyle);
    m_replay->begin(m_bmpLevel);
    // The keys go to the replay wherever the focus is in this window, even on a button that
    // would take Space or on the dialog that Escape would close.
    qApp->installEventFilter(this);
    if (!m_replayTimer.isActive()) {
        m_replayTimer.setTimerType(Qt::PreciseTimer);
        m_replayTimer.setInterval(kReplayPeriodMs);
        connect(&m_replayTimer, &QTimer::timeout, this, &MainDialog::moveReplay,
                Qt::UniqueConnection);
    }
    m_replayTimer.start();
    m_replayClock.start();
    activateWindow();
    raise();
    showReplay(m_bmpLevel.clientRect());
}

void MainDialog::endReplay() {
    if (!m_replay)
        return;
    m_replayTimer.stop();
    qApp->removeEventFilter(this);
    m_replay.reset();
    m_bmpLevel = m_replaySaved->board;
    m_run.figures() = m_replaySaved->figures;
    m_replaySaved.reset();
    if (m_ctlBoard) {
        m_ctlBoard->setMarkers({});
        m_ctlBoard->update();
    }
    UpdateData(false);
}

void MainDialog::moveReplay() {
    if (!m_replay)
        return;
    showReplay(m_replay->advance(m_bmpLevel, double(m_replayClock.restart())));
}

void MainDialog::showReplay(const QRect& changed) {
    m_run.figures() = m_replay->figures();
    if (m_ctlBoard) {
        m_ctlBoard->updateClientRect(changed);
        m_ctlBoard->setMarkers({BoardMarker{m_replay->pointer(), kReplayMarkerColor, {}}});
    }
    UpdateData(false);
}

bool MainDialog::replayKey(QKeyEvent* event) {
    if (event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier))
        return false;
    switch (event->key()) {
    case Qt::Key_Escape:
        endReplay();
        return true;
    case Qt::Key_Space:
        showReplay(m_replay->togglePause(m_bmpLevel));
        return true;
    case Qt::Key_Left:
        showReplay(m_replay->step(m_bmpLevel, -RunReplay::kStepMs));
        return true;
    case Qt::Key_Right:
        showReplay(m_replay->step(m_bmpLevel, RunReplay::kStepMs));
        return true;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        m_replay->faster();
        return true;
    case Qt::Key_Minus:
    case Qt::Key_Underscore:
        m_replay->slower();
        return true;
    default:
        return false;
    }
}

bool MainDialog::eventFilter(QObject* watched, QEvent* event) {
    if (m_replay && event->type() == QEvent::KeyPress) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this && replayKey(static_cast<QKeyEvent*>(event)))
            return true;
    }
    return Dialog::eventFilter(watched, event);
}

} // namespace kf
