#pragma once

#include <QString>

class QWidget;

namespace kf {

enum class MessageIcon { None, Information, Warning };

// The application's name, the usual caption of a message box.
QString applicationName();

// Shows a modal message box with an OK button, captioned with the application's name unless a
// caption is given.
void MessageBox(QWidget* parent, const QString& text, MessageIcon icon = MessageIcon::None,
                const QString& caption = applicationName());

// Asks a question in a modal box with Yes and No, captioned with the application's name; true
// only when Yes is chosen. No is the default button and the answer to Escape and the close box.
bool AskYesNo(QWidget* parent, const QString& text, const QString& caption = applicationName());

} // namespace kf
