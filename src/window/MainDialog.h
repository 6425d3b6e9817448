#pragma once

#include "creator/LevelCreatorDialog.h"
#include "history/HistoryWriter.h"
#include "league/LeagueLink.h"
#include "level/LevelBoard.h"
#include "level/TrackFolder.h"
#include "match/MultiplayerDialog.h"
#include "record/NewRecordDialog.h"
#include "record/RecordFile.h"
#include "run/GhostPath.h"
#include "run/RunReplay.h"
#include "run/RunTracker.h"
#include "run/Stopwatch.h"
#include "toolkit/ContinueDialog.h"
#include "toolkit/Dialog.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QIcon>
#include <QImage>
#include <QSet>
#include <QTimer>

#include <memory>

class QMenu;
class QPushButton;

namespace kf {

class HistoryView;
class ImageView;
class StaticControl;
class TrackBrowser;

// The main window and the owner of all game state: the level on the board, the run and its
// figures, the best run of the current track, and the dialogs the window opens. Fields keep
// the game's names; the 100 ms timer writes them all to the controls on every tick.
class MainDialog : public Dialog {
    Q_OBJECT
public:
    explicit MainDialog(QWidget* parent = nullptr);

    // The run: its state and rules live in m_run; the window shows its figures and outcomes.
    RunTracker m_run;
    Stopwatch m_stopwatch;

    // The current level: its picture (shown on the board with the trail on top), the file it
    // came from and its record file.
    QString m_levelPath;
    // The intro's record file; start-up makes it absolute in the start-up folder.
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
    ImageView* m_ctlBoard = nullptr;

    // The run's figures under the window's field names; they live in m_run, and the data
    // exchange shows them in the time, distance and speed fields.
    int& m_timeMs = m_run.figures().timeMs;
    int m_trailStyle = -1; // kTrailDots or kTrailLine
    long& m_distance = m_run.figures().distance;
    long& m_speed = m_run.figures().speed;
    QString m_bestName = QString::fromLatin1(kNobody);
    int m_bestTimeMs = kNoTimeMs;
    QString m_bestLabel;
    QString m_goText;
    int m_mpTitleTick = 0;
    int m_titleTick = 0;
    QIcon m_hIcon;
    ContinueDialog m_continueDlg;
    NewRecordDialog m_newRecordDlg;
    LevelCreatorDialog m_creatorDlg;
    // The match set-up and the match: whether one is on, whose turn it is, the players.
    MultiplayerDialog m_multiplayer;
    QString m_recordName;

    // Shows one line in the notice box and returns when it is closed.
    void ShowNotice(const QString& text);
    // Reads a record file into the best run; a file that does not open changes nothing.
    bool ReadRecordFile(const QString& path);
    // After a finished run: asks for a name and stores a strictly faster time as the record.
    void CheckNewRecord();
    // Enables and labels the level and mode buttons for the state of the match: during a
    // match they are locked ("--XX--") except between levels.
    void UpdateModeButtons();

    // Command handlers.
    void OnLoadLevel();
    // Opens the level creator and puts a level saved there on the board.
    void OnCreateLevel();
    // Opens the creator with the level on the board and its name (key E, or the board's
    // context menu), when no run is on and the match leaves the level buttons free. A level
    // of another size than the creator's canvas is refused with a message.
    void OnEditLevel();
    bool canEditLevel() const;
    // Starts a match through the set-up dialog, or quits the match and shows the scoreboard.
    void OnMultiplayer();
    void OnTrailStyle();
    void OnRedraw();
    void OnTimer();
    // Shows the program's name, version and authors.
    void OnLogoClicked();

    // Run handlers; `flags` carries kMkLButton, `point` is in client pixels.
    void OnLButtonDown(unsigned flags, QPoint point) override;
    void OnMouseMove(unsigned flags, QPoint point) override;
    void OnLButtonUp(unsigned flags, QPoint point) override;

    // Puts a level picture on the board; false (and nothing changed) when the file is not a
    // loadable bitmap.
    bool loadLevelPicture(const QString& path);
    // Loads a level file as Load Level does: the picture, the level path, the record file
    // beside it and its best run; false (and nothing changed) when it is not a loadable bitmap.
    bool loadLevelFile(const QString& path);

    // Watching a run again on the board (MainDialogReplay.cpp): the board and the figures as
    // they were before, given back when the replay ends; the replay's clock, moved on every
    // 15 ms by the real time that passed. While it is on, no run starts, and the keys Space,
    // Left, Right, + and − and Escape are the replay's, wherever the window's focus is.
    struct ReplaySaved {
        LevelBoard board;
        RunFigures figures;
    };
    std::unique_ptr<RunReplay> m_replay;
    std::optional<ReplaySaved> m_replaySaved;
    QTimer m_replayTimer;
    QElapsedTimer m_replayClock;
    // Starts watching `path` on the board; not during a run, and a replay on is ended first.
    void watchPath(const GhostPath& path);
    // Ends the replay, if one is on, and shows the board as it was.
    void endReplay();
    bool replaying() const { return m_replay != nullptr; }
    void moveReplay();
    void showReplay(const QRect& changed);
    bool replayKey(QKeyEvent* event);

    // Race files (MainDialogRace.cpp). The board's level file's bytes, as read for the picture:
    // a shared race carries exactly these. A file given on the command line opens once the
    // window is shown.
    QByteArray m_boardLevelBytes;
    QString m_fileToOpen;
    bool m_shareAsked = false;
    // Key X and the board's menu: asks the history for the track's best run, then offers to
    // save it with the track as a race file.
    void OnShareRace();
    void shareBestRun(const QString& levelSha256, const std::optional<HistoryRun>& run,
                      const GhostPath& path);
    // Opens a race file: its ghosts proven, its track kept in the races folder and loaded as
    // Load Level loads a track, its ghosts kept in the history. False, after a message naming
    // the file and the reason, when it cannot be opened; then nothing was written.
    bool openRaceFile(const QString& path);
    // Opens a race file or loads a track, as Load Level would, when the level may change.
    void openGivenFile(const QString& path);
    // Key D and the board's menu: loads today's track of the day (UTC), made the first time.
    void OnDailyTrack();

    // The file of the level on the board, absolute; empty while there is none. Page Down / Up
    // and the track browser go through its folder (with none, the current directory).
    QString m_boardLevelPath;
    TrackBrowser* m_trackBrowser = nullptr;
    // Whether the level may change now: not during a run, and in a match only where Load
    // Level may be pressed (between levels).
    bool levelChangeAllowed() const;
    // Page Down / Page Up: the next (previous) loadable level of the folder, loaded as Load
    // Level does; broken files are skipped silently, at the ends nothing happens.
    void OnStepLevel(LevelStep step);
    // Opens the track browser on the folder (key T, or the board's context menu) when no run is
    // on; a level chosen there is loaded as Load Level does, and the browser closes.
    void OnTracks();

    // The run history: its writer starts once the window has been painted for the first time
    // (or when first needed) at defaultHistoryPath(), unless one was handed in before
    // (useHistory). The level is known by the SHA-256 of its file's bytes; the start-up level's
    // is taken with the history's start, so start-up waits for neither.
    std::unique_ptr<HistoryWriter> m_history;
    void useHistory(std::unique_ptr<HistoryWriter> history);
    HistoryView* m_historyWindow = nullptr;
    QString m_levelSha256;
    QString m_levelName;
    QDateTime m_runStartedUtc;
    // Opens the history window (key H, or the board's context menu) when no run is on.
    void OnRunHistory();
    // The board's menu entry: it tells when runs wait or the history is not available.
    QString historyMenuText() const;
    // The player asked the history window to watch a stored run: asks the history for its path.
    void watchRun(const HistoryRun& run);
    // The stored run whose path was asked for to be watched; 0 for none.
    qint64 m_watchAsked = 0;

    // The league (MainDialogLeague.cpp): the link to its server, made on the history's writer
    // when the history starts with a league set (leagueSetting) or when the player first opens
    // League… (key L, the board's menu). A finished single run is handed to the history marked
    // for the league, and the track's bytes once a session; the history window's League page
    // shows the track's board.
    std::unique_ptr<LeagueLink> m_league;
    QSet<QString> m_leagueTracksKept;
    void OnLeague();
    // Makes the link to the league when there is none yet.
    LeagueLink& leagueLink();
    // The league a finished single run of now goes to; empty for none.
    QString leagueOfRun(RunEnd outcome) const;
    // Asks the league for the track's standing when the history window shows a league's page.
    void refreshLeaguePage();

    // The ghosts: the path of the run being made (board pixels, from the press), the ghosts of
    // the track on the board from the history (the player's own best and the shared ones), and
    // whether they are shown (key G, the board's context menu; kept in the settings). Each one
    // may be switched off for the session on its own. During a single player's run, a 15 ms
    // timer moves each shown ghost's ring to where its run was.
    GhostPath m_runPath;
    TrackGhosts m_ghosts;
    bool m_ghostOn = true;
    QSet<qint64> m_ghostsOff; // by the shared ghost's id; kOwnGhostKey for the player's own
    static constexpr qint64 kOwnGhostKey = 0;
    QTimer m_ghostTimer;
    // Switches every ghost and keeps the choice.
    void setGhostOn(bool on);
    // Switches one ghost, by its key, for the session.
    void setGhostShown(qint64 key, bool shown);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void DoDataExchange(DataExchange& dx) override;
    bool OnInitDialog() override;
    QWidget* createCustomControl(const ControlTemplate& t, const QRect& pixels) override;

private:
    void showPictures();
    // Makes the record file beside this level file the current one and reads its best run.
    void useRecordFileOf(const QString& levelPath);
    // Shows the time field red while the run is slower than the best, green otherwise. Runs at
    // the end of every data exchange, so a new best turns the time green with the same write,
    // even when the time's text stays the same.
    void colorTimeField();
    void failRun(RunOutcome outcome);
    // After a match run: the caption names the player whose turn it now is.
    void showMatchRunEndCaption();
    void setPointerShape(Qt::CursorShape shape);
    // Opens the store, after taking the SHA-256 of a level put on the board before the window
    // was shown.
    void openHistory();
    // Remembers the level's file for the history, and shows its history if the window is open.
    void rememberLevelForHistory(const QString& path, const QByteArray& bytes);
    // Who made the run that has just ended: the match player, else the record name entered
    // after it, else no one.
    QString historyPlayer(bool recordNamed) const;
    // Stores the run that has just ended and refreshes the history window.
    void recordRunInHistory(RunEnd outcome, const QString& player);
    // Asks the history's thread for the track's overview when the history window is open.
    void refreshHistoryWindow();
    // Shows the overview, or (for none) only why there is none, in the history window.
    void showHistoryOverview(const HistoryOverview* overview);
    void setUpGhost();
    // Asks the history for the ghosts of the track on the board, when it is open.
    void loadGhost();
    // Takes the ghosts the history read for the track on the board.
    void showGhosts(const TrackGhosts& ghosts);
    void addToRunPath(QPoint client, int msSincePress);
    // Starts the rings when a run is on that should show ghosts, else takes them away.
    void updateGhostMarker();
    void moveGhostMarker();
    // The board's context menu's "Ghosts" submenu: a switch for all, one for each ghost on the
    // board, and the shared ghosts to forget, which the history then reads again.
    void addGhostsMenu(QMenu& menu);
    // Keys Page Down, Page Up and T; false for any other key.
    bool handleTracksKey(QKeyEvent* event);
    void loadChosenTrack(const QString& path);

    QTimer m_timer;
    // Set at start-up until the first paint, after which the history's store opens.
    bool m_historyAfterFirstPaint = false;
    // The start-up level's bytes while their SHA-256 waits for the history's start.
    QByteArray m_unhashedLevelBytes;
};

} // namespace kf
