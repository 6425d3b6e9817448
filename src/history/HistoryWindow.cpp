#include "history/HistoryWindow.h"

#include "history/HistoryOverview.h"
#include "history/LeaguePage.h"
#include "history/RunHistory.h"

#include <QChart>
#include <QChartView>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QScatterSeries>
#include <QSqlDatabase>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace kf {

namespace {

constexpr int kBestRows = 10;
// What a new time axis starts with; the nice numbers of a range depend on it.
constexpr int kTimeTicks = 5;
// Pixels between runs on the chart below which their dots and marks run together.
constexpr int kRunGap = 4;

// Puts the text into the table's cell; a cell that has it already is left alone, so the ten
// best, which a run's end seldom changes, are not painted again.
void showCell(QTableWidget* table, int row, int column, const QString& text,
              Qt::Alignment alignment) {
    if (const QTableWidgetItem* shown = table->item(row, column); shown && shown->text() == text)
        return;
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(alignment | Qt::AlignVCenter);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    table->setItem(row, column, item);
}

} // namespace

HistoryWindow::HistoryWindow(QWidget* parent) : HistoryView(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("Kurvenflitzerl.exe  -> Run History"));
    m_status = new QLabel(this);
    m_status->setTextFormat(Qt::PlainText);
    m_status->setWordWrap(true);

    m_chart = new QChart;
    m_chart->legend()->setAlignment(Qt::AlignBottom);
    m_view = new QChartView(m_chart, this);
    m_view->setRenderHint(QPainter::Antialiasing);
    m_view->setMinimumSize(520, 300);

    // The series and axes live as long as the window; an overview only replaces their points.
    m_finished = new QLineSeries(this);
    m_finished->setName(QStringLiteral("Finished runs"));
    m_bestSoFar = new QLineSeries(this);
    m_bestSoFar->setName(QStringLiteral("Best so far"));
    m_failed = new QScatterSeries(this);
    m_failed->setName(QStringLiteral("Failed runs"));
    m_failed->setMarkerShape(QScatterSeries::MarkerShapeRotatedRectangle);
    m_failed->setMarkerSize(11);
    m_failed->setColor(Qt::red);
    m_runAxis = new QValueAxis(this);
    m_runAxis->setTitleText(QStringLiteral("Run"));
    m_runAxis->setLabelFormat(QStringLiteral("%d"));
    // Ticks on whole run numbers only, at most about eight of them.
    m_runAxis->setTickType(QValueAxis::TicksDynamic);
    m_runAxis->setTickAnchor(0);
    m_runAxis->setTickInterval(1);
    m_timeAxis = new QValueAxis(this);
    m_timeAxis->setTitleText(QStringLiteral("Time (ms)"));
    m_timeAxis->setLabelFormat(QStringLiteral("%d"));
    m_niceTimes = new QValueAxis(this);

    m_table = new QTableWidget(0, 5, this);
    m_table->setHorizontalHeaderLabels(
        {QStringLiteral("Date"), QStringLiteral("Player"), QStringLiteral("Time (ms)"),
         QStringLiteral("Distance (px)"), QStringLiteral("Speed (px/s)")});
    m_table->verticalHeader()->setDefaultSectionSize(20);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setMinimumHeight(24 + kBestRows * 20);
    // Enter on a row and a double click on it both activate the row.
    connect(m_table, &QTableWidget::activated, this,
            [this](const QModelIndex& index) { watch(index.row()); });

    m_watch = new QPushButton(QStringLiteral("Watch"), this);
    m_watch->setToolTip(QStringLiteral("Watch the selected run on the board"));
    m_watch->setEnabled(false);
    connect(m_watch, &QPushButton::clicked, this, [this] {
        const QModelIndexList rows = m_table->selectionModel()->selectedRows();
        if (!rows.isEmpty())
            watch(rows.first().row());
    });
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { m_watch->setEnabled(m_table->selectionModel()->hasSelection()); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_watch);
    // The player's own runs on one page, the league's board of the track on the other.
    auto* runs = new QWidget;
    auto* runsLayout = new QVBoxLayout(runs);
    runsLayout->setContentsMargins(0, 0, 0, 0);
    runsLayout->addWidget(m_view, 1);
    runsLayout->addWidget(m_table);
    runsLayout->addLayout(buttons);
    m_league = new LeaguePage;
    m_pages = new QTabWidget(this);
    m_pages->setDocumentMode(true);
    m_pages->addTab(runs, QStringLiteral("Runs"));
    m_pages->addTab(m_league, QStringLiteral("League"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_status);
    m_streak = new QLabel(this);
    m_streak->setTextFormat(Qt::PlainText);
    m_streak->hide();
    layout->addWidget(m_streak);
    layout->addWidget(m_pages, 1);
    resize(620, 680);
}

QString HistoryWindow::statusText() const {
    return m_status->text();
}

void HistoryWindow::showStreak(const std::optional<DailyStreak>& streak) {
    if (!streak) {
        m_streak->clear();
        m_streak->hide();
        return;
    }
    const auto days = [](int n) {
        return n == 1 ? QStringLiteral("1 day") : QStringLiteral("%1 days").arg(n);
    };
    m_streak->setText(QStringLiteral("Track of the day: finished %1 in a row, the longest %2")
                          .arg(days(streak->current), days(streak->longest)));
    m_streak->show();
}

QString HistoryWindow::streakText() const {
    return m_streak->text();
}

void HistoryWindow::showWaiting(const QString& reason) {
    m_status->setText(reason);
}

int HistoryWindow::chartColumns() const {
    // The view is a little wider than the plot in it: never fewer columns than pixels.
    const int width = std::max(m_view->width(), m_view->minimumWidth());
    return int(std::ceil(width * m_view->devicePixelRatioF()));
}

void HistoryWindow::showChart(bool shown) {
    if (shown == m_chartShown)
        return;
    m_chartShown = shown;
    QXYSeries* const series[] = {m_finished, m_bestSoFar, m_failed};
    if (shown) {
        m_chart->addAxis(m_runAxis, Qt::AlignBottom);
        m_chart->addAxis(m_timeAxis, Qt::AlignLeft);
        for (QXYSeries* s : series) {
            m_chart->addSeries(s);
            s->attachAxis(m_runAxis);
            s->attachAxis(m_timeAxis);
        }
        // The chart's theme gives the line its pen and a mark its white edge when the series
        // first come on.
        if (!m_finishedPen) {
            m_finishedPen = m_finished->pen();
            m_failedEdge = m_failed->pen();
        }
        return;
    }
    // The chart hands a removed series or axis back without a parent: the window keeps it.
    for (QXYSeries* s : series) {
        m_chart->removeSeries(s);
        s->setParent(this);
    }
    for (QValueAxis* axis : {m_runAxis, m_timeAxis}) {
        m_chart->removeAxis(axis);
        axis->setParent(this);
    }
}

void HistoryWindow::showUnavailable(const QString& reason) {
    m_status->setText(reason);
    showChart(false);
    for (QXYSeries* s : {static_cast<QXYSeries*>(m_finished), static_cast<QXYSeries*>(m_bestSoFar),
                         static_cast<QXYSeries*>(m_failed)})
        s->clear();
    m_best.clear();
    m_table->clearSelection();
    m_table->setRowCount(0);
    m_watch->setEnabled(false);
}

void HistoryWindow::showOverview(const HistoryOverview& overview, const QString& levelName) {
    if (overview.unreadable) {
        showUnavailable(overview.unreadable->reason);
        return;
    }
    m_status->setText(QStringLiteral("Track: %1").arg(levelName));
    showChart(true);
    // Each change of an axis's range lays out every series on the chart again, the lines at a
    // cost that grows with their points: the old lines go first, and each axis changes once.
    m_finished->replace({});
    m_bestSoFar->replace({});

    const qint64 lastRun = std::max<qint64>(overview.runs, 1) + 1;
    const qint64 interval = std::max<qint64>(1, (lastRun + 7) / 8);
    // The wider of the old and the new interval first, so no range ever gets a tick per run.
    m_runAxis->setTickInterval(std::max<double>(m_runAxis->tickInterval(), interval));
    m_runAxis->setRange(0, lastRun);
    m_runAxis->setTickInterval(interval);
    // The time axis's range rounded as a new axis rounds it, worked out on an axis off the chart.
    m_niceTimes->setTickCount(kTimeTicks);
    m_niceTimes->setRange(0, std::max(overview.slowestMs, 1000) * 1.1);
    m_niceTimes->applyNiceNumbers();
    m_timeAxis->setTickCount(m_niceTimes->tickCount());
    m_timeAxis->setRange(m_niceTimes->min(), m_niceTimes->max());

    // Runs a few pixels apart or closer: dots on the line would make a band of their own, and
    // each mark would paint its white edge over the red of the one before, leaving only the
    // last one seen. Their marks are drawn without edges, and the line, a pixel column after
    // another, without dots and a pixel wide (half the painting of the theme's wider pen).
    const bool crowded = overview.runs * kRunGap > chartColumns();
    QPen line = *m_finishedPen;
    if (crowded)
        line.setWidth(1);
    m_finished->setPen(line);
    m_finished->setPointsVisible(!crowded);
    m_finished->replace(overview.finished);
    m_bestSoFar->replace(overview.bestSoFar);
    m_failed->setPen(crowded ? QPen(Qt::NoPen) : *m_failedEdge);
    m_failed->replace(overview.failed);
    showBest(overview);
}

void HistoryWindow::showBest(const HistoryOverview& overview) {
    // The run selected stays selected where it moves to, and a row that now holds another run
    // is no longer selected.
    const QModelIndexList selected = m_table->selectionModel()->selectedRows();
    const qint64 selectedId = selected.isEmpty() ? 0 : m_best.value(selected.first().row()).id;
    m_best = overview.best;
    m_table->clearSelection();
    m_table->setRowCount(int(overview.best.size()));
    for (int row = 0; row < overview.best.size(); ++row) {
        const HistoryRun& run = overview.best[row];
        const Qt::Alignment left = Qt::AlignLeft;
        const Qt::Alignment right = Qt::AlignRight;
        showCell(m_table, row, 0,
                 run.startedUtc.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")), left);
        showCell(m_table, row, 1, run.player, left);
        showCell(m_table, row, 2, QString::number(run.timeMs), right);
        showCell(m_table, row, 3, QString::number(run.distancePx), right);
        showCell(m_table, row, 4, QString::number(run.speedPxPerS), right);
        if (selectedId && run.id == selectedId)
            m_table->selectRow(row);
    }
    m_watch->setEnabled(m_table->selectionModel()->hasSelection());
}

void HistoryWindow::setWatchHandler(std::function<void(const HistoryRun&)> handler) {
    m_watchHandler = std::move(handler);
}

void HistoryWindow::showLeague(const std::optional<LeagueStanding>& standing) {
    m_league->showStanding(standing);
}

void HistoryWindow::showLeagueNote(const QString& note) {
    m_league->showNote(note);
}

void HistoryWindow::setRaceLeaderHandler(std::function<void()> handler) {
    m_league->setRaceLeaderHandler(std::move(handler));
}

void HistoryWindow::watch(int row) {
    if (m_watchHandler && row >= 0 && row < m_best.size())
        m_watchHandler(m_best[row]);
}

void HistoryWindow::showHistory(const RunHistory* history, const QString& levelSha256,
                                const QString& levelName) {
    if (!history || !history->available()) {
        showUnavailable(history ? history->unavailableReason()
                                : QStringLiteral("The run history is not open yet."));
        return;
    }
    showOverview(readOverview(history->database(), levelSha256, chartColumns()), levelName);
}

void HistoryWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace kf
