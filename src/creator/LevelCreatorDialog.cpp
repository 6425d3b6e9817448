#include "creator/LevelCreatorDialog.h"

#include "level/BitmapFile.h"
#include "res/ControlIds.h"
#include "res/DialogTemplates.h"
#include "toolkit/Controls.h"
#include "toolkit/DataExchange.h"
#include "toolkit/ImageView.h"

#include <QDir>
#include <QKeyEvent>
#include <QPushButton>
#include <QSlider>

#include <utility>

namespace kf {

LevelCreatorDialog::LevelCreatorDialog(QWidget* parent)
    : Dialog(kLevelCreatorDialogId, parent),
      m_canvas(templateControlRect(
          [](const ControlTemplate& c) { return (c.styles & style::SsBlackFrame) != 0; })),
      m_caption(windowTitle()) {
    route(id::creator::Save, Notification::Clicked, [this] { OnSave(); });
    route(id::creator::Walls, Notification::Clicked, [this] { OnPaintWalls(); });
    route(id::creator::Start, Notification::Clicked, [this] { OnPaintStart(); });
    route(id::creator::Finish, Notification::Clicked, [this] { OnPaintFinish(); });
    route(id::creator::Eraser, Notification::Clicked, [this] { OnEraser(); });
    route(id::creator::FileName, Notification::EditChanged, [this] { OnFileNameChange(); });
    route(id::creator::BrushSize, Notification::SliderMoved, [this] { OnHScroll(); });
    route(id::creator::BrushSize, Notification::SliderReleased, [this] { OnSliderReleased(); });
}

// The canvas takes the place of the frame control: the frame is part of the level picture, so
// what the dialog shows is exactly what SAVE writes.
QWidget* LevelCreatorDialog::createCustomControl(const ControlTemplate& t, const QRect&) {
    if (!(t.styles & style::SsBlackFrame))
        return nullptr;
    m_canvasView = new ImageView([this]() -> const QImage& { return m_canvas.image(); }, this);
    m_canvasView->showAt({0, 0});
    m_canvasView->lower();
    return m_canvasView;
}

void LevelCreatorDialog::DoDataExchange(DataExchange& dx) {
    dx.control(id::creator::BrushSize, m_slider);
    dx.control(id::creator::HiddenPicture, m_ctlX);
    dx.control(id::creator::Logo, m_ctlLogo);
    dx.radio(id::creator::Walls, m_tool);
    dx.text(id::creator::FileName, m_fileName);
}

bool LevelCreatorDialog::OnInitDialog() {
    Dialog::OnInitDialog();
    m_slider->setRange(kMinBrushSize, kMaxBrushSize);
    m_brushSize = kOpeningBrushSize;
    UpdateData(false);
    // The thumb shows the brush size from the start.
    m_slider->setValue(m_brushSize);

    if (!m_canvas.open(std::exchange(m_openingLevel, QImage())))
        m_canvas.clear();
    GetDlgItem(id::creator::FileName)->installEventFilter(this);

    // A picture that does not load leaves the one of an earlier opening, if any.
    const QString folder = QDir::currentPath();
    if (const QImage logo = readBitmapFile(folder + QStringLiteral("/kf_2.gfx")); !logo.isNull())
        m_bmpLogo = logo;
    if (const QImage x = readBitmapFile(folder + QStringLiteral("/kf_x.bmp")); !x.isNull())
        m_bmpX = x;
    m_ctlLogo->setPicture(m_bmpLogo);
    m_ctlX->setPicture(m_bmpX);

    // No verdict of an earlier opening's canvas: the caption's own text until this one's is in.
    setWindowTitle(m_caption);
    checkCanvasNow();
    return true;
}

void LevelCreatorDialog::chooseTool(int tool) {
    m_tool = tool;
    UpdateData(true);
}

void LevelCreatorDialog::OnPaintWalls() {
    chooseTool(kToolWalls);
}

void LevelCreatorDialog::OnPaintStart() {
    chooseTool(kToolStart);
}

void LevelCreatorDialog::OnPaintFinish() {
    chooseTool(kToolFinish);
}

void LevelCreatorDialog::OnEraser() {
    chooseTool(kToolEraser);
}

void LevelCreatorDialog::OnFileNameChange() {
    UpdateData(true);
}

void LevelCreatorDialog::takeSliderPosition() {
    m_brushSize = m_slider->sliderPosition();
    UpdateData(false);
}

void LevelCreatorDialog::OnHScroll() {
    takeSliderPosition();
}

void LevelCreatorDialog::OnSliderReleased() {
    takeSliderPosition();
}

void LevelCreatorDialog::OnLButtonDown(unsigned, QPoint point) {
    m_canvas.press(point);
}

void LevelCreatorDialog::OnMouseMove(unsigned flags, QPoint point) {
    if (!(flags & kMkLButton))
        return;
    const QRect changed = m_canvas.drag(point, m_tool, m_brushSize);
    if (m_canvasView && !changed.isEmpty())
        m_canvasView->updateClientRect(changed);
}

// The undo, redo and open keys work wherever the focus is. Enter saves, also while the file name
// is being typed: closing would throw the painting away. A push button that has the focus still
// takes Enter as its own click.
//
// Key C reaches the dialog from every control but the file-name field, which takes it as text.
void LevelCreatorDialog::keyPressEvent(QKeyEvent* event) {
    if (canvasKey(event)) {
        event->accept();
        return;
    }
    if (event->keyCombination() == QKeyCombination(Qt::Key_C)) {
        event->accept();
        OnShowProblems();
        return;
    }
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && !qobject_cast<QPushButton*>(focusWidget())) {
        event->accept();
        OnSave();
        return;
    }
    Dialog::keyPressEvent(event);
}

} // namespace kf
