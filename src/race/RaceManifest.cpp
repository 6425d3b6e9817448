#include "race/RaceManifest.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <limits>

namespace kf {

namespace {

const QString kFinishedFormat = QStringLiteral("yyyy-MM-dd'T'HH:mm:ss.zzz'Z'");

// The time exactly as race.json writes it; an invalid time when the text is written otherwise.
QDateTime parseFinished(const QString& text) {
    static const QRegularExpression shape(
        QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}Z$"));
    if (!shape.match(text).hasMatch())
        return {};
    // Date and time apart, so that no local time zone (nor its gaps) takes part.
    const QDateTime utc(QDate::fromString(text.left(10), QStringLiteral("yyyy-MM-dd")),
                        QTime::fromString(text.mid(11, 12), QStringLiteral("HH:mm:ss.zzz")),
                        Qt::UTC);
    return utc.isValid() && utc.toString(kFinishedFormat) == text ? utc : QDateTime();
}

std::optional<qint64> wholeNumber(const QJsonValue& value) {
    const double d = value.toDouble(std::nan(""));
    if (!value.isDouble() || d != std::floor(d) || std::fabs(d) > 9.0e15)
        return std::nullopt;
    return static_cast<qint64>(d);
}

bool hasOnly(const QJsonObject& object, std::initializer_list<QLatin1String> keys,
             QString* unknown) {
    for (const QString& key : object.keys()) {
        if (std::find(keys.begin(), keys.end(), key) == keys.end()) {
            *unknown = key;
            return false;
        }
    }
    return true;
}

bool isSha256(const QString& text) {
    static const QRegularExpression hex(QStringLiteral("^[0-9a-f]{64}$"));
    return hex.match(text).hasMatch();
}

bool isPlayerName(const QJsonValue& value) {
    if (!value.isString())
        return false;
    const QString name = value.toString();
    return std::none_of(name.cbegin(), name.cend(),
                        [](QChar c) { return c.category() == QChar::Other_Control; });
}

std::optional<RaceGhost> decodeGhost(const QJsonValue& value, int n, QString* problem) {
    const QJsonObject object = value.toObject();
    const auto wrong = [&](const char* field) {
        *problem = QStringLiteral("race.json has a wrong or missing field \"%1\" in ghost %2")
                       .arg(QLatin1String(field))
                       .arg(n);
        return std::nullopt;
    };
    if (!value.isObject())
        return wrong("ghosts");
    QString unknown;
    if (!hasOnly(object,
                 {QLatin1String("player"), QLatin1String("time_ms"), QLatin1String("finished_utc"),
                  QLatin1String("path")},
                 &unknown)) {
        *problem = QStringLiteral("race.json has the unknown field \"%1\" in ghost %2")
                       .arg(shownName(unknown))
                       .arg(n);
        return std::nullopt;
    }
    RaceGhost ghost;
    if (!isPlayerName(object.value(QLatin1String("player"))))
        return wrong("player");
    ghost.player = object.value(QLatin1String("player")).toString();
    const std::optional<qint64> ms = wholeNumber(object.value(QLatin1String("time_ms")));
    if (!ms || *ms < 0 || *ms > std::numeric_limits<int>::max())
        return wrong("time_ms");
    ghost.timeMs = static_cast<int>(*ms);
    ghost.finishedUtc = parseFinished(object.value(QLatin1String("finished_utc")).toString());
    if (!ghost.finishedUtc.isValid())
        return wrong("finished_utc");
    if (object.value(QLatin1String("path")).toString() != QLatin1String(ghostEntryName(n)))
        return wrong("path");
    return ghost;
}

} // namespace

QByteArray ghostEntryName(int n) {
    return "ghosts/" + QByteArray::number(n) + ".path";
}

QByteArray encodeRaceManifest(const Race& race, const QString& sha256) {
    QJsonArray ghosts;
    for (qsizetype i = 0; i < race.ghosts.size(); ++i) {
        const RaceGhost& ghost = race.ghosts[i];
        ghosts.append(QJsonObject{
            {QLatin1String("player"), ghost.player},
            {QLatin1String("time_ms"), ghost.timeMs},
            {QLatin1String("finished_utc"), ghost.finishedUtc.toUTC().toString(kFinishedFormat)},
            {QLatin1String("path"), QLatin1String(ghostEntryName(int(i) + 1))},
        });
    }
    const QJsonObject manifest{
        {QLatin1String("format"), kRaceFormat},
        {QLatin1String("track"), race.trackName},
        {QLatin1String("sha256"), sha256},
        {QLatin1String("ghosts"), ghosts},
    };
    return QJsonDocument(manifest).toJson();
}

std::optional<RaceManifest> decodeRaceManifest(const QByteArray& json, QString* problem) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        *problem = QStringLiteral("race.json is not a JSON object");
        return std::nullopt;
    }
    const QJsonObject object = document.object();
    const auto wrong = [&](const char* field) {
        *problem = QStringLiteral("race.json has a wrong or missing field \"%1\"")
                       .arg(QLatin1String(field));
        return std::nullopt;
    };
    const std::optional<qint64> format = wholeNumber(object.value(QLatin1String("format")));
    if (!format)
        return wrong("format");
    if (*format != kRaceFormat) {
        *problem =
            QStringLiteral("race.json is of format %1, not %2").arg(*format).arg(kRaceFormat);
        return std::nullopt;
    }
    QString unknown;
    if (!hasOnly(object,
                 {QLatin1String("format"), QLatin1String("track"), QLatin1String("sha256"),
                  QLatin1String("ghosts")},
                 &unknown)) {
        *problem = QStringLiteral("race.json has the unknown field \"%1\"").arg(shownName(unknown));
        return std::nullopt;
    }

    RaceManifest manifest;
    const QJsonValue track = object.value(QLatin1String("track"));
    if (!track.isString())
        return wrong("track");
    manifest.trackName = track.toString();
    if (!isTrackFileName(manifest.trackName)) {
        *problem = QStringLiteral("its track name \"%1\" cannot be a file name")
                       .arg(shownName(manifest.trackName));
        return std::nullopt;
    }
    manifest.sha256 = object.value(QLatin1String("sha256")).toString();
    if (!isSha256(manifest.sha256))
        return wrong("sha256");

    const QJsonValue ghosts = object.value(QLatin1String("ghosts"));
    if (!ghosts.isArray())
        return wrong("ghosts");
    const QJsonArray list = ghosts.toArray();
    if (list.isEmpty()) {
        *problem = QStringLiteral("it holds no ghost");
        return std::nullopt;
    }
    if (list.size() > kMaxRaceGhosts) {
        *problem =
            QStringLiteral("it holds %1 ghosts, more than %2").arg(list.size()).arg(kMaxRaceGhosts);
        return std::nullopt;
    }
    for (qsizetype i = 0; i < list.size(); ++i) {
        std::optional<RaceGhost> ghost = decodeGhost(list[i], int(i) + 1, problem);
        if (!ghost)
            return std::nullopt;
        manifest.ghosts.append(std::move(*ghost));
    }
    return manifest;
}

} // namespace kf
