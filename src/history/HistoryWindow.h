#pragma once

#include "history/HistoryView.h"

#include <QPen>
#include <QString>

#include <optional>

class QChart;
class QChartView;
class QKeyEvent;
class QLabel;
class QLineSeries;
class QPushButton;
class QScatterSeries;
class QTabWidget;
class QTableWidget;
class QValueAxis;

namespace kf {

class LeaguePage;
class RunHistory;

// The run history of one track: a chart of the time of every finished run in the order the
// runs were made (x: the run's number among all runs of the track), the best so far as a step
// line and the failed runs marked at time 0; and a table of the ten best finished runs, any
// of which the player may watch (the Watch button, Enter or a double click on its row), on the
// page "Runs"; the league's board of the track on the page "League" (LeaguePage). When there is
// no history, one sentence says why. The window holds only what it draws: the chart's
// points, thinned to its pixel columns by `readOverview`, and the ten rows. The game loads it
// from the module `kfhistorywindow` (HistoryView).
class HistoryWindow : public HistoryView {
    Q_OBJECT
public:
    explicit HistoryWindow(QWidget* parent = nullptr);

    // Shows the overview of the track named `levelName`; a new overview replaces the chart's
    // points and the table's rows, the chart itself stays. An overview that could not be read
    // shows why instead (showUnavailable).
    void showOverview(const HistoryOverview& overview, const QString& levelName) override;
    // Shows no chart and no table, and the sentence why.
    void showUnavailable(const QString& reason) override;
    // Keeps the chart and the table, and says above them why runs wait to be written.
    void showWaiting(const QString& reason) override;
    // Reads the level's overview from the store on this thread and shows it; `history` may be
    // null (not opened yet).
    void showHistory(const RunHistory* history, const QString& levelSha256,
                     const QString& levelName);
    // The chart's width in device pixels: the columns to read an overview for.
    int chartColumns() const override;
    void setWatchHandler(std::function<void(const HistoryRun&)> handler) override;
    void showStreak(const std::optional<DailyStreak>& streak) override;
    void showLeague(const std::optional<LeagueStanding>& standing) override;
    void showLeagueNote(const QString& note) override;
    void setRaceLeaderHandler(std::function<void()> handler) override;
    // The streak's line; empty for a track that is not a track of the day.
    QString streakText() const;

    QChart* chart() const { return m_chart; }
    QTableWidget* table() const { return m_table; }
    QPushButton* watchButton() const { return m_watch; }
    QTabWidget* pages() const { return m_pages; }
    LeaguePage* leaguePage() const { return m_league; }
    // The track's name, or why there is no history.
    QString statusText() const;

protected:
    // Escape closes the window, as it closes every other window of the game.
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Puts the series and their axes on the chart, or takes them off (an empty chart).
    void showChart(bool shown);
    void showBest(const HistoryOverview& overview);
    // Hands the run of the table's row to the watch handler.
    void watch(int row);

    QLabel* m_status = nullptr;
    QLabel* m_streak = nullptr;
    QTabWidget* m_pages = nullptr;
    LeaguePage* m_league = nullptr;
    QChart* m_chart = nullptr;
    QChartView* m_view = nullptr;
    QLineSeries* m_finished = nullptr;
    QLineSeries* m_bestSoFar = nullptr;
    QScatterSeries* m_failed = nullptr;
    // The line's pen and the marks' edge as the chart's theme draws them.
    std::optional<QPen> m_finishedPen;
    std::optional<QPen> m_failedEdge;
    QValueAxis* m_runAxis = nullptr;
    QValueAxis* m_timeAxis = nullptr;
    // Never on the chart: rounds the time axis's range.
    QValueAxis* m_niceTimes = nullptr;
    bool m_chartShown = false;
    QTableWidget* m_table = nullptr;
    // The runs of the table's rows.
    QList<HistoryRun> m_best;
    QPushButton* m_watch = nullptr;
    std::function<void(const HistoryRun&)> m_watchHandler;
};

} // namespace kf
