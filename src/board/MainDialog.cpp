#include "board/MainDialog.h"

#include "board/BitmapFile.h"
#include "board/BoardView.h"
#include "res/DialogTemplates.h"
#include "res/DialogUnits.h"
#include "res/Pictures.h"
#include "toolkit/Controls.h"
#include "toolkit/DataExchange.h"

#include <QDir>
#include <QMouseEvent>
#include <QPushButton>

namespace kf {

namespace {

constexpr int kIdLoadLevel = 1001;
constexpr int kIdTime = 1006;
constexpr int kIdBoard = 1008;
constexpr int kIdDotStyle = 1009;
constexpr int kIdLineStyle = 1010;
constexpr int kIdRedraw = 1012;
constexpr int kIdDistance = 1013;
constexpr int kIdSpeed = 1014;
constexpr int kIdBestName = 1018;
constexpr int kIdBestTime = 1020;
constexpr int kIdBestLabel = 1022;
constexpr int kIdGo = 1023;
constexpr int kIdCreateLevel = 1025;
constexpr int kIdMultiplayer = 1038;
constexpr int kIdLogo = 1072;
constexpr int kIdX = 1073;
constexpr int kIdHiddenStatic = 1076;

constexpr int kTimerPeriodMs = 100;

// Where the board's picture sits in the window: the top-left corner of control 1008.
QPoint boardOrigin() {
    const DialogTemplate& t = dialogTemplate(kMainDialogId);
    for (const ControlTemplate& c : t.controls) {
        if (c.id == kIdBoard)
            return duRectToPixels(c.rect, baseUnitsForFont(t.fontPointSize)).topLeft();
    }
    return {};
}

unsigned flagsOf(const QMouseEvent* event) {
    return (event->buttons() & Qt::LeftButton) ? kMkLButton : 0u;
}

} // namespace

MainDialog::MainDialog(QWidget* parent)
    : Dialog(kMainDialogId, parent), m_bmpLevel(boardOrigin()), m_hIcon(appIcon()) {
    setMouseTracking(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(kTimerPeriodMs);
    connect(&m_timer, &QTimer::timeout, this, &MainDialog::OnTimer);

    route(kIdLoadLevel, Notification::Clicked, [this] { OnLoadLevel(); });
    route(kIdDotStyle, Notification::Clicked, [this] { OnTrailStyle(); });
    route(kIdLineStyle, Notification::Clicked, [this] { OnTrailStyle(); });
    route(kIdRedraw, Notification::Clicked, [this] { OnRedraw(); });
}

QWidget* MainDialog::createCustomControl(const ControlTemplate& t, const QRect&) {
    if (t.id != kIdBoard)
        return nullptr;
    auto* board = new BoardView(m_bmpLevel, this);
    // A picture larger than the board area stays beneath the controls it reaches.
    board->lower();
    return board;
}

void MainDialog::DoDataExchange(DataExchange& dx) {
    QString hiddenText;
    dx.control(kIdX, m_ctlX);
    dx.control(kIdLogo, m_ctlLogo);
    dx.control(kIdCreateLevel, m_btnCreateLevel);
    dx.control(kIdMultiplayer, m_btnMultiplayer);
    dx.control(kIdLoadLevel, m_btnLoadLevel);
    dx.control(kIdBoard, m_ctlBoard);
    dx.text(kIdTime, m_timeMs);
    dx.range(kIdTime, m_timeMs, 0, 999999999);
    dx.radio(kIdDotStyle, m_trailStyle);
    dx.text(kIdDistance, m_distance);
    dx.text(kIdSpeed, m_speed);
    dx.range(kIdSpeed, m_speed, 0L, 99999999L);
    dx.text(kIdBestName, m_bestName);
    dx.text(kIdBestTime, m_bestTimeMs);
    dx.text(kIdBestLabel, m_bestLabel);
    dx.text(kIdGo, m_goText);
    dx.text(kIdHiddenStatic, hiddenText);
}

bool MainDialog::OnInitDialog() {
    Dialog::OnInitDialog();
    setWindowIcon(m_hIcon);

    m_stopwatch.Start();
    m_lastX = 0;
    m_lastY = 0;
    m_running = 0;
    m_timer.start();

    m_trailStyle = 0;
    UpdateData(false);
    m_goText.clear();

    const QString folder = QDir::currentPath();
    LoadLevelPicture(folder + QStringLiteral("/Level_00_INTRO.bmp"));
    m_bmpLogo = readBitmapFile(folder + QStringLiteral("/kf_1.gfx"));
    m_bmpX = readBitmapFile(folder + QStringLiteral("/kf_x.gfx"));
    showPictures();

    m_bestLabel = QStringLiteral("The best run on this Track:");
    ReadRecordFile(m_recordPath);

    setCursor(Qt::WaitCursor);
    return true;
}

void MainDialog::showPictures() {
    if (m_ctlBoard)
        m_ctlBoard->pictureChanged();
    if (m_ctlLogo && !m_bmpLogo.isNull())
        m_ctlLogo->setPicture(m_bmpLogo);
    if (m_ctlX && !m_bmpX.isNull())
        m_ctlX->setPicture(m_bmpX);
}

void MainDialog::ShowNotice(const QString& text) {
    m_continueDlg.ShowMessage(text);
}

void MainDialog::UpdateModeButtons() {
    // Without a match every level and mode command is free.
    for (QPushButton* b : {m_btnLoadLevel, m_btnCreateLevel, m_btnMultiplayer}) {
        if (b)
            b->setEnabled(true);
    }
}

void MainDialog::setPointerShape(Qt::CursorShape shape) {
    if (cursor().shape() != shape)
        setCursor(shape);
}

void MainDialog::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        OnLButtonDown(flagsOf(event), event->position().toPoint());
    else
        Dialog::mousePressEvent(event);
}

void MainDialog::mouseMoveEvent(QMouseEvent* event) {
    // The shape set at start-up and during a run lasts only until the next movement, which
    // shows the arrow again unless the run asks for its cross; the shape changes once at most.
    m_crossWanted = false;
    OnMouseMove(flagsOf(event), event->position().toPoint());
    setPointerShape(m_crossWanted ? Qt::CrossCursor : Qt::ArrowCursor);
}

void MainDialog::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        OnLButtonUp(flagsOf(event), event->position().toPoint());
    else
        Dialog::mouseReleaseEvent(event);
}

} // namespace kf
