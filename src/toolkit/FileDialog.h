#pragma once

#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace kf {

struct FileOpenRequest {
    QString filter;        // e.g. "KF-Level-Bitmap-Dateien (*.bmp)"
    QString defaultSuffix; // without the dot
    QString initialPath;   // file name shown at first; empty for none
};

// Shows the file-open dialog; nullopt when the user cancels. After a choice the process's
// current directory becomes the chosen file's folder, so later relative file access follows it.
std::optional<QString> GetOpenFileName(QWidget* parent, const FileOpenRequest& request);

// The function that asks the user. Tests put one in its place that answers at once.
using FileOpenChooser = std::function<std::optional<QString>(QWidget*, const FileOpenRequest&)>;
void setFileOpenChooser(FileOpenChooser chooser);

} // namespace kf
