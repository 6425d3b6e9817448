#include "league/LeagueSchema.h"

#include "league/LeagueConnection.h"
#include "league/ScramVerifier.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include <functional>

namespace kf {

namespace {

// Each statement on its own: the driver sends one at a time. The largest path and track the
// database takes are the ghost's and the bitmap reader's bounds.
const char* const kSchema[] = {
    R"sql(DO $$ BEGIN
         IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'kf_player') THEN
           CREATE ROLE kf_player NOLOGIN;
         END IF;
         IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'kf_verifier') THEN
           CREATE ROLE kf_verifier NOLOGIN;
         END IF;
       END $$)sql",
    R"sql(CREATE TABLE IF NOT EXISTS tracks (
         sha256 text PRIMARY KEY CHECK (sha256 ~ '^[0-9a-f]{64}$'),
         name text NOT NULL CHECK (char_length(name) BETWEEN 1 AND 255),
         bytes bytea NOT NULL CHECK (octet_length(bytes) <= 150994944),
         CONSTRAINT tracks_bytes_match_key CHECK (sha256 = encode(sha256(bytes), 'hex'))))sql",
    R"sql(CREATE TABLE IF NOT EXISTS submissions (
         id bigserial PRIMARY KEY,
         player text NOT NULL DEFAULT current_user,
         track_sha256 text NOT NULL REFERENCES tracks,
         time_ms integer NOT NULL CHECK (time_ms >= 0),
         finished_utc timestamptz NOT NULL,
         path bytea NOT NULL CHECK (octet_length(path) <= 7200005),
         submitted_utc timestamptz NOT NULL DEFAULT now(),
         state text NOT NULL DEFAULT 'pending'
           CHECK (state IN ('pending', 'confirmed', 'refused')),
         reason text))sql",
    // A run is submitted once: the game sends it again when it never heard the first answer. It
    // also finds a player's own runs of a track.
    R"sql(CREATE UNIQUE INDEX IF NOT EXISTS submissions_once
         ON submissions (player, track_sha256, finished_utc))sql",
    // A track asked for by name; the verifier's queue; the confirmed runs of a player on a track.
    "CREATE INDEX IF NOT EXISTS tracks_name ON tracks (name)",
    "CREATE INDEX IF NOT EXISTS submissions_pending ON submissions (id) WHERE state = 'pending'",
    R"sql(CREATE INDEX IF NOT EXISTS submissions_confirmed
         ON submissions (track_sha256, player, time_ms) WHERE state = 'confirmed')sql",
    // The board kept as runs are confirmed, so that showing it reads one row per player however
    // many runs a track has.
    R"sql(CREATE TABLE IF NOT EXISTS standings (
         track_sha256 text NOT NULL,
         player text NOT NULL,
         best_ms integer NOT NULL,
         finished_runs bigint NOT NULL,
         PRIMARY KEY (track_sha256, player)))sql",
    "CREATE INDEX IF NOT EXISTS standings_board ON standings (track_sha256, best_ms, player)",
    R"sql(CREATE OR REPLACE VIEW board AS
         SELECT track_sha256, player, best_ms, finished_runs FROM standings)sql",
    // A confirmed run counts at once; a confirmed run changed or deleted by hand has its
    // player's standing on the track counted afresh.
    R"sql(CREATE OR REPLACE FUNCTION kf_keep_standings() RETURNS trigger
         LANGUAGE plpgsql SECURITY DEFINER SET search_path = pg_catalog, public AS $$
       BEGIN
         IF TG_OP <> 'INSERT' AND OLD.state = 'confirmed' THEN
           DELETE FROM standings
             WHERE track_sha256 = OLD.track_sha256 AND player = OLD.player;
           INSERT INTO standings
             SELECT track_sha256, player, min(time_ms), count(*) FROM submissions
             WHERE track_sha256 = OLD.track_sha256 AND player = OLD.player
               AND state = 'confirmed' AND id <> OLD.id
             GROUP BY track_sha256, player;
         END IF;
         IF TG_OP <> 'DELETE' AND NEW.state = 'confirmed' THEN
           INSERT INTO standings VALUES (NEW.track_sha256, NEW.player, NEW.time_ms, 1)
             ON CONFLICT (track_sha256, player) DO UPDATE
             SET best_ms = least(standings.best_ms, excluded.best_ms),
                 finished_runs = standings.finished_runs + 1;
         END IF;
         RETURN NULL;
       END $$)sql",
    "DROP TRIGGER IF EXISTS submissions_standings ON submissions",
    R"sql(CREATE TRIGGER submissions_standings AFTER INSERT OR UPDATE OR DELETE ON submissions
         FOR EACH ROW EXECUTE FUNCTION kf_keep_standings())sql",
    R"sql(CREATE OR REPLACE FUNCTION kf_notify_submissions() RETURNS trigger
         LANGUAGE plpgsql AS $$ BEGIN NOTIFY kf_submissions; RETURN NULL; END $$)sql",
    "DROP TRIGGER IF EXISTS submissions_notify ON submissions",
    R"sql(CREATE TRIGGER submissions_notify AFTER INSERT ON submissions
         FOR EACH STATEMENT EXECUTE FUNCTION kf_notify_submissions())sql",
    // Who may do what: nothing for anyone, then each role's part.
    "REVOKE ALL ON tracks, submissions, standings, board FROM PUBLIC, kf_player, kf_verifier",
    "REVOKE ALL ON SEQUENCE submissions_id_seq FROM PUBLIC, kf_player, kf_verifier",
    "GRANT SELECT, INSERT ON tracks TO kf_player",
    "GRANT SELECT ON submissions, board TO kf_player",
    "GRANT INSERT (track_sha256, time_ms, finished_utc, path) ON submissions TO kf_player",
    "GRANT USAGE ON SEQUENCE submissions_id_seq TO kf_player",
    "GRANT SELECT ON tracks TO kf_verifier",
    "GRANT SELECT (id, player, track_sha256, time_ms, path, state) ON submissions TO kf_verifier",
    // The verifier locks a batch of pending runs and writes their verdicts through these two,
    // never by an UPDATE of its own: an update may only turn a pending run into a confirmed or
    // refused one.
    R"sql(CREATE OR REPLACE FUNCTION kf_lock_pending(runs integer)
         RETURNS TABLE (id bigint, path_bytes integer)
         LANGUAGE sql SECURITY DEFINER SET search_path = pg_catalog, public AS $$
           SELECT s.id, octet_length(s.path) FROM submissions AS s WHERE s.state = 'pending'
           ORDER BY s.id LIMIT runs FOR UPDATE SKIP LOCKED $$)sql",
    R"sql(CREATE OR REPLACE FUNCTION kf_record_proofs(verdicts json) RETURNS integer
         LANGUAGE sql SECURITY DEFINER SET search_path = pg_catalog, public AS $$
           WITH proven AS (
             UPDATE submissions AS s SET state = v.state, reason = v.reason
             FROM json_to_recordset(verdicts) AS v(id bigint, state text, reason text)
             WHERE s.id = v.id AND s.state = 'pending' AND v.state IN ('confirmed', 'refused')
             RETURNING 1)
           SELECT count(*)::integer FROM proven $$)sql",
    "REVOKE ALL ON FUNCTION kf_lock_pending(integer), kf_record_proofs(json) FROM PUBLIC",
    "GRANT EXECUTE ON FUNCTION kf_lock_pending(integer), kf_record_proofs(json) TO kf_verifier",
    "ALTER TABLE submissions ENABLE ROW LEVEL SECURITY",
    "DROP POLICY IF EXISTS player_reads ON submissions",
    R"sql(CREATE POLICY player_reads ON submissions FOR SELECT TO kf_player
         USING (state = 'confirmed' OR player = session_user))sql",
    // session_user, not only current_user: a player who takes on the group role with SET ROLE
    // still submits under their own name alone.
    "DROP POLICY IF EXISTS player_submits ON submissions",
    R"sql(CREATE POLICY player_submits ON submissions FOR INSERT TO kf_player
         WITH CHECK (player = current_user AND player = session_user
                     AND state = 'pending' AND reason IS NULL))sql",
    "DROP POLICY IF EXISTS verifier_reads ON submissions",
    R"sql(CREATE POLICY verifier_reads ON submissions FOR SELECT TO kf_verifier
         USING (state = 'pending'))sql",
    "DROP POLICY IF EXISTS verifier_proves ON submissions",
};

QString inTransaction(QSqlDatabase& db, const std::function<QString()>& work) {
    if (!db.transaction())
        return serverMessage(db.lastError());
    QString failed = work();
    if (failed.isEmpty() && !db.commit())
        failed = serverMessage(db.lastError());
    if (!failed.isEmpty())
        db.rollback();
    return failed;
}

} // namespace

QString setUpLeague(QSqlDatabase db) {
    return inTransaction(db, [&] {
        QSqlQuery query(db);
        // Setting up twice at once waits here rather than failing on the other's half; what is
        // there already is passed over without a notice.
        for (const char* first :
             {"SELECT pg_advisory_xact_lock(7302)", "SET LOCAL client_min_messages = warning"})
            if (QString failed = execOrMessage(query, QString::fromUtf8(first)); !failed.isEmpty())
                return failed;
        for (const char* statement : kSchema)
            if (QString failed = execOrMessage(query, QString::fromUtf8(statement));
                !failed.isEmpty())
                return failed;
        return QString();
    });
}

QString addLeagueRole(QSqlDatabase db, const QString& name, LeagueRole role,
                      const std::optional<QString>& password) {
    const QString group =
        role == LeagueRole::Player ? QStringLiteral("kf_player") : QStringLiteral("kf_verifier");
    return inTransaction(db, [&] {
        // The server quotes the name (%I) and the password's verifier (%L) itself. A role the
        // server has already joins the league as it is. The password goes as its SCRAM
        // verifier, which the server keeps as it is: the password itself is never sent, so it
        // shows in no log and no list of statements.
        QSqlQuery format(db);
        format.prepare(QStringLiteral(
            "SELECT format(CASE WHEN EXISTS (SELECT FROM pg_roles WHERE rolname = ?::text) "
            "THEN 'GRANT %2$I TO %1$I' ELSE 'CREATE ROLE %1$I LOGIN IN ROLE %2$I' END, "
            "?::text, ?::text), format('ALTER ROLE %I PASSWORD %L', ?::text, ?::text)"));
        for (const QString& value :
             {name, name, group, name, password ? scramVerifier(*password) : QString()})
            format.addBindValue(value);
        if (QString failed = execOrMessage(format); !failed.isEmpty())
            return failed;
        format.next();
        QStringList statements{format.value(0).toString()};
        if (password)
            statements << format.value(1).toString();
        QSqlQuery change(db);
        for (const QString& statement : statements)
            if (QString failed = execOrMessage(change, statement); !failed.isEmpty())
                return failed;
        return QString();
    });
}

} // namespace kf
