#!/usr/bin/env bash
# A PostgreSQL server of the checkout's own for a league, on a Unix socket in a folder (no TCP):
# what `make league` runs, and what the tests and benchmarks start for themselves.
#
#     league-server.sh start FOLDER [--throwaway]   initdb on first use, then start; prints the
#                                                   owner's connection string
#     league-server.sh database FOLDER NAME         creates the database NAME unless it is there
#     league-server.sh stop FOLDER                  stops the server of FOLDER, if it runs
#
# The server's programs come from the newest /usr/lib/postgresql/<version>/bin (or
# $KF_PG_BINDIR). PostgreSQL refuses to run as root: for root the server runs as an unprivileged
# user ($KF_PG_USER, by default nobody) that owns FOLDER. The server's owner role is kfadmin;
# on the socket every local role is trusted, and the socket is open to FOLDER's owner (and
# root) only. --throwaway trades safety on a crash for speed (no fsync), for tests.
set -euo pipefail

owner_role=kfadmin
die() { echo "league-server.sh: $*" >&2; exit 1; }
[ $# -ge 2 ] || { echo "usage: league-server.sh start|database|stop FOLDER [...]" >&2; exit 2; }
what=$1
mkdir -p "$2"
folder=$(cd "$2" && pwd)
data=$folder/data

bindir=${KF_PG_BINDIR:-}
if [ -z "$bindir" ]; then
    for dir in $(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V); do
        [ -x "$dir/initdb" ] && [ -x "$dir/pg_ctl" ] && bindir=$dir
    done
fi
[ -n "$bindir" ] && [ -x "$bindir/initdb" ] && [ -x "$bindir/pg_ctl" ] ||
    die "no PostgreSQL server programs (initdb, pg_ctl) in /usr/lib/postgresql/*/bin: install the package postgresql (scripts/install-deps.sh test)"

# As the server's user: this user, or for root the unprivileged one.
as_server() {
    if [ "$(id -u)" -eq 0 ]; then
        runuser -u "${KF_PG_USER:-nobody}" -- "$@"
    else
        "$@"
    fi
}

case $what in
start)
    case $folder in *"'"* | *'"'* | *' '*) die "the folder's path may hold no quote and no blank: $folder" ;; esac
    [ ${#folder} -le 90 ] || die "the folder's path is too long for a Unix socket: $folder"
    if [ "$(id -u)" -eq 0 ]; then
        user=${KF_PG_USER:-nobody}
        [ "$(id -u "$user")" -ne 0 ] || die "$user is root: name an unprivileged user in KF_PG_USER"
        chown -R "$user" "$folder"
        runuser -u "$user" -- test -w "$folder" -a -x "$folder" ||
            die "PostgreSQL does not run as root, and $user cannot reach $folder: run this as an ordinary user"
    fi
    if [ ! -f "$data/PG_VERSION" ]; then
        sync_option=()
        [ "${3:-}" = --throwaway ] && sync_option=(--no-sync)
        as_server "$bindir/initdb" -D "$data" -U "$owner_role" -A trust -E UTF8 --locale=C.UTF-8 \
            "${sync_option[@]}" >"$folder/initdb.log" 2>&1 ||
            die "initdb failed; see $folder/initdb.log"
    fi
    options="-c listen_addresses='' -c unix_socket_directories='$folder' -c unix_socket_permissions=0700"
    [ "${3:-}" = --throwaway ] &&
        options+=" -c fsync=off -c synchronous_commit=off -c full_page_writes=off"
    if ! as_server "$bindir/pg_ctl" -D "$data" status >/dev/null 2>&1; then
        as_server "$bindir/pg_ctl" -D "$data" -l "$folder/server.log" -w -t 60 -o "$options" \
            start >/dev/null || die "the server did not start; see $folder/server.log"
    fi
    echo "host=$folder user=$owner_role dbname=postgres"
    ;;
database)
    name=${3:?a database name}
    exists=$(echo "SELECT 1 FROM pg_database WHERE datname = :'name'" |
        "$bindir/psql" -h "$folder" -U "$owner_role" -d postgres -XAtq -v name="$name")
    [ "$exists" = 1 ] || "$bindir/createdb" -h "$folder" -U "$owner_role" -- "$name"
    ;;
stop)
    if [ -f "$data/PG_VERSION" ] && as_server "$bindir/pg_ctl" -D "$data" status >/dev/null 2>&1; then
        as_server "$bindir/pg_ctl" -D "$data" -m fast -w stop >/dev/null
    fi
    ;;
*)
    echo "usage: league-server.sh start|database|stop FOLDER [...]" >&2
    exit 2
    ;;
esac
