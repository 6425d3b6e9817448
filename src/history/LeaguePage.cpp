#include "history/LeaguePage.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kf {

namespace {

QLabel* sentence(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}

QTableWidgetItem* cell(const QString& text, Qt::Alignment alignment, bool own) {
    auto* item = new QTableWidgetItem(text);
    item->setTextAlignment(alignment | Qt::AlignVCenter);
    item->setFlags(Qt::ItemIsEnabled);
    if (own) {
        QFont font = item->font();
        font.setBold(true);
        item->setFont(font);
    }
    return item;
}

} // namespace

LeaguePage::LeaguePage(QWidget* parent) : QWidget(parent) {
    m_status = sentence(this);
    m_board = new QTableWidget(0, 4, this);
    m_board->setHorizontalHeaderLabels({QStringLiteral("Rank"), QStringLiteral("Player"),
                                        QStringLiteral("Best time (ms)"), QStringLiteral("Runs")});
    m_board->verticalHeader()->hide();
    m_board->verticalHeader()->setDefaultSectionSize(20);
    m_board->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_board->setSelectionMode(QAbstractItemView::NoSelection);
    m_board->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_own = sentence(this);
    m_waiting = sentence(this);
    m_note = sentence(this);
    m_raceLeader = new QPushButton(QStringLiteral("Race the leader"), this);
    m_raceLeader->setToolTip(
        QStringLiteral("Keep the leader's confirmed run of this track as a ghost on the board"));
    m_raceLeader->setEnabled(false);
    connect(m_raceLeader, &QPushButton::clicked, this, [this] {
        if (m_raceLeaderHandler)
            m_raceLeaderHandler();
    });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_note, 1);
    buttons->addWidget(m_raceLeader);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_status);
    layout->addWidget(m_board, 1);
    layout->addWidget(m_own);
    layout->addWidget(m_waiting);
    layout->addLayout(buttons);
    showStanding(std::nullopt);
}

void LeaguePage::showStanding(const std::optional<LeagueStanding>& standing) {
    const bool board = standing && standing->failure.isEmpty();
    if (!standing)
        m_status->setText(QStringLiteral("No league is set: choose League… in the board's menu "
                                         "(key L) to play in one."));
    else if (!board)
        m_status->setText(standing->failure);
    else
        m_status->setText(
            standing->top.isEmpty()
                ? QStringLiteral("No run of this track is confirmed in the league yet.")
                : QStringLiteral("The league's best of this track:"));
    m_board->setVisible(board);
    m_own->setVisible(board);
    m_waiting->setVisible(board);
    m_raceLeader->setVisible(board);
    m_note->clear();
    if (!board) {
        m_board->setRowCount(0);
        m_raceLeader->setEnabled(false);
        return;
    }
    m_board->setRowCount(int(standing->top.size()));
    for (int row = 0; row < standing->top.size(); ++row) {
        const BoardLine& line = standing->top[row];
        const bool own = line.player == standing->player;
        m_board->setItem(row, 0, cell(QString::number(line.rank), Qt::AlignRight, own));
        m_board->setItem(row, 1, cell(line.player, Qt::AlignLeft, own));
        m_board->setItem(row, 2, cell(QString::number(line.bestMs), Qt::AlignRight, own));
        m_board->setItem(row, 3, cell(QString::number(line.finishedRuns), Qt::AlignRight, own));
    }
    m_own->setText(leagueOwnLine(*standing));
    const QString waiting = leagueWaitingText(*standing);
    m_waiting->setText(waiting);
    m_waiting->setVisible(!waiting.isEmpty());
    m_raceLeader->setEnabled(!standing->top.isEmpty());
}

void LeaguePage::showNote(const QString& note) {
    m_note->setText(note);
}

void LeaguePage::setRaceLeaderHandler(std::function<void()> handler) {
    m_raceLeaderHandler = std::move(handler);
}

QString LeaguePage::text() const {
    QStringList lines;
    for (const QLabel* label : {m_status, m_own, m_waiting, m_note})
        if (!label->isHidden() && !label->text().isEmpty())
            lines << label->text();
    return lines.join(QLatin1Char('\n'));
}

} // namespace kf
