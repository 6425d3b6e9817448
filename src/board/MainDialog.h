#pragma once

#include "board/ContinueDialog.h"
#include "board/LevelBoard.h"
#include "board/NewRecordDialog.h"
#include "board/Stopwatch.h"
#include "toolkit/Dialog.h"

#include <QIcon>
#include <QImage>
#include <QTimer>

class QPushButton;

namespace kf {

class BoardView;
class StaticControl;

// Mouse button flag of the run handlers: set while the left button is held.
inline constexpr unsigned kMkLButton = 0x0001;

// The main window and the owner of all game state: the level on the board, the run and its
// figures, the best run of the current track, and the dialogs the window opens. Fields keep
// the game's names; the 100 ms timer writes them all to the controls on every tick.
class MainDialog : public Dialog {
    Q_OBJECT
public:
    explicit MainDialog(QWidget* parent = nullptr);

    // Run state and figures.
    qint64 m_runStartMs = 0; // whole milliseconds of m_stopwatch at the press
    int m_prevY = 0;
    int m_prevX = 0;
    int m_running = 0;
    int m_lastY = 0;
    int m_lastX = 0;
    Stopwatch m_stopwatch;

    // The current level: its picture (shown on the board with the trail on top), the file it
    // came from and its record file.
    QString m_levelPath;
    QString m_recordPath = QStringLiteral("Level_00_INTRO.bmp.kfh");
    LevelBoard m_bmpLevel;
    QImage m_bmpLogo;
    QImage m_bmpX;

    // Controls bound by data exchange.
    StaticControl* m_ctlX = nullptr;
    StaticControl* m_ctlLogo = nullptr;
    QPushButton* m_btnCreateLevel = nullptr;
    QPushButton* m_btnMultiplayer = nullptr;
    QPushButton* m_btnLoadLevel = nullptr;
    BoardView* m_ctlBoard = nullptr;

    int m_timeMs = 0;
    int m_trailStyle = -1; // 0 dots, 1 line
    long m_distance = 0;
    long m_speed = 0;
    QString m_bestName = QStringLiteral("Nobody");
    int m_bestTimeMs = 999999;
    QString m_bestLabel;
    QString m_goText;
    int m_mpTitleTick = 0;
    int m_titleTick = 0;
    QIcon m_hIcon;
    ContinueDialog m_continueDlg;
    NewRecordDialog m_newRecordDlg;
    QString m_recordName;

    // Shows one line in the notice box and returns when it is closed.
    void ShowNotice(const QString& text);
    // Reads a record file into the best run; a file that does not open changes nothing.
    bool ReadRecordFile(const QString& path);
    // After a finished run: asks for a name and stores a strictly faster time as the record.
    void CheckNewRecord();
    // Enables and labels the level and mode buttons for the current mode.
    void UpdateModeButtons();

    // Command handlers.
    void OnLoadLevel();
    void OnTrailStyle();
    void OnRedraw();
    void OnTimer();

    // Run handlers; `flags` carries kMkLButton, `point` is in client pixels.
    void OnLButtonDown(unsigned flags, QPoint point);
    void OnMouseMove(unsigned flags, QPoint point);
    void OnLButtonUp(unsigned flags, QPoint point);

    // Puts a level picture on the board; false (and nothing changed) when the file is not a
    // loadable bitmap.
    bool LoadLevelPicture(const QString& path);

protected:
    void DoDataExchange(DataExchange& dx) override;
    bool OnInitDialog() override;
    QWidget* createCustomControl(const ControlTemplate& t, const QRect& pixels) override;

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void showPictures();
    void drawTrail(QPoint previous, QPoint last);
    void failRun(bool wallCrash);
    void setPointerShape(Qt::CursorShape shape);
    // Whole milliseconds since the press on the start.
    int runTimeMs() const;

    QTimer m_timer;
    bool m_crossWanted = false; // an accepted run movement asks for the cross pointer
};

} // namespace kf
