#!/usr/bin/env bash
# A league on this machine, for `make league` and `make league-stop`:
#
#     league-local.sh up PROGRAM FOLDER     a PostgreSQL server with its socket in FOLDER (no TCP),
#                                           the database "league" set up with the players ann and
#                                           ben and the verifier "verifier", whose program runs in
#                                           the background; prints the connection strings
#     league-local.sh down FOLDER           stops the verifier and the server; the data stays
#
# PROGRAM is kurvenflitzerl-league. Running `up` again keeps the league and its data, and starts
# only what is not running.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
what=${1:-}

# The verifier's process, if it still runs.
verifier_pid() {
    local pid
    pid=$(cat "$1/verify.pid" 2>/dev/null) || return 1
    grep -qs kurvenflitzerl-league "/proc/$pid/cmdline" && echo "$pid"
}

case $what in
up)
    program=$(readlink -f "$2")
    mkdir -p "$3"
    folder=$(cd "$3" && pwd)
    "$here/league-server.sh" start "$folder" >/dev/null
    "$here/league-server.sh" database "$folder" league
    owner="host=$folder dbname=league user=kfadmin"
    "$program" --db "$owner" setup
    "$program" --db "$owner" add-player ann </dev/null
    "$program" --db "$owner" add-player ben </dev/null
    "$program" --db "$owner" add-verifier verifier </dev/null
    if ! verifier_pid "$folder" >/dev/null; then
        setsid "$program" --db "host=$folder dbname=league user=verifier" verify \
            >>"$folder/verify.log" 2>&1 </dev/null &
        echo $! >"$folder/verify.pid"
    fi
    cat <<TEXT
The league runs: PostgreSQL on the socket in $folder (no TCP), and its verifier
(log: $folder/verify.log). Paste one player's connection into the game:
    host=$folder dbname=league user=ann
    host=$folder dbname=league user=ben
A track's board: $program --db "host=$folder dbname=league user=ann" board TRACK
Stop it all with: make league-stop
TEXT
    ;;
down)
    folder=$2
    [ -d "$folder" ] || exit 0
    if pid=$(verifier_pid "$folder"); then
        kill "$pid"
    fi
    rm -f "$folder/verify.pid"
    "$here/league-server.sh" stop "$folder"
    ;;
*)
    echo "usage: league-local.sh up PROGRAM FOLDER | down FOLDER" >&2
    exit 2
    ;;
esac
