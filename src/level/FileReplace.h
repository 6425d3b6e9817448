#pragma once

#include <QByteArrayView>
#include <QString>

namespace kf {

// How replacing a file ended, and the system's words for a failure.
struct FileWriteResult {
    enum Status { Written, CannotCreate, WriteFailed };
    Status status = Written;
    QString reason; // empty when written

    bool ok() const { return status == Written; }
    explicit operator bool() const { return ok(); }
};

// The system's text for an error number ("No space left on device").
QString systemErrorText(int error);

// Makes `bytes` the whole contents of the file `path`, all at once: they go into a new file
// beside it, which takes the name only once every byte is safely written and flushed to the
// disk. On failure nothing at `path` has changed and no new file is left behind. The new file
// has a short name of its own (".kf-" and eight letters or digits), so that any name the folder
// allows can be replaced, and is created only where no file stands yet, so that two games
// writing into one folder at once never share it.
//
// A symbolic link of that name is replaced by the file itself, never written through, so a
// link planted in a folder cannot make the game overwrite a file elsewhere. An existing regular
// file keeps its permissions; one that may not be written is left alone (CannotCreate), and so
// is a folder of that name. `path` names the file in the bytes encodeFileName gives for it.
FileWriteResult replaceFile(const QString& path, QByteArrayView bytes);

// How replaceFile flushes the new file to the disk: ::fsync. Tests put a failing one in its
// place to see a flush that fails keep the old file.
extern int (*replaceFileFlush)(int fd);

// Whether something stands at `path` that replaceFile would replace: a file, a symbolic link
// (also one that leads nowhere), a pipe. A folder does not count: replaceFile refuses it.
bool wouldReplace(const QString& path);

} // namespace kf
