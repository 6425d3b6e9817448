// Loading levels onto the board, from a file or from the creator, Redraw and the choice of trail
// style.

#include "level/BitmapFile.h"
#include "record/RecordFile.h"
#include "toolkit/FileDialog.h"
#include "toolkit/ImageView.h"
#include "toolkit/MessageBox.h"
#include "window/MainDialog.h"

#include <QFileInfo>

namespace kf {

bool MainDialog::loadLevelPicture(const QString& path) {
    // Read once: the history knows the level by the SHA-256 of the very bytes on the board.
    const QByteArray bytes = readBitmapFileBytes(path);
    const QImage picture = bytes.isEmpty() ? QImage() : decodeBitmap(bytes);
    if (picture.isNull())
        return false;
    endReplay();
    m_bmpLevel.setPicture(picture);
    m_boardLevelPath = QFileInfo(path).absoluteFilePath();
    m_boardLevelBytes = bytes;
    rememberLevelForHistory(path, bytes);
    if (m_ctlBoard)
        m_ctlBoard->showAt(m_bmpLevel.origin());
    return true;
}

void MainDialog::OnLoadLevel() {
    // The level filter stays as it is; race files are the dialog's second filter.
    const FileOpenRequest request{QStringLiteral("KF-Level-Bitmap-Dateien (*.bmp)"),
                                  QStringLiteral("bmp"),
                                  m_levelPath,
                                  false,
                                  {QStringLiteral("Kurvenflitzerl races (*.kfrace)")}};
    const std::optional<QString> chosen = GetOpenFileName(this, request);
    if (!chosen)
        return;
    if (chosen->endsWith(QStringLiteral(".kfrace"), Qt::CaseInsensitive)) {
        openRaceFile(*chosen);
        return;
    }
    // A file that is no level leaves the current level entirely in force: picture, paths and
    // best run. The player chose it, so say why nothing happened.
    if (!loadLevelFile(*chosen)) {
        MessageBox(this, unloadableLevelText(*chosen), MessageIcon::Warning);
    }
}

bool MainDialog::loadLevelFile(const QString& path) {
    if (!loadLevelPicture(path))
        return false;
    m_levelPath = path;
    useRecordFileOf(m_levelPath);
    return true;
}

void MainDialog::OnCreateLevel() {
    m_creatorDlg.m_saved = false;
    m_creatorDlg.DoModal();
    if (!m_creatorDlg.m_saved || !loadLevelPicture(m_creatorDlg.m_savedPath))
        return;
    // The new level keeps its own record beside it, so a record run on it never overwrites
    // the previous level's record file. The level path stays that of the last loaded file.
    useRecordFileOf(m_creatorDlg.m_savedPath);
}

void MainDialog::useRecordFileOf(const QString& levelPath) {
    // Absolute, so it names the same file whatever the file dialog does to the current folder.
    m_recordPath = QFileInfo(recordPathFor(levelPath)).absoluteFilePath();
    // A track without a record file has no best run yet; another track's record never
    // carries over.
    if (!ReadRecordFile(m_recordPath)) {
        m_bestName = QString::fromLatin1(kNobody);
        m_bestTimeMs = kNoTimeMs;
    }
}

void MainDialog::OnRedraw() {
    m_bmpLevel.clearTrail();
    if (m_ctlBoard)
        m_ctlBoard->repaint();
}

void MainDialog::OnTrailStyle() {
    UpdateData(true);
}

} // namespace kf
