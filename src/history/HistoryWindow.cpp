#include "history/HistoryWindow.h"

#include "history/RunHistory.h"

#include <QChart>
#include <QChartView>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineSeries>
#include <QScatterSeries>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>

namespace kf {

namespace {

constexpr int kBestRows = 10;

QTableWidgetItem* cell(const QString& text, Qt::Alignment alignment) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(alignment | Qt::AlignVCenter);
    item->setFlags(Qt::ItemIsEnabled);
    return item;
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

    m_table = new QTableWidget(0, 5, this);
    m_table->setHorizontalHeaderLabels(
        {QStringLiteral("Date"), QStringLiteral("Player"), QStringLiteral("Time (ms)"),
         QStringLiteral("Distance (px)"), QStringLiteral("Speed (px/s)")});
    m_table->verticalHeader()->setDefaultSectionSize(20);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    m_table->setMinimumHeight(24 + kBestRows * 20);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_status);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_table);
    resize(620, 620);
}

QString HistoryWindow::statusText() const {
    return m_status->text();
}

void HistoryWindow::clear() {
    m_chart->removeAllSeries();
    // The chart deletes the series it removes, but hands a removed axis back to the caller.
    for (QAbstractAxis* axis : m_chart->axes()) {
        m_chart->removeAxis(axis);
        delete axis;
    }
    m_table->setRowCount(0);
}

void HistoryWindow::showUnavailable(const QString& reason) {
    clear();
    m_status->setText(reason);
}

void HistoryWindow::showWaiting(const QString& reason) {
    m_status->setText(m_status->text() + QLatin1Char('\n') + reason);
}

int HistoryWindow::chartColumns() const {
    return qRound(m_view->width() * m_view->devicePixelRatioF());
}

void HistoryWindow::showHistory(const RunHistory* history, const QString& levelSha256,
                                const QString& levelName) {
    if (!history || !history->available()) {
        showUnavailable(history ? history->unavailableReason()
                                : QStringLiteral("The run history is not open yet."));
        return;
    }
    // Every run, one point each, and the best so far as a step: the old best holds up to the
    // run that beats it, the new one from it on.
    HistoryOverview overview;
    const QList<HistoryRun> runs = history->runsOf(levelSha256);
    int bestMs = 0;
    for (int i = 0; i < runs.size(); ++i) {
        const double x = i + 1;
        if (runs[i].outcome != RunEnd::Finished) {
            overview.failed.append({x, 0});
            continue;
        }
        const int t = runs[i].timeMs;
        overview.finished.append({x, double(t)});
        overview.slowestMs = std::max(overview.slowestMs, t);
        if (overview.best.isEmpty() || t < bestMs) {
            if (!overview.best.isEmpty())
                overview.best.append({x, double(bestMs)});
            bestMs = t;
            overview.best.append({x, double(t)});
        }
    }
    if (!overview.best.isEmpty() && overview.best.constLast().x() < runs.size())
        overview.best.append({double(runs.size()), double(bestMs)});
    overview.runs = runs.size();
    overview.top = history->bestOf(levelSha256, kBestRows);
    showOverview(overview, levelName);
}

void HistoryWindow::showOverview(const HistoryOverview& overview, const QString& levelName) {
    clear();
    m_status->setText(QStringLiteral("Track: %1").arg(levelName));

    auto* finished = new QLineSeries;
    finished->setName(QStringLiteral("Finished runs"));
    finished->setPointsVisible(true);
    finished->append(overview.finished);
    auto* best = new QLineSeries;
    best->setName(QStringLiteral("Best so far"));
    best->append(overview.best);
    auto* failed = new QScatterSeries;
    failed->setName(QStringLiteral("Failed runs"));
    failed->setMarkerShape(QScatterSeries::MarkerShapeRotatedRectangle);
    failed->setMarkerSize(11);
    failed->setColor(Qt::red);
    failed->append(overview.failed);

    auto* xAxis = new QValueAxis;
    xAxis->setTitleText(QStringLiteral("Run"));
    xAxis->setLabelFormat(QStringLiteral("%d"));
    // Ticks on whole run numbers only, at most about eight of them.
    const qsizetype lastRun = std::max<qsizetype>(overview.runs, 1) + 1;
    xAxis->setRange(0, lastRun);
    xAxis->setTickType(QValueAxis::TicksDynamic);
    xAxis->setTickAnchor(0);
    xAxis->setTickInterval(std::max<qsizetype>(1, (lastRun + 7) / 8));
    auto* yAxis = new QValueAxis;
    yAxis->setTitleText(QStringLiteral("Time (ms)"));
    yAxis->setLabelFormat(QStringLiteral("%d"));
    yAxis->setRange(0, std::max(overview.slowestMs, 1000) * 1.1);
    yAxis->applyNiceNumbers();
    m_chart->addAxis(xAxis, Qt::AlignBottom);
    m_chart->addAxis(yAxis, Qt::AlignLeft);
    for (QXYSeries* series : {static_cast<QXYSeries*>(finished), static_cast<QXYSeries*>(best),
                              static_cast<QXYSeries*>(failed)}) {
        m_chart->addSeries(series);
        series->attachAxis(xAxis);
        series->attachAxis(yAxis);
    }

    m_table->setRowCount(int(overview.top.size()));
    for (int row = 0; row < overview.top.size(); ++row) {
        const HistoryRun& run = overview.top[row];
        const Qt::Alignment right = Qt::AlignRight;
        m_table->setItem(
            row, 0,
            cell(run.startedUtc.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")),
                 Qt::AlignLeft));
        m_table->setItem(row, 1, cell(run.player, Qt::AlignLeft));
        m_table->setItem(row, 2, cell(QString::number(run.timeMs), right));
        m_table->setItem(row, 3, cell(QString::number(run.distancePx), right));
        m_table->setItem(row, 4, cell(QString::number(run.speedPxPerS), right));
    }
}

void HistoryWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace kf
