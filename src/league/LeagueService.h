#pragma once

#include "history/HistoryRun.h"
#include "history/LeagueStanding.h"
#include "league/LeagueRun.h"

#include <QString>

#include <memory>
#include <optional>

namespace kf {

// The league as the game uses it: one connection to the league's server and what the game
// asks of it. Its code (with Qt SQL and the PostgreSQL driver) lives in the module
// `kfleaguelink`, loaded at the first use, so the game starts without Qt SQL. Every call
// blocks until the server answers (or libpq's connect_timeout passes), so the game makes them
// on a thread of its own (LeagueLink), never on the window's.
class LeagueService {
public:
    virtual ~LeagueService() = default;

    // Connects with a libpq connection string (empty: libpq's defaults and the PG* variables),
    // closing any earlier connection. Empty when connected, else one sentence why not.
    virtual QString connect(const QString& connInfo) = 0;
    // Whether the connection still stands, as far as the last call knows.
    virtual bool connected() const = 0;
    // The name the league knows the player by: the connection's role.
    virtual QString player() const = 0;

    // Submits a run once: a run the player submitted before (the same track and finish time)
    // gives its earlier number and is not submitted again, so a run sent again after the game
    // was stopped between the server's answer and noting it is never counted twice. The
    // track's bytes are sent only when the league lacks the track; a run whose track the league
    // lacks and whose bytes are not given is `lost` (it waits for them).
    virtual LeagueSubmission submit(const LeagueRun& run) = 0;
    // The track's board (the best kLeagueBoardTop lines), the player's own line and runs that
    // wait or were refused; `unsent` stays 0 (the history counts those).
    virtual LeagueStanding standing(const QString& trackSha256) = 0;
    // The confirmed run of the track's leader (the first line of its board) as a ghost, its
    // path proven by the verifier; none when no run is confirmed, or with `failure` set when the
    // server could not be asked or the stored path is none the game can show.
    virtual std::optional<SharedGhost> leaderGhost(const QString& trackSha256,
                                                   QString* failure) = 0;
};

// The module's one entry: a new, unconnected service. Named kf_openLeagueService in the module.
using OpenLeagueService = LeagueService* (*)();

// A new service through the module `kfleaguelink`, loaded at the first call. Without the
// module, a service whose connect() says in one sentence that the league cannot be used.
std::unique_ptr<LeagueService> openLeagueService();

} // namespace kf
