#include "window/MainDialog.h"

#include "level/BitmapFile.h"
#include "res/ControlIds.h"
#include "res/DialogTemplates.h"
#include "res/DialogUnits.h"
#include "res/Pictures.h"
#include "toolkit/Controls.h"
#include "toolkit/DataExchange.h"
#include "toolkit/ImageView.h"
#include "toolkit/PointerPixel.h"

#include <QCoreApplication>
#include <QDir>
#include <QMouseEvent>
#include <QPushButton>

namespace kf {

namespace {

constexpr int kTimerPeriodMs = 100;

} // namespace

MainDialog::MainDialog(QWidget* parent)
    : Dialog(kMainDialogId, parent), m_bmpLevel(templateControlRect([](const ControlTemplate& c) {
                                                    return c.id == id::main::Board;
                                                }).topLeft()),
      m_hIcon(appIcon()) {
    setMouseTracking(true);
    // Each movement is a segment of the run, tested whole for walls, so every one the window
    // system delivers must come here, in order. Qt's X11 platform merges the movements that
    // queue up while this thread is busy into the last of them, and switches that on when the
    // application starts (so it is switched off here, after): a moment's stall at a corner would
    // turn the pointer's way round it into one straight jump through the wall.
    QCoreApplication::setAttribute(Qt::AA_CompressHighFrequencyEvents, false);
    m_timer.setTimerType(Qt::PreciseTimer);
    m_timer.setInterval(kTimerPeriodMs);
    connect(&m_timer, &QTimer::timeout, this, &MainDialog::OnTimer);
    setUpGhost();

    route(id::main::LoadLevel, Notification::Clicked, [this] { OnLoadLevel(); });
    route(id::main::DotStyle, Notification::Clicked, [this] { OnTrailStyle(); });
    route(id::main::LineStyle, Notification::Clicked, [this] { OnTrailStyle(); });
    route(id::main::Redraw, Notification::Clicked, [this] { OnRedraw(); });
    route(id::main::CreateLevel, Notification::Clicked, [this] { OnCreateLevel(); });
    route(id::main::Multiplayer, Notification::Clicked, [this] { OnMultiplayer(); });
    route(id::main::Logo, Notification::Clicked, [this] { OnLogoClicked(); });
}

QWidget* MainDialog::createCustomControl(const ControlTemplate& t, const QRect&) {
    if (t.id != id::main::Board)
        return nullptr;
    return new ImageView([this]() -> const QImage& { return m_bmpLevel.shownImage(); }, this);
}

void MainDialog::DoDataExchange(DataExchange& dx) {
    QString hiddenText;
    dx.control(id::main::HiddenPicture, m_ctlX);
    dx.control(id::main::Logo, m_ctlLogo);
    dx.control(id::main::CreateLevel, m_btnCreateLevel);
    dx.control(id::main::Multiplayer, m_btnMultiplayer);
    dx.control(id::main::LoadLevel, m_btnLoadLevel);
    dx.control(id::main::Board, m_ctlBoard);
    dx.text(id::main::Time, m_timeMs);
    dx.range(id::main::Time, m_timeMs, 0, 999999999);
    dx.radio(id::main::DotStyle, m_trailStyle);
    dx.text(id::main::Distance, m_distance);
    dx.text(id::main::Speed, m_speed);
    dx.range(id::main::Speed, m_speed, 0L, 99999999L);
    dx.text(id::main::BestName, m_bestName);
    dx.text(id::main::BestTime, m_bestTimeMs);
    dx.text(id::main::BestLabel, m_bestLabel);
    dx.text(id::main::Go, m_goText);
    dx.text(id::main::HiddenStatic, hiddenText);
    colorTimeField();
}

bool MainDialog::OnInitDialog() {
    Dialog::OnInitDialog();
    setWindowIcon(m_hIcon);
    // A picture larger than the board area stays beneath every control it reaches.
    if (m_ctlBoard)
        m_ctlBoard->lower();

    m_stopwatch.Start();
    m_timer.start();
    m_multiplayer.setDefaults();

    m_trailStyle = 0;
    UpdateData(false);
    m_goText.clear();

    const QString folder = QDir::currentPath();
    loadLevelPicture(folder + QStringLiteral("/Level_00_INTRO.bmp"));
    m_bmpLogo = readBitmapFile(folder + QStringLiteral("/kf_1.gfx"));
    m_bmpX = readBitmapFile(folder + QStringLiteral("/kf_x.gfx"));
    showPictures();

    m_bestLabel = QStringLiteral("The best run on this Track:");
    // The intro's record file lies in the start-up folder. Its path is fixed here, because the
    // file dialog moves the current directory on every choice, even of a file that is no level.
    m_recordPath = QDir(folder).absoluteFilePath(m_recordPath);
    ReadRecordFile(m_recordPath);

    setCursor(Qt::WaitCursor);
    m_historyAfterFirstPaint = true;
    setAcceptDrops(true);
    // A file given on the command line opens as soon as the window shows, so that its
    // messages have a window to stand on.
    if (!m_fileToOpen.isEmpty())
        QTimer::singleShot(0, this, [this] { openGivenFile(std::exchange(m_fileToOpen, {})); });
    return true;
}

void MainDialog::paintEvent(QPaintEvent* event) {
    Dialog::paintEvent(event);
    // The history's database opens once the window is on the screen, after the paint pass that
    // put it there, so start-up never waits for it.
    if (m_historyAfterFirstPaint) {
        m_historyAfterFirstPaint = false;
        QTimer::singleShot(0, this, [this] { openHistory(); });
    }
}

void MainDialog::showPictures() {
    if (m_ctlBoard)
        m_ctlBoard->showAt(m_bmpLevel.origin());
    if (m_ctlLogo && !m_bmpLogo.isNull())
        m_ctlLogo->setPicture(m_bmpLogo);
    if (m_ctlX && !m_bmpX.isNull())
        m_ctlX->setPicture(m_bmpX);
}

void MainDialog::ShowNotice(const QString& text) {
    m_continueDlg.ShowMessage(text);
}

void MainDialog::UpdateModeButtons() {
    // In a match the level may be changed, a level made or the match quitted only when the
    // first player is about to make the first run of a level.
    const bool locked = m_multiplayer.m_match.locked();
    const QString modeLabel = m_multiplayer.m_match.m_active ? QStringLiteral("Quit Multiplayer")
                                                             : QStringLiteral("Start Multiplayer");
    const std::pair<QPushButton*, QString> buttons[] = {
        {m_btnLoadLevel, QStringLiteral("Load Level")},
        {m_btnMultiplayer, modeLabel},
        {m_btnCreateLevel, QStringLiteral("Create Level")},
    };
    for (const auto& [button, label] : buttons) {
        if (!button)
            continue;
        button->setEnabled(!locked);
        button->setText(locked ? QStringLiteral("--XX--") : label);
    }
}

void MainDialog::setPointerShape(Qt::CursorShape shape) {
    if (cursor().shape() != shape)
        setCursor(shape);
}

} // namespace kf
