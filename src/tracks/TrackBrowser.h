#pragma once

#include <QTimer>
#include <QWidget>

class QKeyEvent;
class QLabel;
class QTableView;

namespace kf {

class HistoryWriter;
class TrackList;

// The track browser: every loadable level of one folder in a table, each with its thumbnail,
// name, difficulty, record and the history's counts (see TrackList), whose pictures are read for
// the rows in view. Enter or a double click on a row chooses that level; what choosing does is the
// owner's (levelChosen). Closing the browser empties the list and stops its reading.
class TrackBrowser : public QWidget {
    Q_OBJECT
public:
    explicit TrackBrowser(QWidget* parent = nullptr);

    // Lists the levels of `folder` and makes the row of `current` (else the first) the current
    // row; `history` may be null or unavailable.
    void showFolder(const QString& folder, const QString& current, HistoryWriter* history);

    TrackList* tracks() const { return m_tracks; }
    QTableView* view() const { return m_view; }
    // The folder, and why there are no counts when the history cannot be asked.
    QString statusText() const;

signals:
    void levelChosen(const QString& path);

protected:
    // Escape closes the window, as it closes every other window of the game.
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Tells the list which rows are in view.
    void showRowsInView();

    QTimer m_viewMoved; // the rows in view are told once the view has laid itself out
    TrackList* m_tracks = nullptr;
    QLabel* m_status = nullptr;
    QTableView* m_view = nullptr;
};

} // namespace kf
