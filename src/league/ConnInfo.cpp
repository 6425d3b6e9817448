#include "league/ConnInfo.h"

#include <QUrl>

#include <algorithm>

namespace kf {

namespace {

QString refusal(const QString& why) {
    return QStringLiteral("the connection string is not valid: %1").arg(why);
}

bool isKeyChar(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

// `key = value` pairs, as libpq reads them.
ConnInfoParse parsePairs(const QString& text) {
    ConnInfo info;
    qsizetype i = 0;
    const auto skipBlanks = [&] {
        while (i < text.size() && text[i].isSpace())
            ++i;
    };
    while (true) {
        skipBlanks();
        if (i == text.size())
            return {info, {}};
        const qsizetype keyStart = i;
        while (i < text.size() && isKeyChar(text[i]))
            ++i;
        const QString key = text.mid(keyStart, i - keyStart);
        skipBlanks();
        if (key.isEmpty() || i == text.size() || text[i] != QLatin1Char('='))
            return {std::nullopt, refusal(QStringLiteral("a keyword without \"=\" at \"%1\"")
                                              .arg(text.mid(keyStart, 20)))};
        ++i;
        skipBlanks();
        QString value;
        if (i < text.size() && text[i] == QLatin1Char('\'')) {
            ++i;
            bool closed = false;
            while (i < text.size()) {
                const QChar c = text[i++];
                if (c == QLatin1Char('\'')) {
                    closed = true;
                    break;
                }
                if (c == QLatin1Char('\\') && i < text.size())
                    value += text[i++];
                else
                    value += c;
            }
            if (!closed)
                return {std::nullopt, refusal(QStringLiteral("the value of %1 lacks its closing "
                                                             "quote")
                                                  .arg(key))};
        } else {
            while (i < text.size() && !text[i].isSpace()) {
                const QChar c = text[i++];
                if (c == QLatin1Char('\\') && i < text.size())
                    value += text[i++];
                else
                    value += c;
            }
        }
        info.params.append({key, value});
    }
}

QString decoded(QStringView part) {
    return QUrl::fromPercentEncoding(part.toUtf8());
}

// postgresql://[user[:password]@][host][:port][/dbname][?key=value&...]
ConnInfoParse parseUri(const QString& text) {
    ConnInfo info;
    QStringView rest = text;
    rest = rest.mid(rest.indexOf(QLatin1String("://")) + 3);
    QStringView query;
    if (const qsizetype q = rest.indexOf(QLatin1Char('?')); q >= 0) {
        query = rest.mid(q + 1);
        rest = rest.left(q);
    }
    QStringView authority = rest;
    if (const qsizetype slash = rest.indexOf(QLatin1Char('/')); slash >= 0) {
        authority = rest.left(slash);
        if (const QStringView db = rest.mid(slash + 1); !db.isEmpty())
            info.params.append({QStringLiteral("dbname"), decoded(db)});
    }
    if (const qsizetype at = authority.lastIndexOf(QLatin1Char('@')); at >= 0) {
        const QStringView user = authority.left(at);
        const qsizetype colon = user.indexOf(QLatin1Char(':'));
        info.params.append({QStringLiteral("user"), decoded(user.left(colon))});
        if (colon >= 0)
            info.params.append({QStringLiteral("password"), decoded(user.mid(colon + 1))});
        authority = authority.mid(at + 1);
    }
    // A port follows the last colon outside an IPv6 address's brackets.
    const qsizetype colon = authority.lastIndexOf(QLatin1Char(':'));
    if (colon >= 0 && colon > authority.lastIndexOf(QLatin1Char(']'))) {
        info.params.append({QStringLiteral("port"), decoded(authority.mid(colon + 1))});
        authority = authority.left(colon);
    }
    if (authority.startsWith(QLatin1Char('[')) && authority.endsWith(QLatin1Char(']')))
        authority = authority.mid(1, authority.size() - 2);
    if (!authority.isEmpty())
        info.params.insert(0, {QStringLiteral("host"), decoded(authority)});
    for (QStringView pair : query.split(QLatin1Char('&'), Qt::SkipEmptyParts)) {
        const qsizetype eq = pair.indexOf(QLatin1Char('='));
        if (eq <= 0)
            return {std::nullopt, refusal(QStringLiteral("\"%1\" in the URI's query is no "
                                                         "key=value")
                                              .arg(pair))};
        info.params.append({decoded(pair.left(eq)), decoded(pair.mid(eq + 1))});
    }
    return {info, {}};
}

} // namespace

QString ConnInfo::value(const QString& key) const {
    for (auto it = params.crbegin(); it != params.crend(); ++it)
        if (it->first == key)
            return it->second;
    return {};
}

bool ConnInfo::has(const QString& key) const {
    return std::any_of(params.cbegin(), params.cend(),
                       [&](const auto& p) { return p.first == key; });
}

ConnInfoParse parseConnInfo(const QString& text) {
    if (text.startsWith(QLatin1String("postgresql://")) ||
        text.startsWith(QLatin1String("postgres://")))
        return parseUri(text);
    return parsePairs(text);
}

} // namespace kf
