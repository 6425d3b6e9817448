#include "league/ScramVerifier.h"

#include <QCryptographicHash>
#include <QList>
#include <QMessageAuthenticationCode>
#include <QRandomGenerator>

#include <algorithm>
#include <array>
#include <initializer_list>
#include <utility>

namespace kf {

namespace {

using Ranges = std::initializer_list<std::pair<char32_t, char32_t>>;

bool inRanges(char32_t c, Ranges ranges) {
    return std::any_of(ranges.begin(), ranges.end(),
                       [c](const auto& range) { return range.first <= c && c <= range.second; });
}

// Spaces other than U+0020, which SASLprep turns into it.
constexpr Ranges kOtherSpaces = {{0x00A0, 0x00A0}, {0x1680, 0x1680}, {0x2000, 0x200B},
                                 {0x202F, 0x202F}, {0x205F, 0x205F}, {0x3000, 0x3000}};
// Characters SASLprep drops: soft hyphen, joiners, variation selectors, byte order mark.
constexpr Ranges kMappedToNothing = {{0x00AD, 0x00AD}, {0x034F, 0x034F}, {0x1806, 0x1806},
                                     {0x180B, 0x180D}, {0x200B, 0x200D}, {0x2060, 0x2060},
                                     {0xFE00, 0xFE0F}, {0xFEFF, 0xFEFF}};
// Characters a prepared password may not hold: spaces other than U+0020, controls, private
// use, surrogates, characters unfit for plain text, changes of direction, tags.
constexpr Ranges kProhibited = {
    {0x0000, 0x001F},   {0x007F, 0x009F},   {0x00A0, 0x00A0},    {0x0340, 0x0341},
    {0x06DD, 0x06DD},   {0x070F, 0x070F},   {0x1680, 0x1680},    {0x180E, 0x180E},
    {0x2000, 0x200F},   {0x2028, 0x202F},   {0x205F, 0x2063},    {0x206A, 0x206F},
    {0x2FF0, 0x2FFB},   {0x3000, 0x3000},   {0xD800, 0xF8FF},    {0xFDD0, 0xFDEF},
    {0xFEFF, 0xFEFF},   {0xFFF9, 0xFFFD},   {0x1D173, 0x1D17A},  {0xE0001, 0xE0001},
    {0xE0020, 0xE007F}, {0xF0000, 0xFFFFD}, {0x100000, 0x10FFFD}};

bool prohibited(uint c) {
    // Beyond the prohibited ranges: the non-characters at the end of every plane, and code
    // points that Unicode 3.2, the version SASLprep is defined on, had not assigned.
    return inRanges(c, kProhibited) || (c & 0xFFFE) == 0xFFFE ||
           QChar::unicodeVersion(c) == QChar::Unicode_Unassigned ||
           QChar::unicodeVersion(c) > QChar::Unicode_3_2;
}

// Right-to-left text may hold no left-to-right character and must begin and end right to left.
bool directionsMix(const QList<uint>& text) {
    const auto rightToLeft = [](uint c) {
        return QChar::direction(c) == QChar::DirR || QChar::direction(c) == QChar::DirAL;
    };
    if (std::none_of(text.begin(), text.end(), rightToLeft))
        return false;
    return std::any_of(text.begin(), text.end(),
                       [](uint c) { return QChar::direction(c) == QChar::DirL; }) ||
           !rightToLeft(text.front()) || !rightToLeft(text.back());
}

QByteArray hmac(const QByteArray& key, const QByteArray& message) {
    return QMessageAuthenticationCode::hash(message, key, QCryptographicHash::Sha256);
}

// PBKDF2-HMAC-SHA-256 of one block, the length of SHA-256 itself.
QByteArray saltedPassword(const QByteArray& password, const QByteArray& salt, int iterations) {
    QMessageAuthenticationCode mac(QCryptographicHash::Sha256, password);
    mac.addData(salt + QByteArray("\0\0\0\1", 4));
    QByteArray round = mac.result();
    QByteArray sum = round;
    for (int i = 1; i < iterations; ++i) {
        mac.reset();
        mac.addData(round);
        round = mac.result();
        for (qsizetype b = 0; b < sum.size(); ++b)
            sum[b] = char(sum[b] ^ round[b]);
    }
    return sum;
}

} // namespace

QByteArray scramPassword(const QString& password) {
    const QByteArray raw = password.toUtf8();
    if (std::all_of(raw.begin(), raw.end(), [](char c) { return uchar(c) < 0x80; }))
        return raw;
    QString mapped;
    for (const char32_t c : password.toUcs4()) {
        if (inRanges(c, kOtherSpaces))
            mapped += QLatin1Char(' ');
        else if (!inRanges(c, kMappedToNothing))
            mapped += QString::fromUcs4(&c, 1);
    }
    const QString prepared = mapped.normalized(QString::NormalizationForm_KC);
    const QList<uint> characters = prepared.toUcs4();
    if (characters.isEmpty() || std::any_of(characters.begin(), characters.end(), prohibited) ||
        directionsMix(characters))
        return raw;
    return prepared.toUtf8();
}

QString scramVerifier(const QString& password) {
    std::array<quint32, kScramSaltBytes / sizeof(quint32)> words;
    QRandomGenerator::system()->fillRange(words.data(), words.size());
    return scramVerifier(password,
                         QByteArray(reinterpret_cast<const char*>(words.data()), kScramSaltBytes));
}

QString scramVerifier(const QString& password, const QByteArray& salt, int iterations) {
    const QByteArray salted = saltedPassword(scramPassword(password), salt, iterations);
    const QByteArray storedKey =
        QCryptographicHash::hash(hmac(salted, "Client Key"), QCryptographicHash::Sha256);
    const QByteArray serverKey = hmac(salted, "Server Key");
    return QStringLiteral("SCRAM-SHA-256$%1:%2$%3:%4")
        .arg(iterations)
        .arg(QString::fromLatin1(salt.toBase64()), QString::fromLatin1(storedKey.toBase64()),
             QString::fromLatin1(serverKey.toBase64()));
}

} // namespace kf
