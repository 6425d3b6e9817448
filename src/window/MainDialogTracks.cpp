// Going through the levels of the current level's folder: Page Down / Page Up and the track
// browser (key T, or the board's context menu).

#include "level/BitmapFile.h"
#include "toolkit/MessageBox.h"
#include "tracks/TrackBrowser.h"
#include "window/MainDialog.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>

namespace kf {

namespace {

bool plainKey(const QKeyEvent* event, Qt::Key key) {
    // The keypad's Page keys come with the keypad modifier.
    return event->key() == key && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

// With no level on the board, the steps and the browser start in the current directory, where
// Load Level's file dialog opens.
QString levelOrFolder(const QString& boardLevelPath) {
    return boardLevelPath.isEmpty() ? QDir::current().absolutePath() + QLatin1Char('/')
                                    : boardLevelPath;
}

} // namespace

bool MainDialog::levelChangeAllowed() const {
    return !m_run.running() && !m_multiplayer.m_match.locked();
}

void MainDialog::OnStepLevel(LevelStep step) {
    if (!levelChangeAllowed())
        return;
    stepLevel(levelOrFolder(m_boardLevelPath), step,
              [this](const QString& path) { return loadLevelFile(path); });
}

void MainDialog::OnTracks() {
    if (m_run.running())
        return;
    openHistory();
    if (!m_trackBrowser) {
        m_trackBrowser = new TrackBrowser(this);
        connect(m_trackBrowser, &TrackBrowser::levelChosen, this, &MainDialog::loadChosenTrack);
    }
    const QString from = levelOrFolder(m_boardLevelPath);
    m_trackBrowser->showFolder(QFileInfo(from).absolutePath(), from, m_history.get());
    m_trackBrowser->show();
    m_trackBrowser->raise();
    m_trackBrowser->activateWindow();
}

void MainDialog::loadChosenTrack(const QString& path) {
    if (!levelChangeAllowed())
        return;
    // Listed as loadable, but the file may have changed since: say so, as Load Level does.
    if (!loadLevelFile(path)) {
        MessageBox(this, unloadableLevelText(path), MessageIcon::Warning);
        return;
    }
    m_trackBrowser->close();
}

bool MainDialog::handleTracksKey(QKeyEvent* event) {
    if (plainKey(event, Qt::Key_PageDown))
        OnStepLevel(LevelStep::Next);
    else if (plainKey(event, Qt::Key_PageUp))
        OnStepLevel(LevelStep::Previous);
    else if (event->key() == Qt::Key_T && event->modifiers() == Qt::NoModifier)
        OnTracks();
    else
        return false;
    event->accept();
    return true;
}

} // namespace kf
