#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <memory>
#include <optional>

namespace kf {

// One file of a ZIP archive: its name and its whole bytes.
struct ZipEntry {
    QByteArray name;
    QByteArray bytes;
};

// A ZIP archive opened for reading, from bytes in memory or from an open file. Nothing is ever
// written to it. What an entry says of its own size is never trusted: reading stops at the
// bound the caller gives.
class ZipReader {
public:
    virtual ~ZipReader() = default;

    // Why the archive did not open, as a clause ("it is not a ZIP archive"); empty when open.
    virtual const QString& problem() const = 0;

    virtual qint64 count() const = 0;
    // An entry's name in the archive's own bytes.
    virtual QByteArray nameAt(qint64 index) const = 0;

    // Why an entry gave no bytes: it states more than the bound, it gives more than it states
    // (a zip bomb lies), or it cannot be read.
    enum class Failure { None, TooLarge, Overlong, Damaged };
    // The entry's bytes when it holds at most `maxBytes`, both by what it states and by what
    // it gives; otherwise nothing, and why in `failure` (with the library's words in `detail`
    // for a damaged one).
    virtual std::optional<QByteArray> read(qint64 index, qint64 maxBytes, Failure* failure,
                                           QString* detail) const = 0;
};

// What race files need of a ZIP library: libzip, in LibZip.cpp.
class ZipLibrary {
public:
    virtual ~ZipLibrary() = default;
    // The bytes of a ZIP archive that holds these entries, deflated, in this order; nothing
    // when the archive cannot be made, with the library's reason in `problem`.
    virtual std::optional<QByteArray> make(const QList<ZipEntry>& entries,
                                           QString* problem) const = 0;
    // The archive in these bytes, which the reader keeps.
    virtual std::unique_ptr<ZipReader> open(const QByteArray& bytes) const = 0;
    // The archive in the file open at `fd`, which stays the caller's.
    virtual std::unique_ptr<ZipReader> openFile(int fd) const = 0;
};

// The game's ZIP library. A program that links libzip itself (the object library kflibzip: the
// checker, the tests) uses it directly; the game loads the module `kfzip` at its first race
// file, so that its start maps neither libzip nor the libraries behind it. Null when the module
// cannot be loaded.
const ZipLibrary* zipLibrary();

// Through the game's ZIP library; without it, nothing, and why in `problem`.
std::optional<QByteArray> makeZip(const QList<ZipEntry>& entries, QString* problem);
// Through the game's ZIP library; without it, a reader whose problem says why.
std::unique_ptr<ZipReader> openZip(const QByteArray& bytes);
std::unique_ptr<ZipReader> openZipFile(int fd);

} // namespace kf
