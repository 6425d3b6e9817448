#include "league/LeagueService.h"

#include "level/GameModule.h"

namespace kf {

namespace {

// The league without its module: every call says so, and a run waits to be sent.
class MissingLeague : public LeagueService {
public:
    QString connect(const QString&) override { return reason(); }
    bool connected() const override { return false; }
    QString player() const override { return {}; }
    LeagueSubmission submit(const LeagueRun&) override { return {0, reason(), true}; }
    LeagueStanding standing(const QString&) override {
        LeagueStanding standing;
        standing.failure = reason();
        return standing;
    }
    std::optional<SharedGhost> leaderGhost(const QString&, QString* failure) override {
        *failure = reason();
        return std::nullopt;
    }

private:
    static QString reason() {
        return QStringLiteral(
            "The league cannot be used because the game's part for it is missing.");
    }
};

} // namespace

std::unique_ptr<LeagueService> openLeagueService() {
    static const auto open = reinterpret_cast<OpenLeagueService>(
        gameModuleFunction(QStringLiteral("kfleaguelink"), "kf_openLeagueService"));
    if (!open)
        return std::make_unique<MissingLeague>();
    return std::unique_ptr<LeagueService>(open());
}

} // namespace kf
