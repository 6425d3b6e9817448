#include "support/PostgresServer.h"

#include <QDir>
#include <QProcess>
#include <QStringList>

#include <memory>

namespace {

std::unique_ptr<PostgresServer>& sharedServer() {
    static std::unique_ptr<PostgresServer> server;
    return server;
}

// Runs the server script; its standard error when it fails, else nothing.
QString runScript(const QStringList& arguments) {
    QProcess script;
    script.setProgram(QStringLiteral("bash"));
    script.setArguments(QStringList{QStringLiteral(KF_LEAGUE_SERVER_SCRIPT)} + arguments);
    script.start();
    if (!script.waitForFinished(180 * 1000))
        return QStringLiteral("league-server.sh did not finish: %1").arg(script.errorString());
    if (script.exitStatus() != QProcess::NormalExit || script.exitCode() != 0)
        return QString::fromLocal8Bit(script.readAllStandardError()).trimmed() +
               QStringLiteral(" (league-server.sh %1 exited with %2)")
                   .arg(arguments.first())
                   .arg(script.exitCode());
    return {};
}

} // namespace

PostgresServer::PostgresServer()
    : m_dir(QDir::tempPath() + QStringLiteral("/kf-pg-XXXXXX")), m_folder(m_dir.path()) {
    if (!m_dir.isValid()) {
        m_error = QStringLiteral("no temporary folder: %1").arg(m_dir.errorString());
        return;
    }
    m_error = runScript({QStringLiteral("start"), m_folder, QStringLiteral("--throwaway")});
}

PostgresServer::~PostgresServer() {
    if (m_dir.isValid())
        runScript({QStringLiteral("stop"), m_folder});
}

PostgresServer& PostgresServer::shared() {
    if (!sharedServer())
        sharedServer() = std::make_unique<PostgresServer>();
    return *sharedServer();
}

void PostgresServer::stopShared() {
    sharedServer().reset();
}

QString PostgresServer::connInfo(const QString& database, const QString& role) const {
    // Each value quoted as libpq reads it, so that any role name gets through.
    const auto quoted = [](QString value) {
        value.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
        value.replace(QLatin1Char('\''), QLatin1String("\\'"));
        return QLatin1Char('\'') + value + QLatin1Char('\'');
    };
    return QStringLiteral("host=%1 dbname=%2 user=%3")
        .arg(quoted(m_folder), quoted(database), quoted(role));
}

QString PostgresServer::createDatabase(const QString& name) const {
    return runScript({QStringLiteral("database"), m_folder, name});
}

QString PostgresServer::stop() const {
    return runScript({QStringLiteral("stop"), m_folder});
}

QString PostgresServer::start() const {
    return runScript({QStringLiteral("start"), m_folder, QStringLiteral("--throwaway")});
}
