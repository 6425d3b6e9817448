// The ghosts: the path of each run as it is made, the ghosts of the track on the board (the
// player's own best and those shared by other players), and the rings that follow them during
// a single player's run. Key G and the board's context menu switch them all, the menu's
// "Ghosts" each one; the choice for all is kept in the settings.

#include "history/HistoryWriter.h"
#include "level/GhostColors.h"
#include "toolkit/ImageView.h"
#include "window/GhostSetting.h"
#include "window/MainDialog.h"

#include <QMenu>

namespace kf {

namespace {

// Often enough for the rings to move smoothly: more than 60 steps a second.
constexpr int kGhostPeriodMs = 15;

// A ghost the board shows: its ring and the path it follows.
struct ShownGhost {
    BoardMarker marker;
    const GhostPath* path;
};

// The ghosts switched on, each with its ring: the shared ones first, in the order they were
// kept, so that each keeps its colour while others are switched; the player's own best last,
// on top of them. At most kMaxSharedGhosts shared ones have a ring.
QList<ShownGhost> shownGhosts(const TrackGhosts& ghosts, const QSet<qint64>& off) {
    QList<ShownGhost> shown;
    const qsizetype shared = std::min<qsizetype>(ghosts.shared.size(), kMaxSharedGhosts);
    for (qsizetype i = 0; i < shared; ++i) {
        const SharedGhost& g = ghosts.shared[i];
        if (!off.contains(g.id))
            shown.append({{{}, sharedGhostColor(int(i)), g.player}, &g.path});
    }
    if (ghosts.own && !off.contains(MainDialog::kOwnGhostKey))
        shown.append({{{}, kOwnGhostColor, {}}, &*ghosts.own});
    return shown;
}

// A text for a menu entry that shows an ampersand as it is rather than as a shortcut's mark.
QString menuText(QString text) {
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

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

void MainDialog::setGhostShown(qint64 key, bool shown) {
    if (shown)
        m_ghostsOff.remove(key);
    else
        m_ghostsOff.insert(key);
    updateGhostMarker();
}

void MainDialog::loadGhost() {
    // The answer comes from the history's thread; until then the track has no ghosts.
    m_ghosts = {};
    if (m_history && !m_levelSha256.isEmpty())
        m_history->askGhosts(m_levelSha256);
}

void MainDialog::showGhosts(const TrackGhosts& ghosts) {
    m_ghosts = ghosts;
    updateGhostMarker();
}

void MainDialog::addToRunPath(QPoint client, int msSincePress) {
    m_runPath.append(client - m_bmpLevel.origin(), msSincePress);
}

void MainDialog::updateGhostMarker() {
    // A match is between the players: no ghost there.
    if (m_ghostOn && m_run.running() && !m_multiplayer.m_match.m_active &&
        !shownGhosts(m_ghosts, m_ghostsOff).isEmpty()) {
        m_ghostTimer.start();
        moveGhostMarker();
    } else {
        m_ghostTimer.stop();
        if (m_ctlBoard)
            m_ctlBoard->setMarkers({});
    }
}

void MainDialog::moveGhostMarker() {
    if (!m_ctlBoard)
        return;
    const double ms = m_run.timeSincePress(m_stopwatch.ElapsedMs());
    QList<BoardMarker> markers;
    for (ShownGhost& g : shownGhosts(m_ghosts, m_ghostsOff)) {
        g.marker.centre = g.path->positionAt(ms);
        markers.append(g.marker);
    }
    m_ctlBoard->setMarkers(markers);
}

void MainDialog::addGhostsMenu(QMenu& menu) {
    QMenu* ghosts = menu.addMenu(QStringLiteral("Ghosts"));
    QAction* all = ghosts->addAction(QStringLiteral("Show ghosts"));
    all->setCheckable(true);
    all->setChecked(m_ghostOn);
    connect(all, &QAction::toggled, this, &MainDialog::setGhostOn);
    ghosts->addSeparator();

    const auto addSwitch = [&](const QString& text, qint64 key) {
        QAction* a = ghosts->addAction(menuText(text));
        a->setCheckable(true);
        a->setChecked(!m_ghostsOff.contains(key));
        connect(a, &QAction::toggled, this, [this, key](bool on) { setGhostShown(key, on); });
        return a;
    };
    addSwitch(QStringLiteral("Your best run"), kOwnGhostKey)->setEnabled(m_ghosts.own.has_value());
    const qsizetype shared = std::min<qsizetype>(m_ghosts.shared.size(), kMaxSharedGhosts);
    for (qsizetype i = 0; i < shared; ++i) {
        const SharedGhost& g = m_ghosts.shared[i];
        addSwitch(QStringLiteral("%1, %2 ms").arg(g.player, QString::number(g.timeMs)), g.id);
    }
    ghosts->addSeparator();
    for (const SharedGhost& g : m_ghosts.shared) {
        const GhostPath path = g.path;
        connect(ghosts->addAction(menuText(QStringLiteral("Watch %1's run").arg(g.player))),
                &QAction::triggered, this, [this, path] { watchPath(path); });
    }
    for (const SharedGhost& g : m_ghosts.shared) {
        const qint64 id = g.id;
        QAction* forget =
            ghosts->addAction(menuText(QStringLiteral("Forget %1's ghost").arg(g.player)));
        forget->setEnabled(m_history && m_history->usable());
        connect(forget, &QAction::triggered, this,
                [this, id] { m_history->forgetSharedGhost(id); });
    }
    if (m_ghosts.shared.isEmpty())
        ghosts->addAction(QStringLiteral("No shared ghosts"))->setEnabled(false);
}

} // namespace kf
