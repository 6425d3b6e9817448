#pragma once

#include <QWidget>

class QKeyEvent;
class QLabel;
class QTableView;

namespace kf {

class RunHistory;
class TrackList;

// The track browser: every loadable level of one folder in a table, each with its thumbnail,
// name, record and the history's counts (see TrackList). Enter or a double click on a row
// chooses that level; what choosing does is the owner's (levelChosen).
class TrackBrowser : public QWidget {
    Q_OBJECT
public:
    explicit TrackBrowser(QWidget* parent = nullptr);

    // Lists the levels of `folder` and makes the row of `current` (else the first) the current
    // row; `history` may be null or unavailable.
    void showFolder(const QString& folder, const QString& current, const RunHistory* history);

    TrackList* tracks() const { return m_tracks; }
    QTableView* view() const { return m_view; }
    // The folder, and why there are no counts when the history cannot be asked.
    QString statusText() const;

signals:
    void levelChosen(const QString& path);

protected:
    // Escape closes the window, as it closes every other window of the game.
    void keyPressEvent(QKeyEvent* event) override;

private:
    TrackList* m_tracks = nullptr;
    QLabel* m_status = nullptr;
    QTableView* m_view = nullptr;
};

} // namespace kf
