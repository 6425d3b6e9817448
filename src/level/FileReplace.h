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
// beside it, which takes the name only once every byte is safely written. On failure nothing at
// `path` has changed and no new file is left behind.
//
// A symbolic link of that name is replaced by the file itself, never written through, so a
// link planted in a folder cannot make the game overwrite a file elsewhere. An existing regular
// file keeps its permissions; one that may not be written is left alone (CannotCreate), and so
// is a folder of that name. `path` names the file in the bytes encodeFileName gives for it.
FileWriteResult replaceFile(const QString& path, QByteArrayView bytes);

// Whether something stands at `path` that replaceFile would replace: a file, a symbolic link
// (also one that leads nowhere), a pipe. A folder does not count: replaceFile refuses it.
bool wouldReplace(const QString& path);

} // namespace kf
