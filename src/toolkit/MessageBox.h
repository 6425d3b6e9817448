#pragma once

#include <QString>

class QWidget;

namespace kf {

enum class MessageIcon { None, Information, Warning };

// The application's name, the caption of every message box.
QString applicationName();

// Shows a modal message box with an OK button and the application's name as caption.
void MessageBox(QWidget* parent, const QString& text, MessageIcon icon = MessageIcon::None);

} // namespace kf
