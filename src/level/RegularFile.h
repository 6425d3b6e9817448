#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace kf {

// Whether the last part of a path may be a symbolic link to the file.
enum class LinkPolicy { Follow, DoNotFollow };

// Opens `path` for reading into `file` (which must be closed) when it names a regular file;
// anything else (missing, a folder, a pipe, a device, or a link when links are not followed) leaves
// `file` closed and gives false. The test is made on the opened file itself, so nothing can swap
// the name in between, and opening never waits: a pipe without a writer is refused at once.
// `path` names the file in the bytes encodeFileName gives for it.
bool openRegularFile(QFile& file, const QString& path, LinkPolicy links = LinkPolicy::Follow);
// The same for a path in the bytes the system uses, which need not be text in any encoding.
bool openRegularFile(QFile& file, const QByteArray& nativePath,
                     LinkPolicy links = LinkPolicy::Follow);

} // namespace kf
