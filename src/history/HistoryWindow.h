#pragma once

#include <QString>
#include <QWidget>

class QChart;
class QKeyEvent;
class QLabel;
class QTableWidget;

namespace kf {

class RunHistory;

// The run history of one track: a chart of the time of every finished run in the order the
// runs were made (x: the run's number among all runs of the track), the best so far as a step
// line and the failed runs marked at time 0; and a table of the ten best finished runs. When
// there is no history, one sentence says why.
class HistoryWindow : public QWidget {
    Q_OBJECT
public:
    explicit HistoryWindow(QWidget* parent = nullptr);

    // Shows the history of the level; `history` may be null (not opened yet).
    void showHistory(const RunHistory* history, const QString& levelSha256,
                     const QString& levelName);

    QChart* chart() const { return m_chart; }
    QTableWidget* table() const { return m_table; }
    // The track's name, or why there is no history.
    QString statusText() const;

protected:
    // Escape closes the window, as it closes every other window of the game.
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* m_status = nullptr;
    QChart* m_chart = nullptr;
    QTableWidget* m_table = nullptr;
};

} // namespace kf
