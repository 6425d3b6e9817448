#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

struct zip;
struct zip_source;

namespace kf {

// One file of a ZIP archive: its name and its whole bytes.
struct ZipEntry {
    QByteArray name;
    QByteArray bytes;
};

// The bytes of a ZIP archive that holds these entries, deflated, in this order; nothing when
// the archive cannot be made, with libzip's reason in `problem`.
std::optional<QByteArray> makeZip(const QList<ZipEntry>& entries, QString* problem);

// A ZIP archive opened for reading, from bytes in memory or from an open file. Nothing is ever
// written to it. What an entry says of its own size is never trusted: reading stops at the
// bound the caller gives.
class ZipReader {
public:
    explicit ZipReader(const QByteArray& bytes);
    // Reads the file open at `fd`, which stays the caller's.
    explicit ZipReader(int fd);
    ~ZipReader();
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;

    // Why the archive did not open, as a clause ("it is not a ZIP archive"); empty when open.
    const QString& problem() const { return m_problem; }

    qint64 count() const;
    // An entry's name in the archive's own bytes.
    QByteArray nameAt(qint64 index) const;

    // Why an entry gave no bytes: it states more than the bound, it gives more than it states
    // (a zip bomb lies), or it cannot be read.
    enum class Failure { None, TooLarge, Overlong, Damaged };
    // The entry's bytes when it holds at most `maxBytes`, both by what it states and by what
    // it gives; otherwise nothing, and why in `failure` (with libzip's words in `detail` for a
    // damaged one).
    std::optional<QByteArray> read(qint64 index, qint64 maxBytes, Failure* failure,
                                   QString* detail) const;

private:
    void openFrom(zip_source* source);

    QByteArray m_bytes; // the archive in memory, which libzip reads in place
    ::zip* m_zip = nullptr;
    QString m_problem;
};

} // namespace kf
