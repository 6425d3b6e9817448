// Undo, redo and loading a track in the level creator, and the checker's verdict on the canvas:
// the keys and the canvas's context menu.

#include "creator/LevelCreatorDialog.h"
#include "level/BitmapFile.h"
#include "res/ControlIds.h"
#include "toolkit/FileDialog.h"
#include "toolkit/ImageView.h"
#include "toolkit/MessageBox.h"

#include <QContextMenuEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>

namespace kf {

namespace {

const QKeySequence kUndoKey(Qt::CTRL | Qt::Key_Z);
const QKeySequence kRedoKey(Qt::CTRL | Qt::Key_Y);
const QKeySequence kRedoShiftKey(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
const QKeySequence kOpenKey(Qt::CTRL | Qt::Key_O);
const QKeySequence kProblemsKey(Qt::Key_C);

} // namespace

QString LevelCreatorDialog::sizeRefusal(const QString& fileName, QSize size) {
    return QStringLiteral("The track \"%1\" is %2 × %3 pixels; the creator edits only tracks of "
                          "%4 × %4 pixels.")
        .arg(fileName)
        .arg(size.width())
        .arg(size.height())
        .arg(LevelCanvas::kSize);
}

void LevelCreatorDialog::nameAfterTrack(const QString& path) {
    m_fileName = levelNameOf(path);
    m_trackFile = QFileInfo(path).fileName();
}

void LevelCreatorDialog::endStroke() {
    if (m_canvas.release())
        checkCanvasNow();
}

void LevelCreatorDialog::checkCanvasNow() {
    m_check.request(m_canvas.image());
}

void LevelCreatorDialog::showCheck() {
    const CanvasCheck& check = *m_check.latest();
    setWindowTitle(m_caption + playabilitySuffix(check));
    if (m_canvasView)
        m_canvasView->setOverlay(m_showProblems ? check.problems : QImage());
}

void LevelCreatorDialog::OnShowProblems() {
    m_showProblems = !m_showProblems;
    if (m_canvasView)
        m_canvasView->setOverlay(m_showProblems && m_check.latest() ? m_check.latest()->problems
                                                                    : QImage());
}

void LevelCreatorDialog::showChange(const QRect& changed) {
    if (changed.isEmpty())
        return;
    if (m_canvasView)
        m_canvasView->updateClientRect(changed);
    checkCanvasNow();
}

void LevelCreatorDialog::OnUndo() {
    endStroke();
    showChange(m_canvas.undo());
}

void LevelCreatorDialog::OnRedo() {
    endStroke();
    showChange(m_canvas.redo());
}

void LevelCreatorDialog::OnOpenTrack() {
    endStroke();
    const FileOpenRequest request{
        QStringLiteral("KF-Level-Bitmap-Dateien (*.bmp)"), QStringLiteral("bmp"),
        m_fileName.isEmpty() ? QString() : m_fileName + QStringLiteral(".bmp")};
    const std::optional<QString> chosen = GetOpenFileName(this, request);
    if (!chosen)
        return;
    const QImage level = readBitmapFile(*chosen);
    if (level.isNull()) {
        MessageBox(this, unloadableLevelText(*chosen), MessageIcon::Warning);
        return;
    }
    if (!m_canvas.load(level)) {
        MessageBox(this, sizeRefusal(QFileInfo(*chosen).fileName(), level.size()),
                   MessageIcon::Warning);
        return;
    }
    // The file dialog made the track's folder the current one, so SAVE under this name asks
    // before it replaces the track.
    nameAfterTrack(*chosen);
    UpdateData(false);
    showChange(m_canvas.image().rect());
}

bool LevelCreatorDialog::canvasKey(const QKeyEvent* event) {
    const QKeySequence pressed(event->keyCombination());
    if (pressed == kUndoKey)
        OnUndo();
    else if (pressed == kRedoKey || pressed == kRedoShiftKey)
        OnRedo();
    else if (pressed == kOpenKey)
        OnOpenTrack();
    else
        return false;
    return true;
}

void LevelCreatorDialog::mouseReleaseEvent(QMouseEvent* event) {
    Dialog::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        endStroke();
}

bool LevelCreatorDialog::eventFilter(QObject* watched, QEvent* event) {
    // The field would take Ctrl+Z and Ctrl+Y for its own text; in the creator they are the
    // canvas's.
    if (event->type() == QEvent::KeyPress && watched == GetDlgItem(id::creator::FileName) &&
        canvasKey(static_cast<QKeyEvent*>(event)))
        return true;
    return Dialog::eventFilter(watched, event);
}

void LevelCreatorDialog::contextMenuEvent(QContextMenuEvent* event) {
    if (event->reason() == QContextMenuEvent::Mouse &&
        !m_canvas.image().rect().contains(event->pos())) {
        event->ignore();
        return;
    }
    endStroke();
    QMenu menu(this);
    QAction* undo = menu.addAction(QStringLiteral("Undo"), this, &LevelCreatorDialog::OnUndo);
    undo->setShortcut(kUndoKey);
    undo->setEnabled(m_canvas.history().canUndo());
    QAction* redo = menu.addAction(QStringLiteral("Redo"), this, &LevelCreatorDialog::OnRedo);
    redo->setShortcut(kRedoKey);
    redo->setEnabled(m_canvas.history().canRedo());
    menu.addSeparator();
    menu.addAction(QStringLiteral("Open a track…"), this, &LevelCreatorDialog::OnOpenTrack)
        ->setShortcut(kOpenKey);
    menu.addSeparator();
    QAction* problems =
        menu.addAction(QStringLiteral("Show problems"), this, &LevelCreatorDialog::OnShowProblems);
    problems->setShortcut(kProblemsKey);
    problems->setCheckable(true);
    problems->setChecked(m_showProblems);
    menu.exec(event->globalPos());
}

} // namespace kf
