// The module `kfleaguelink`: the league's service over Qt SQL's PostgreSQL driver, loaded by
// the game at the league's first use (see LeagueService).

#include "league/LeagueClient.h"
#include "league/LeagueConnection.h"
#include "league/LeagueService.h"
#include "league/LeagueStandingRead.h"

#include <QSqlQuery>

#include <memory>
#include <type_traits>

namespace kf {

namespace {

// The game asks on a thread of its own, but a player should not wait long for a server that
// does not answer.
constexpr int kConnectTimeoutS = 5;

class PostgresLeague : public LeagueService {
public:
    QString connect(const QString& connInfo) override {
        m_connection.reset();
        m_player.clear();
        m_connected = false;
        auto connection = std::make_unique<LeagueConnection>(connInfo, kConnectTimeoutS);
        if (!connection->isOpen())
            return connection->reason();
        QSqlQuery role(connection->database());
        if (QString failed = execOrMessage(role, QStringLiteral("SELECT current_user"));
            !failed.isEmpty())
            return QStringLiteral("the league's database does not answer: %1").arg(failed);
        role.next();
        m_player = role.value(0).toString();
        m_connection = std::move(connection);
        m_connected = true;
        return {};
    }

    bool connected() const override { return m_connected; }
    QString player() const override { return m_player; }

    LeagueSubmission submit(const LeagueRun& run) override {
        if (!m_connected)
            return {0, notConnected(), true};
        LeagueSubmission submission = submitRun(m_connection->database(), run);
        // A run kept back for its track's bytes leaves the connection as it was.
        if (submission.lost)
            m_connected = connectionAnswers(m_connection->database());
        return submission;
    }

    LeagueStanding standing(const QString& trackSha256) override {
        if (!m_connected) {
            LeagueStanding standing;
            standing.failure = notConnected();
            return standing;
        }
        LeagueStanding standing = readStanding(m_connection->database(), trackSha256);
        if (!standing.failure.isEmpty())
            m_connected = connectionAnswers(m_connection->database());
        return standing;
    }

    std::optional<SharedGhost> leaderGhost(const QString& trackSha256, QString* failure) override {
        if (!m_connected) {
            *failure = notConnected();
            return std::nullopt;
        }
        std::optional<SharedGhost> ghost =
            readLeaderGhost(m_connection->database(), trackSha256, failure);
        if (!failure->isEmpty())
            m_connected = connectionAnswers(m_connection->database());
        return ghost;
    }

private:
    static QString notConnected() {
        return QStringLiteral("the game is not connected to the league");
    }

    std::unique_ptr<LeagueConnection> m_connection;
    QString m_player;
    bool m_connected = false;
};

} // namespace

} // namespace kf

extern "C" Q_DECL_EXPORT kf::LeagueService* kf_openLeagueService() {
    return new kf::PostgresLeague;
}
static_assert(std::is_same_v<decltype(&kf_openLeagueService), kf::OpenLeagueService>);
