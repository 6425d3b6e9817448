#pragma once

#include "creator/LevelBitmap.h"
#include "creator/LevelCanvas.h"
#include "creator/LiveLevelCheck.h"
#include "toolkit/Dialog.h"

#include <QImage>
#include <QString>

class QSlider;

namespace kf {

class ImageView;
class StaticControl;

// The level creator: the player paints a level with four tools and five brush sizes on a
// 400 x 400 canvas, types a file name and saves the level as a bitmap in the current folder.
// The main window owns one creator for its whole life, so the tool, the file name and the last
// stroke point carry over from one opening to the next; the canvas is blank at every opening,
// unless the main window hands it a track to edit. Ctrl+Z undoes a stroke or a loaded track,
// Ctrl+Y and Ctrl+Shift+Z redo it, Ctrl+O loads a track; the canvas's context menu offers the
// same.
//
// The level checker judges the canvas at each opening, after each stroke, undo, redo and loaded
// track, on a thread of its own; the caption adds its verdict to the template's text (" —
// playable, narrowest passage 23 px", " — not playable: no finishing area"). Key C or "Show
// problems" in the context menu lays the sealed starting areas and the narrowest point over the
// canvas, never into it. SAVE asks before it writes a level that is not playable.
class LevelCreatorDialog : public Dialog {
    Q_OBJECT
public:
    explicit LevelCreatorDialog(QWidget* parent = nullptr);

    int m_brushSize = 2;  // 1 to 5; 2 again at every opening
    QString m_savedPath;  // the file that SAVE wrote
    bool m_saved = false; // true once SAVE has written a file in this opening
    QSlider* m_slider = nullptr;
    StaticControl* m_ctlX = nullptr;
    StaticControl* m_ctlLogo = nullptr;
    int m_tool = kToolWalls;
    QString m_fileName; // as typed: no folder, no extension
    // The file name of the track last put on the canvas from a file, without its folder: while
    // the name field shows that track's name, SAVE writes that very file.
    QString m_trackFile;
    LevelCanvas m_canvas;
    // A track the next opening puts on the canvas instead of a blank level; that opening takes
    // it. It must fit the canvas (LevelCanvas::fits).
    QImage m_openingLevel;
    QImage m_bmpLogo;
    QImage m_bmpX;
    // Whether the checker's problems are laid over the canvas; kept from one opening to the next.
    bool m_showProblems = false;

    // SAVE: writes the canvas as "<current folder>/<name>.bmp", or as the track file the name
    // came from (levelSavePath), and closes; an empty name or a failed write is reported and the
    // dialog stays open with the painting. A level that is not playable is written, and a file of
    // that name replaced, each only after the player has said Yes to a question; No keeps the
    // dialog.
    void OnSave();
    // Writes the top-left width x height pixels of `source` as a level file. Failures go to
    // the debug output as well as into the result.
    LevelWriteResult WriteLevelBitmap(const QImage& source, int width, int height,
                                      const QString& path);

    // The message that refuses a track of a size the canvas does not take, naming its file.
    static QString sizeRefusal(const QString& fileName, QSize size);
    // Names the level after the track file at `path`: its name (levelNameOf) for the name
    // field, and its file name, which SAVE under that name writes again.
    void nameAfterTrack(const QString& path);

    // Take back the last step, or do again the last one taken back.
    void OnUndo();
    void OnRedo();
    // Loads a track through the file dialog as one step, and shows its name. A file that is no
    // level, or one of another size than the canvas, is refused with a message and the canvas
    // stays as it was.
    void OnOpenTrack();
    // Key C and "Show problems": lays the checker's problems over the canvas, or takes them off.
    void OnShowProblems();

    void OnPaintWalls();
    void OnPaintStart();
    void OnPaintFinish();
    void OnEraser();
    void OnFileNameChange();
    // Keys or the wheel moved the slider; a mouse action counts once the button is let go.
    void OnHScroll();
    // The mouse let go of the slider after any click or drag on it.
    void OnSliderReleased();

    // Painting; `flags` carries kMkLButton, `point` is in client pixels.
    void OnLButtonDown(unsigned flags, QPoint point) override;
    void OnMouseMove(unsigned flags, QPoint point) override;

protected:
    void DoDataExchange(DataExchange& dx) override;
    bool OnInitDialog() override;
    QWidget* createCustomControl(const ControlTemplate& t, const QRect& pixels) override;

    void keyPressEvent(QKeyEvent* event) override;
    // The stroke ends with any release of the left button, wherever the pointer is.
    void mouseReleaseEvent(QMouseEvent* event) override;
    // Right click on the canvas: Undo, Redo and Open a track.
    void contextMenuEvent(QContextMenuEvent* event) override;
    // The creator's keys reach it from the file-name field as well.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Handles Ctrl+Z, Ctrl+Y, Ctrl+Shift+Z and Ctrl+O; false for any other key.
    bool canvasKey(const QKeyEvent* event);
    // Makes an open stroke a step of the history, and has the checker judge it.
    void endStroke();
    // Has the checker judge the canvas as it is now.
    void checkCanvasNow();
    // Shows the latest verdict in the caption, and the problems over the canvas when asked for.
    void showCheck();
    // Repaints a rectangle of the canvas that changed, and has the checker judge the canvas.
    void showChange(const QRect& changed);
    void chooseTool(int tool);
    void takeSliderPosition();

    ImageView* m_canvasView = nullptr;
    const QString m_caption; // the template's caption, before the checker's verdict
    LiveLevelCheck m_check{[this] { showCheck(); }};
};

} // namespace kf
