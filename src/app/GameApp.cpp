#include "app/GameApp.h"

#include "app/FileSizeSignal.h"

#include "res/Pictures.h"
#include "toolkit/MessageBox.h"
#include "window/MainDialog.h"

#include <QApplication>
#include <QStyleFactory>

namespace kf {

bool GameApp::InitInstance() {
    ignoreFileSizeSignal();
    QApplication::setApplicationName(applicationName());
    // One look on every desktop; the dialogs set their own white background and black text.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setWindowIcon(appIcon());

    MainDialog dialog;
    // `kurvenflitzerl FILE`: a race file or a track to open at once.
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1)
        dialog.m_fileToOpen = arguments.at(1);
    dialog.DoModal();
    return false;
}

} // namespace kf
