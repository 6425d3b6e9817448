#include "toolkit/FileDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace kf {

namespace {

std::optional<QString> askUser(QWidget* parent, const FileOpenRequest& request) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(request.filter);
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.setDirectory(QDir::current());
    if (!request.initialPath.isEmpty())
        dialog.selectFile(request.initialPath);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

FileOpenChooser& chooser() {
    static FileOpenChooser current = askUser;
    return current;
}

} // namespace

std::optional<QString> GetOpenFileName(QWidget* parent, const FileOpenRequest& request) {
    std::optional<QString> chosen = chooser()(parent, request);
    if (!chosen)
        return std::nullopt;
    const QFileInfo info(*chosen);
    QDir::setCurrent(info.absolutePath());
    return info.absoluteFilePath();
}

void setFileOpenChooser(FileOpenChooser c) {
    chooser() = c ? std::move(c) : askUser;
}

} // namespace kf
