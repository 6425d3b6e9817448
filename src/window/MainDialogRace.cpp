// Races that travel: the track on the board and the player's best run of it shared as a race
// file (key X, the board's menu), and a race file opened (the command line, Load Level, a file
// dropped on the window): its ghosts proven by the run's own rules, its track kept in the
// player's races folder and loaded as Load Level loads a track, its ghosts kept in the history.

#include "level/BitmapFile.h"
#include "race/RaceFile.h"
#include "race/RaceSharing.h"
#include "race/RaceTrackPlace.h"
#include "toolkit/FileDialog.h"
#include "toolkit/MessageBox.h"
#include "window/MainDialog.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>

namespace kf {

namespace {

bool isRaceFile(const QString& path) {
    return path.endsWith(QStringLiteral(".kfrace"), Qt::CaseInsensitive);
}

// The one local file a drop brings, or nothing.
std::optional<QString> droppedFile(const QMimeData* data) {
    if (!data || data->urls().size() != 1 || !data->urls().first().isLocalFile())
        return std::nullopt;
    return data->urls().first().toLocalFile();
}

} // namespace

void MainDialog::OnShareRace() {
    if (m_run.running() || m_boardLevelBytes.isEmpty())
        return;
    openHistory();
    m_shareAsked = true;
    m_history->askBestRun(m_levelSha256);
}

void MainDialog::shareBestRun(const QString& levelSha256, const std::optional<HistoryRun>& run,
                              const GhostPath& path) {
    if (!m_shareAsked || levelSha256 != m_levelSha256)
        return;
    m_shareAsked = false;
    if (!m_history->usable()) {
        // Without its history the game has no run to share: say why there is none.
        MessageBox(this, m_history->reason(), MessageIcon::Information);
        return;
    }
    if (!run || path.isEmpty()) {
        MessageBox(this,
                   QStringLiteral("There is no finished run of this track in your run history "
                                  "yet, so there is no race to share."),
                   MessageIcon::Information);
        return;
    }
    const RaceGhost ghost{racePlayerName(run->player), run->timeMs,
                          run->startedUtc.addMSecs(run->timeMs), path.points()};
    const QString folder = QFileInfo(m_boardLevelPath).absolutePath();
    const FileOpenRequest request{QStringLiteral("Kurvenflitzerl races (*.kfrace)"),
                                  QStringLiteral("kfrace"),
                                  QDir(folder).filePath(raceFileName(m_levelName, ghost))};
    const std::optional<QString> chosen = GetSaveFileName(this, request);
    if (!chosen)
        return;
    if (const std::optional<QString> error =
            writeRaceFile(*chosen, Race{m_levelName, m_boardLevelBytes, {ghost}}))
        MessageBox(this, *error, MessageIcon::Warning);
}

bool MainDialog::openRaceFile(const QString& path) {
    const RaceReading reading = readRaceFile(path);
    if (!reading.race) {
        MessageBox(this, reading.reason, MessageIcon::Warning);
        return false;
    }
    const Race& race = *reading.race;
    if (const QString refused = unconfirmedGhosts(path, race); !refused.isEmpty()) {
        MessageBox(this, refused, MessageIcon::Warning);
        return false;
    }
    QString reason;
    const QString track =
        placeRaceTrack(defaultRacesFolder(), race.trackName, race.trackBytes, &reason);
    if (track.isEmpty()) {
        MessageBox(this, reason, MessageIcon::Warning);
        return false;
    }
    if (!loadLevelFile(track)) {
        MessageBox(this, unloadableLevelText(track), MessageIcon::Warning);
        return false;
    }
    openHistory();
    QList<SharedGhost> ghosts;
    // Proven ghosts are paths whose times never go backwards.
    for (const RaceGhost& g : race.ghosts)
        ghosts.append(SharedGhost{0, g.player, g.timeMs, g.finishedUtc,
                                  GhostPath::fromPoints(g.path).value_or(GhostPath())});
    if (!m_history->usable()) {
        MessageBox(this,
                   QStringLiteral("The race's track is loaded, but its ghosts cannot be kept: %1")
                       .arg(m_history->reason()),
                   MessageIcon::Warning);
        return true;
    }
    m_history->keepSharedGhosts(m_levelSha256, ghosts);
    return true;
}

void MainDialog::openGivenFile(const QString& path) {
    if (!levelChangeAllowed())
        return;
    if (isRaceFile(path)) {
        openRaceFile(path);
        return;
    }
    if (!loadLevelFile(path)) {
        MessageBox(this, unloadableLevelText(path), MessageIcon::Warning);
        return;
    }
    // As a track chosen in Load Level's dialog: its folder becomes the current one.
    QDir::setCurrent(QFileInfo(path).absolutePath());
}

void MainDialog::dragEnterEvent(QDragEnterEvent* event) {
    if (droppedFile(event->mimeData()) && levelChangeAllowed())
        event->acceptProposedAction();
}

void MainDialog::dropEvent(QDropEvent* event) {
    const std::optional<QString> file = droppedFile(event->mimeData());
    if (!file)
        return;
    event->acceptProposedAction();
    openGivenFile(*file);
}

} // namespace kf
