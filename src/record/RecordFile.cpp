#include "record/RecordFile.h"

#include "level/RegularFile.h"

#include <QFile>
#include <QStringDecoder>

#include <algorithm>
#include <limits>

namespace kf {

namespace {

// A record file is two short lines; anything past this is never looked at.
constexpr qint64 kMaxRecordFileBytes = 64 * 1024;

// The name is at most this many characters of line 1; the rest of the line is dropped.
constexpr qsizetype kMaxNameChars = 254;

// Takes the line that starts at `pos` and moves `pos` past its line end. A line ends at LF,
// and a CR directly before that LF belongs to the line end; a CR anywhere else is part of
// the line. The last line may lack a line end; past the end of the file, lines are empty.
QByteArrayView takeLine(QByteArrayView bytes, qsizetype& pos) {
    if (pos >= bytes.size())
        return {};
    const qsizetype lf = bytes.indexOf('\n', pos);
    if (lf < 0) {
        const QByteArrayView rest = bytes.sliced(pos);
        pos = bytes.size();
        return rest;
    }
    QByteArrayView line = bytes.sliced(pos, lf - pos);
    if (line.endsWith('\r'))
        line.chop(1);
    pos = lf + 1;
    return line;
}

// The white space that atoi skips in the "C" locale.
bool isAtoiSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The first `maxChars` characters of a text; a character outside the basic plane counts
// once and is never split in half.
QString leftChars(const QString& text, qsizetype maxChars) {
    qsizetype units = 0;
    for (qsizetype chars = 0; chars < maxChars && units < text.size(); ++chars) {
        const bool pair = text.at(units).isHighSurrogate() && units + 1 < text.size() &&
                          text.at(units + 1).isLowSurrogate();
        units += pair ? 2 : 1;
    }
    return text.left(units);
}

} // namespace

QString recordPathFor(const QString& levelPath) {
    return levelPath + QStringLiteral(".kfh");
}

int parseRecordTime(QByteArrayView line) {
    const qsizetype n = line.size();
    qsizetype i = 0;
    while (i < n && isAtoiSpace(line[i]))
        ++i;
    bool negative = false;
    if (i < n && (line[i] == '+' || line[i] == '-')) {
        negative = line[i] == '-';
        ++i;
    }
    // Never more than one digit past the largest int, so the sum cannot overflow.
    qint64 value = 0;
    bool anyDigit = false;
    for (; i < n && line[i] >= '0' && line[i] <= '9'; ++i) {
        anyDigit = true;
        value = value * 10 + (line[i] - '0');
        if (value > std::numeric_limits<int>::max())
            return kFailedRunMs;
    }
    // A time that no run could beat (zero or negative) would lock the track for good.
    if (!anyDigit || negative || value == 0)
        return kFailedRunMs;
    return static_cast<int>(value);
}

QString decodeRecordName(QByteArrayView line) {
    if (line.isValidUtf8()) {
        // A leading U+FEFF is part of the name, not a byte order mark to be dropped.
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                      QStringDecoder::Flag::ConvertInitialBom);
        return utf8.decode(line);
    }
    return QString::fromLatin1(line);
}

// Old record files hold the name one byte per character, and so does this writer whenever it
// can: a name whose characters all fit Latin-1 is written as those bytes, so an ASCII name
// gives exactly the classic file. The reader takes bytes that are valid UTF-8 as UTF-8, though,
// and some Latin-1 byte runs are valid UTF-8 by accident: "Ã¤" is C3 A4 in Latin-1, which
// reads back as "ä". So the Latin-1 bytes are kept only when they read back as the very same
// name; every other name (and every name outside Latin-1) is written as UTF-8, which is always
// valid UTF-8 and reads back unchanged. No name is lost or garbled on its way through a file.
QByteArray encodeRecordName(const QString& name) {
    const bool fitsLatin1 =
        std::all_of(name.cbegin(), name.cend(), [](QChar c) { return c.unicode() <= 0xFF; });
    if (fitsLatin1) {
        QByteArray latin1 = name.toLatin1();
        if (decodeRecordName(latin1) == name)
            return latin1;
    }
    return name.toUtf8();
}

TrackRecord parseRecord(QByteArrayView bytes) {
    qsizetype pos = 0;
    const QByteArrayView nameLine = takeLine(bytes, pos);
    const QByteArrayView timeLine = takeLine(bytes, pos);
    TrackRecord record;
    record.name = leftChars(decodeRecordName(nameLine), kMaxNameChars);
    record.timeMs = parseRecordTime(timeLine);
    return record;
}

QByteArray encodeRecord(const TrackRecord& record) {
    // A line feed inside the name would start the time line early; it is written as a blank.
    QString name = record.name;
    name.replace(QLatin1Char('\n'), QLatin1Char(' '));
    QByteArray bytes = encodeRecordName(name);
    bytes += "\r\n";
    bytes += QByteArray::number(record.timeMs);
    return bytes;
}

std::optional<TrackRecord> readRecord(const QString& path) {
    // Only a regular file, and never through a link: a record file that is a link could show
    // the first line of any file of the player's as a holder's name.
    QFile file;
    if (!openRegularFile(file, path, LinkPolicy::DoNotFollow))
        return std::nullopt;
    const QByteArray bytes = file.read(kMaxRecordFileBytes);
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return parseRecord(bytes);
}

FileWriteResult writeRecord(const QString& path, const TrackRecord& record) {
    return replaceFile(path, encodeRecord(record));
}

} // namespace kf
