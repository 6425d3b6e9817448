// The window's look: the colour of the running time and the box behind the logo.

#include "res/ControlIds.h"
#include "run/CaptionSchedule.h"
#include "run/TimeColor.h"
#include "toolkit/MessageBox.h"
#include "window/MainDialog.h"

#include <QLineEdit>

namespace kf {

void MainDialog::OnLogoClicked() {
    const QString credit = QString::fromLatin1(kAuthorCredit);
    MessageBox(this, credit, MessageIcon::None,
               applicationName() + QStringLiteral(" 1.0 - ") + credit);
}

void MainDialog::colorTimeField() {
    auto* time = item<QLineEdit>(id::main::Time);
    if (!time)
        return;
    const QColor color(timeColor(m_timeMs, m_bestTimeMs));
    // Every exchange passes here, ten times a second; the palette is set only on a change.
    QPalette pal = time->palette();
    if (pal.color(QPalette::Text) == color)
        return;
    pal.setColor(QPalette::Text, color);
    time->setPalette(pal);
}

} // namespace kf
