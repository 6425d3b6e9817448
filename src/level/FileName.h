#pragma once

#include <QByteArray>
#include <QString>

namespace kf {

// File names as the system keeps them: bytes, which need not be UTF-8 (a name copied from an
// old disk may be Latin-1). Qt's own conversion turns every such byte into U+FFFD, so the
// name it gives opens no file, and two names may become one. Here a name that is UTF-8 becomes
// its text, and each byte that is not part of valid UTF-8 becomes the lone surrogate
// U+DC80 + byte: encodeFileName gives back the very bytes, and no two names meet.
QString decodeFileName(const QByteArray& native);
QByteArray encodeFileName(const QString& name);

// A name as the player reads it: each byte that decodeFileName kept as a surrogate shown as
// U+FFFD, as the file dialog shows it.
QString readableFileName(const QString& name);

} // namespace kf
