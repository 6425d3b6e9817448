// The ghost of the best run: the path of each run as it is made, the ghost of the track on the
// board, and the marker that follows it during a single player's run. Key G and the board's
// context menu switch it; the choice is kept in the settings.

#include "history/HistoryWriter.h"
#include "toolkit/ImageView.h"
#include "window/GhostSetting.h"
#include "window/MainDialog.h"

namespace kf {

namespace {

// Often enough for the marker to move smoothly: more than 60 steps a second.
constexpr int kGhostPeriodMs = 15;

} // namespace

void MainDialog::setUpGhost() {
    m_ghostOn = ghostSetting();
    m_ghostTimer.setTimerType(Qt::PreciseTimer);
    m_ghostTimer.setInterval(kGhostPeriodMs);
    connect(&m_ghostTimer, &QTimer::timeout, this, &MainDialog::moveGhostMarker);
}

void MainDialog::setGhostOn(bool on) {
    m_ghostOn = on;
    setGhostSetting(on);
    updateGhostMarker();
}

void MainDialog::loadGhost() {
    // The answer comes from the history's thread; until then the track has no ghost.
    m_ghost.reset();
    if (m_history && !m_levelSha256.isEmpty())
        m_history->askGhosts(m_levelSha256);
}

void MainDialog::addToRunPath(QPoint client, int msSincePress) {
    m_runPath.append(client - m_bmpLevel.origin(), msSincePress);
}

void MainDialog::updateGhostMarker() {
    // A match is between the players: no ghost there.
    if (m_ghostOn && m_ghost && m_run.running() && !m_multiplayer.m_match.m_active) {
        m_ghostTimer.start();
        moveGhostMarker();
    } else {
        m_ghostTimer.stop();
        if (m_ctlBoard)
            m_ctlBoard->setMarker(std::nullopt);
    }
}

void MainDialog::moveGhostMarker() {
    if (m_ctlBoard && m_ghost)
        m_ctlBoard->setMarker(m_ghost->positionAt(m_run.timeSincePress(m_stopwatch.ElapsedMs())));
}

} // namespace kf
