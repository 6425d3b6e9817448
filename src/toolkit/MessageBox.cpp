#include "toolkit/MessageBox.h"

#include <QApplication>
#include <QMessageBox>

namespace kf {

namespace {

// Every box of the game: its text may hold a file or player name, so it is shown as written,
// never as markup.
int runBox(QMessageBox& box) {
    box.setTextFormat(Qt::PlainText);
    return box.exec();
}

} // namespace

QString applicationName() {
    return QStringLiteral("Kurvenflitzerl");
}

void MessageBox(QWidget* parent, const QString& text, MessageIcon icon, const QString& caption) {
    QMessageBox box(icon == MessageIcon::Warning       ? QMessageBox::Warning
                    : icon == MessageIcon::Information ? QMessageBox::Information
                                                       : QMessageBox::NoIcon,
                    caption, text, QMessageBox::Ok, parent);
    runBox(box);
}

bool AskYesNo(QWidget* parent, const QString& text, const QString& caption) {
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No,
                    parent);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return runBox(box) == QMessageBox::Yes;
}

} // namespace kf
