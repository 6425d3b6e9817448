// Feeds arbitrary bytes to the record file reader and checks what must hold for every file:
// the time can always be beaten, the name comes from line 1 and is never longer than 254
// characters, and whatever was read survives being written and read again unchanged.
// The same bytes, taken as UTF-16 text, also go through the name writer and reader.

#include "record/RecordFile.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace {

void check(bool ok) {
    if (!ok)
        __builtin_trap();
}

// Line 1 as the file holds it: up to the first LF, without a CR directly before that LF.
QByteArrayView firstLine(QByteArrayView bytes) {
    const qsizetype lf = bytes.indexOf('\n');
    if (lf < 0)
        return bytes;
    QByteArrayView line = bytes.first(lf);
    if (line.endsWith('\r'))
        line.chop(1);
    return line;
}

void checkFile(QByteArrayView bytes) {
    const kf::TrackRecord read = kf::parseRecord(bytes);
    check(read.timeMs > 0);
    check(!read.name.contains(QLatin1Char('\n')));

    // The name is the start of line 1, at most 254 characters, all of it when it is shorter.
    const QString wholeLine = kf::decodeRecordName(firstLine(bytes));
    check(wholeLine.startsWith(read.name));
    const qsizetype chars = read.name.toUcs4().size();
    check(chars <= 254);
    if (wholeLine.toUcs4().size() <= 254)
        check(read.name == wholeLine);

    // A real time is written somewhere after line 1, in these digits.
    if (read.timeMs != kf::kFailedRunMs) {
        const qsizetype lf = bytes.indexOf('\n');
        check(lf >= 0);
        check(bytes.sliced(lf + 1).indexOf(QByteArray::number(read.timeMs)) >= 0);
    }

    // Written and read again, the record stays as it was, and so do its bytes.
    const QByteArray written = kf::encodeRecord(read);
    const kf::TrackRecord again = kf::parseRecord(written);
    check(again.name == read.name);
    check(again.timeMs == read.timeMs);
    check(kf::encodeRecord(again) == written);
}

void checkName(const uint8_t* data, size_t size) {
    const QString name = QString::fromUtf16(reinterpret_cast<const char16_t*>(data),
                                            static_cast<qsizetype>(size / 2));
    if (!QStringView(name).isValidUtf16())
        return; // half a surrogate pair is no text a player could type
    const QByteArray bytes = kf::encodeRecordName(name);
    check(kf::decodeRecordName(bytes) == name);
    bool ascii = true;
    for (QChar c : name)
        ascii = ascii && c.unicode() < 0x80;
    if (ascii)
        check(bytes == name.toLatin1());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    checkFile(QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    // Copied so the UTF-16 units are properly aligned.
    const QByteArray copy(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    checkName(reinterpret_cast<const uint8_t*>(copy.constData()), size);
    return 0;
}
