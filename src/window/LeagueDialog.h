#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kf {

class LeagueLink;

// "League…": the connection string of the league's server, with Try to see whether it answers
// and under which name. OK keeps a string that leagueSettingRefusal lets through; an empty one
// leaves the league.
class LeagueDialog : public QDialog {
    Q_OBJECT
public:
    LeagueDialog(LeagueLink& link, const QString& connInfo, QWidget* parent = nullptr);

    QString connection() const;
    QLineEdit* connectionEdit() const { return m_edit; }
    QPushButton* tryButton() const { return m_try; }
    // The answer to the last Try, or why the string cannot be kept.
    QString resultText() const;

    void accept() override;

private:
    void tryConnection();

    LeagueLink& m_link;
    QLineEdit* m_edit = nullptr;
    QPushButton* m_try = nullptr;
    QLabel* m_result = nullptr;
};

} // namespace kf
