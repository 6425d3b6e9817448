// SAVE: the painted level as a bitmap file in the current folder.

#include "creator/LevelCreatorDialog.h"
#include "level/FileReplace.h"
#include "toolkit/DebugOutput.h"
#include "toolkit/MessageBox.h"

#include <QDir>

namespace kf {

void LevelCreatorDialog::OnSave() {
    // The folder is wherever the last file choice left it.
    const std::optional<QString> savePath =
        levelSavePath(QDir::currentPath(), m_fileName, m_trackFile);
    if (!savePath) {
        MessageBox(this, QStringLiteral("Filename is missing, correct it"));
        return;
    }
    const QString& path = *savePath;
    // A level that traps or cannot finish its player is written only when the player says so.
    if (const LevelCheckResult verdict = m_check.verdictOf(m_canvas.image()).result;
        !verdict.playable && !AskYesNo(this, saveAnywayQuestion(verdict)))
        return;
    // The creator keeps its name from one opening to the next and Enter saves, so a blank
    // canvas could land on a finished level unseen: an existing file is replaced only when the
    // player says so. No leaves the painting, the name and the tool as they are.
    if (wouldReplace(path) &&
        !AskYesNo(this, path + QStringLiteral(" already exists. Replace it?")))
        return;
    const LevelWriteResult written =
        WriteLevelBitmap(m_canvas.image(), LevelCanvas::kSize, LevelCanvas::kSize, path);
    if (!written) {
        // Nothing was written and an older file of that name is untouched; the painting stays
        // so the player can choose another name.
        MessageBox(
            this,
            QStringLiteral("The level could not be saved as \"%1\".\n%2").arg(path, written.reason),
            MessageIcon::Warning);
        return;
    }
    MessageBox(this, QStringLiteral("Saved as : ") + path);
    m_saved = true;
    m_savedPath = path;
    Dialog::OnOK();
}

LevelWriteResult LevelCreatorDialog::WriteLevelBitmap(const QImage& source, int width, int height,
                                                      const QString& path) {
    const QImage picture = width > 0 && height > 0 ? source.copy(0, 0, width, height) : QImage();
    const LevelWriteResult result = writeLevelFile(picture, path);
    switch (result.status) {
    case LevelWriteResult::Written:
        break;
    case LevelWriteResult::NoPicture:
        OutputDebugString(QStringLiteral("CreateDIBSection failed!\n"));
        break;
    case LevelWriteResult::CannotCreate:
        OutputDebugString(QStringLiteral("CreateFile failed!\n"));
        break;
    case LevelWriteResult::WriteFailed:
        OutputDebugString(QStringLiteral("WriteFile failed!\n"));
        break;
    }
    return result;
}

} // namespace kf
