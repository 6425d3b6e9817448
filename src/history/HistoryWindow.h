#pragma once

#include "history/HistoryView.h"

#include <QString>

class QChart;
class QChartView;
class QKeyEvent;
class QLabel;
class QTableWidget;

namespace kf {

class RunHistory;

// The run history of one track: a chart of the time of every finished run in the order the
// runs were made (x: the run's number among all runs of the track), the best so far as a step
// line and the failed runs marked at time 0; and a table of the ten best finished runs. When
// there is no history, one sentence says why. The game loads it from the module
// `kfhistorywindow` (HistoryView).
class HistoryWindow : public HistoryView {
    Q_OBJECT
public:
    explicit HistoryWindow(QWidget* parent = nullptr);

    void showOverview(const HistoryOverview& overview, const QString& levelName) override;
    void showUnavailable(const QString& reason) override;
    void showWaiting(const QString& reason) override;
    int chartColumns() const override;
    // Reads the history of the level from the store on this thread and shows it; `history`
    // may be null (not opened yet).
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
    // Takes the chart's series and axes and the table's rows away.
    void clear();

    QLabel* m_status = nullptr;
    QChart* m_chart = nullptr;
    QChartView* m_view = nullptr;
    QTableWidget* m_table = nullptr;
};

} // namespace kf
