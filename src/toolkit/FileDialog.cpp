#include "toolkit/FileDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace kf {

namespace {

std::optional<QString> askUser(QWidget* parent, const FileOpenRequest& request) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(QStringList{request.filter} + request.moreFilters);
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

std::optional<QString> GetSaveFileName(QWidget* parent, FileOpenRequest request) {
    request.save = true;
    std::optional<QString> chosen = chooser()(parent, request);
    if (!chosen)
        return std::nullopt;
    return QFileInfo(*chosen).absoluteFilePath();
}

void setFileOpenChooser(FileOpenChooser c) {
    chooser() = c ? std::move(c) : askUser;
}

} // namespace kf
