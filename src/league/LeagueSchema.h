#pragma once

#include <QSqlDatabase>
#include <QString>

#include <optional>

namespace kf {

// The league in one PostgreSQL database:
//
//     tracks(sha256 PK, name, bytes)            a track's exact file bytes under their SHA-256
//     submissions(id, player, track_sha256, time_ms, finished_utc, path, submitted_utc,
//                 state 'pending' | 'confirmed' | 'refused', reason)
//     board(track_sha256, player, best_ms, finished_runs)   a view of the confirmed runs
//
// and the group roles kf_player and kf_verifier. A player adds tracks and runs of their own
// (the database fills in the player's name) and reads the board, the tracks, the confirmed runs
// and their own; the verifier reads pending runs and the tracks and sets a pending run's state
// and reason. An insert into submissions notifies kLeagueChannel.
inline constexpr char kLeagueChannel[] = "kf_submissions";

// Creates what is missing of the schema and the roles, in one transaction, and brings the
// grants and policies up to date: running it again changes nothing. Needs a role that may
// create roles and owns (or may create) the tables. An empty text on success, else the
// server's reason.
QString setUpLeague(QSqlDatabase db);

enum class LeagueRole { Player, Verifier };

// A login role `name` in kf_player or kf_verifier, or a role of that name the server already
// has joined to the group; with a password when one is given, else without (for peer,
// certificate or trust authentication) or as it was. The password leaves this machine only as
// its SCRAM-SHA-256 verifier (scramVerifier), never in plain text. The name and the verifier
// reach the server as values, never as SQL. An empty text on success, else the server's reason.
QString addLeagueRole(QSqlDatabase db, const QString& name, LeagueRole role,
                      const std::optional<QString>& password = std::nullopt);

} // namespace kf
