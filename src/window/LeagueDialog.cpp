#include "window/LeagueDialog.h"

#include "league/LeagueLink.h"
#include "window/LeagueSetting.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kf {

namespace {

QLabel* sentence(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}

} // namespace

LeagueDialog::LeagueDialog(LeagueLink& link, const QString& connInfo, QWidget* parent)
    : QDialog(parent), m_link(link) {
    setWindowTitle(QStringLiteral("Kurvenflitzerl.exe  -> League"));
    m_edit = new QLineEdit(connInfo, this);
    m_edit->setPlaceholderText(QStringLiteral("host=league.example.org dbname=league user=anna"));
    m_edit->setMinimumWidth(420);
    m_try = new QPushButton(QStringLiteral("Try"), this);
    m_try->setAutoDefault(false);
    m_result = sentence({}, this);
    connect(m_try, &QPushButton::clicked, this, &LeagueDialog::tryConnection);
    connect(m_edit, &QLineEdit::textEdited, m_result, &QLabel::clear);
    connect(&m_link, &LeagueLink::tried, this,
            [this](const QString& connInfo, const QString& player, const QString& failure) {
                m_try->setEnabled(true);
                if (connInfo != connection())
                    return;
                m_result->setText(failure.isEmpty()
                                      ? QStringLiteral("Connected to the league as %1.").arg(player)
                                      : leagueUnreachable(failure));
            });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &LeagueDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* row = new QHBoxLayout;
    row->addWidget(m_edit, 1);
    row->addWidget(m_try);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(sentence(QStringLiteral("The league's PostgreSQL server, as a libpq "
                                              "connection string. Each finished single run goes "
                                              "to the league's board once it is proven."),
                               this));
    layout->addLayout(row);
    layout->addWidget(sentence(QStringLiteral("The game keeps no password: libpq reads it from "
                                              "~/.pgpass or PGPASSWORD. Leave the field empty to "
                                              "play without a league."),
                               this));
    layout->addWidget(m_result);
    layout->addWidget(buttons);
}

QString LeagueDialog::connection() const {
    return m_edit->text().trimmed();
}

QString LeagueDialog::resultText() const {
    return m_result->text();
}

void LeagueDialog::tryConnection() {
    if (const QString refusal = leagueSettingRefusal(connection()); !refusal.isEmpty()) {
        m_result->setText(refusal);
        return;
    }
    m_result->setText(QStringLiteral("Trying…"));
    m_try->setEnabled(false);
    m_link.tryConnection(connection());
}

void LeagueDialog::accept() {
    if (const QString refusal = leagueSettingRefusal(connection()); !refusal.isEmpty()) {
        m_result->setText(refusal);
        return;
    }
    QDialog::accept();
}

} // namespace kf
