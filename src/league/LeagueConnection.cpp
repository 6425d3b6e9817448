#include "league/LeagueConnection.h"

#include "league/ConnInfo.h"

#include <QSqlError>
#include <QSqlQuery>

namespace kf {

// Named by the object's address, which no other living connection shares: a count would start
// again in each copy of this code (the game's module and a test that links the library too),
// and a second connection of the same name would replace the first.
LeagueConnection::LeagueConnection(const QString& connInfo, int connectTimeoutS)
    : m_name(QStringLiteral("kf-league-%1").arg(quintptr(this), 0, 16)) {
    const ConnInfoParse parse = parseConnInfo(connInfo);
    if (!parse.info) {
        m_reason = parse.reason;
        return;
    }
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL"))) {
        m_reason = QStringLiteral("Qt's PostgreSQL driver (QPSQL) is missing: install "
                                  "libqt6sql6-psql.");
        return;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_name);
    if (const QString refused = configureConnection(db, *parse.info, connectTimeoutS);
        !refused.isEmpty()) {
        m_reason = refused;
        return;
    }
    if (!db.open())
        m_reason = QStringLiteral("cannot reach the league's database: %1")
                       .arg(serverMessage(db.lastError()));
}

LeagueConnection::~LeagueConnection() {
    if (QSqlDatabase::contains(m_name)) {
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
    }
}

QString serverMessage(const QSqlError& error) {
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.driverText().trimmed();
    text = text.section(QLatin1Char('\n'), 0, 0).trimmed();
    for (const char* label : {"ERROR:", "FATAL:"})
        if (text.startsWith(QLatin1String(label)))
            text = text.mid(qsizetype(qstrlen(label))).trimmed();
    return text;
}

bool connectionAnswers(QSqlDatabase db) {
    return db.isOpen() && QSqlQuery(db).exec(QStringLiteral("SELECT 1"));
}

QString execOrMessage(QSqlQuery& query, const QString& sql) {
    const bool ok = sql.isEmpty() ? query.exec() : query.exec(sql);
    return ok ? QString() : serverMessage(query.lastError());
}

} // namespace kf
