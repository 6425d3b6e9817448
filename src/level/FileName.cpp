#include "level/FileName.h"

namespace kf {

namespace {

// A byte 0x80..0xFF that is no part of valid UTF-8 is kept as U+DC00 + byte.
constexpr char16_t kKeptByteBase = 0xDC00;

bool isKeptByte(char16_t c) {
    return c >= 0xDC80 && c <= 0xDCFF;
}

bool continues(const uchar* p, const uchar* end, int n, uchar low = 0x80, uchar high = 0xBF) {
    if (end - p < n + 1 || p[1] < low || p[1] > high)
        return false;
    for (int i = 2; i <= n; ++i) {
        if (p[i] < 0x80 || p[i] > 0xBF)
            return false;
    }
    return true;
}

// The length of the valid UTF-8 sequence that starts at `p`, 0 when none does: no overlong
// form, no surrogate, nothing beyond U+10FFFF.
int sequenceLength(const uchar* p, const uchar* end) {
    const uchar b = *p;
    if (b < 0x80)
        return 1;
    if (b >= 0xC2 && b <= 0xDF)
        return continues(p, end, 1) ? 2 : 0;
    if (b == 0xE0)
        return continues(p, end, 2, 0xA0) ? 3 : 0;
    if (b == 0xED)
        return continues(p, end, 2, 0x80, 0x9F) ? 3 : 0;
    if (b >= 0xE1 && b <= 0xEF)
        return continues(p, end, 2) ? 3 : 0;
    if (b == 0xF0)
        return continues(p, end, 3, 0x90) ? 4 : 0;
    if (b >= 0xF1 && b <= 0xF3)
        return continues(p, end, 3) ? 4 : 0;
    if (b == 0xF4)
        return continues(p, end, 3, 0x80, 0x8F) ? 4 : 0;
    return 0;
}

} // namespace

QString decodeFileName(const QByteArray& native) {
    // Runs of valid UTF-8 are converted whole, each byte between them kept on its own.
    QString name;
    const auto* const begin = reinterpret_cast<const uchar*>(native.constData());
    const uchar* const end = begin + native.size();
    const uchar* run = begin;
    for (const uchar* p = begin; p < end;) {
        if (const int length = sequenceLength(p, end); length > 0) {
            p += length;
            continue;
        }
        name.append(QString::fromUtf8(reinterpret_cast<const char*>(run), p - run));
        name.append(QChar(char16_t(kKeptByteBase + *p)));
        run = ++p;
    }
    return run == begin
               ? QString::fromUtf8(native)
               : name.append(QString::fromUtf8(reinterpret_cast<const char*>(run), end - run));
}

QByteArray encodeFileName(const QString& name) {
    QByteArray native;
    qsizetype run = 0; // the start of the text not yet encoded
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name.at(i).unicode();
        if (!QChar::isSurrogate(c))
            continue;
        if (QChar::isHighSurrogate(c) && i + 1 < name.size() && name.at(i + 1).isLowSurrogate()) {
            ++i;
            continue;
        }
        native.append(QStringView(name).sliced(run, i - run).toUtf8());
        // A surrogate that decodeFileName never makes is written as Qt writes it.
        native.append(isKeptByte(c) ? QByteArray(1, char(c - kKeptByteBase))
                                    : QString(QChar::ReplacementCharacter).toUtf8());
        run = i + 1;
    }
    return run == 0 ? name.toUtf8() : native.append(QStringView(name).sliced(run).toUtf8());
}

QString readableFileName(const QString& name) {
    QString readable = name;
    for (QChar& c : readable) {
        if (isKeptByte(c.unicode()))
            c = QChar::ReplacementCharacter;
    }
    return readable;
}

} // namespace kf
