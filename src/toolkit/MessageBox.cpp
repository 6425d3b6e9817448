#include "toolkit/MessageBox.h"

#include <QApplication>
#include <QMessageBox>

namespace kf {

QString applicationName() {
    return QStringLiteral("Kurvenflitzerl");
}

void MessageBox(QWidget* parent, const QString& text, MessageIcon icon, const QString& caption) {
    QMessageBox box(icon == MessageIcon::Warning       ? QMessageBox::Warning
                    : icon == MessageIcon::Information ? QMessageBox::Information
                                                       : QMessageBox::NoIcon,
                    caption, text, QMessageBox::Ok, parent);
    // The text may hold a file or player name: shown as written, never as markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool AskYesNo(QWidget* parent, const QString& text, const QString& caption) {
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No,
                    parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

} // namespace kf
