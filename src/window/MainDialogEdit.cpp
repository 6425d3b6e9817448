// Editing the level on the board in the level creator.

#include "toolkit/MessageBox.h"
#include "window/MainDialog.h"

#include <QDir>
#include <QFileInfo>

namespace kf {

bool MainDialog::canEditLevel() const {
    return levelChangeAllowed() && m_bmpLevel.hasPicture();
}

void MainDialog::OnEditLevel() {
    if (!canEditLevel())
        return;
    const QFileInfo file(m_boardLevelPath);
    const QImage& level = m_bmpLevel.picture();
    if (!LevelCanvas::fits(level.size())) {
        MessageBox(this, LevelCreatorDialog::sizeRefusal(file.fileName(), level.size()),
                   MessageIcon::Warning);
        return;
    }
    // The creator saves into the current folder: the track's own, as after choosing it in the
    // file dialog, so saving under its name asks before replacing it.
    QDir::setCurrent(file.absolutePath());
    m_creatorDlg.m_openingLevel = level;
    m_creatorDlg.nameAfterTrack(m_boardLevelPath);
    OnCreateLevel();
}

} // namespace kf
