#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

namespace kf {

struct FileOpenRequest {
    QString filter;               // e.g. "KF-Level-Bitmap-Dateien (*.bmp)"
    QString defaultSuffix;        // without the dot
    QString initialPath;          // file name shown at first; empty for none
    bool save = false;            // a file to write, new or replaced after the dialog's question
    QStringList moreFilters = {}; // filters the player may switch to, after `filter`
};

// Shows the file-open dialog; nullopt when the user cancels. After a choice the process's
// current directory becomes the chosen file's folder, so later relative file access follows it.
std::optional<QString> GetOpenFileName(QWidget* parent, const FileOpenRequest& request);

// Shows the file-save dialog, which asks before an existing file is replaced; nullopt when the
// user cancels. The current directory stays as it was.
std::optional<QString> GetSaveFileName(QWidget* parent, FileOpenRequest request);

// The function that asks the user, for opening and saving alike. Tests put one in its place that
// answers at once.
using FileOpenChooser = std::function<std::optional<QString>(QWidget*, const FileOpenRequest&)>;
void setFileOpenChooser(FileOpenChooser chooser);

} // namespace kf
