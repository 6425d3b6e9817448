#include "tracks/TrackBrowser.h"

#include "history/HistoryWriter.h"
#include "level/FileName.h"
#include "tracks/TrackList.h"

#include <QDir>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

namespace kf {

namespace {

constexpr int kCellMargin = 6;

} // namespace

TrackBrowser::TrackBrowser(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QStringLiteral("Kurvenflitzerl.exe  -> Tracks"));
    m_tracks = new TrackList(this);
    m_status = new QLabel(this);
    m_status->setTextFormat(Qt::PlainText);
    m_status->setWordWrap(true);

    m_view = new QTableView(this);
    m_view->setModel(m_tracks);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setIconSize(TrackList::kThumbnailBox);
    m_view->setWordWrap(false);
    m_view->verticalHeader()->hide();
    // Fixed sizes: the view never measures a hundred rows before it paints.
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->verticalHeader()->setDefaultSectionSize(TrackList::kThumbnailBox.height() +
                                                    kCellMargin);
    QHeaderView* columns = m_view->horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setStretchLastSection(true);
    const int widths[TrackList::ColumnCount] = {
        TrackList::kThumbnailBox.width() + kCellMargin, 180, 80, 110, 90, 50, 65, 100};
    for (int c = 0; c < TrackList::ColumnCount; ++c)
        m_view->setColumnWidth(c, widths[c]);
    setFocusProxy(m_view);
    connect(m_view, &QAbstractItemView::activated, this, [this](const QModelIndex& index) {
        // A copy: choosing may close the browser, which empties the list.
        if (index.isValid())
            emit levelChosen(QString(m_tracks->track(index.row()).path));
    });

    m_viewMoved.setSingleShot(true);
    m_viewMoved.setInterval(0);
    connect(&m_viewMoved, &QTimer::timeout, this, &TrackBrowser::showRowsInView);
    const auto viewMoved = [this] { m_viewMoved.start(); };
    connect(m_view->verticalScrollBar(), &QScrollBar::valueChanged, this, viewMoved);
    connect(m_view->verticalScrollBar(), &QScrollBar::rangeChanged, this, viewMoved);
    connect(m_tracks, &QAbstractItemModel::rowsRemoved, this, viewMoved);
    connect(m_tracks, &QAbstractItemModel::modelReset, this, viewMoved);
    m_view->viewport()->installEventFilter(this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_status);
    layout->addWidget(m_view, 1);
    resize(840, 560);
}

void TrackBrowser::showFolder(const QString& folder, const QString& current,
                              HistoryWriter* history) {
    m_tracks->showFolder(folder, history);
    QString status = QStringLiteral("Folder: %1")
                         .arg(readableFileName(QDir::toNativeSeparators(m_tracks->folder())));
    if (!history)
        status += QStringLiteral("\nThe run history is not open yet.");
    else if (!history->reason().isEmpty())
        status += QLatin1Char('\n') + history->reason();
    m_status->setText(status);
    const int row = std::max(0, m_tracks->rowOf(current));
    if (row < m_tracks->rowCount()) {
        m_view->setCurrentIndex(m_tracks->index(row, TrackList::Picture));
        m_view->scrollTo(m_view->currentIndex(), QAbstractItemView::PositionAtCenter);
    }
    showRowsInView();
}

void TrackBrowser::showRowsInView() {
    const int first = m_view->rowAt(0);
    int last = m_view->rowAt(m_view->viewport()->height() - 1);
    if (last < 0)
        last = m_tracks->rowCount() - 1;
    m_tracks->setShownRows(first, first < 0 ? -1 : last);
}

QString TrackBrowser::statusText() const {
    return m_status->text();
}

void TrackBrowser::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TrackBrowser::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    showRowsInView();
}

void TrackBrowser::closeEvent(QCloseEvent* event) {
    m_tracks->clear();
    m_viewMoved.stop();
    QWidget::closeEvent(event);
}

bool TrackBrowser::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_view->viewport() && event->type() == QEvent::Resize)
        m_viewMoved.start();
    return QWidget::eventFilter(watched, event);
}

} // namespace kf
