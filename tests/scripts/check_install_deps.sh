#!/usr/bin/env bash
# The package set-up of `make run` and `make test` when packages are missing: as root apt-get
# runs directly, as anyone else through sudo, and where sudo cannot do it one message names the
# packages and the command for root. Only the packages of the groups asked for are installed.
#
#     check_install_deps.sh <install-deps.sh>
#
# dpkg-query, id, sudo and apt-get are stand-ins that log what they were asked to do; the script
# runs with no terminal (setsid) or on one (script) as the case wants.
set -uo pipefail
deps=$(readlink -f "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bin=$work/bin
mkdir "$bin"
for tool in bash cat env grep; do ln -s "$(command -v "$tool")" "$bin/$tool"; done
stub() { printf '#!/bin/bash\n%s\n' "$2" >"$bin/$1" && chmod +x "$bin/$1"; }
stub dpkg-query 'case " $MISSING " in *" ${!#} "*) exit 1 ;; esac; echo -n "install ok installed"'
stub id 'if [ "$1" = -u ]; then echo "$FAKE_UID"; else echo player; fi'
stub apt-get 'echo "${SUDOED:+sudo }apt-get $*" >>"$LOG"'
# The sudo stand-in: "nopasswd" allows everything, "password" once a password was given (-v),
# "denied" nothing, with sudo's own complaints on stderr.
stub sudo.in 'allowed() { [ "$SUDO_MODE" = nopasswd ] || [ -e "$LOG.validated" ]; }
case $1 in
-n) allowed || { echo "sudo: a password is required" >&2; exit 1; } ;;
-v) [ "$SUDO_MODE" = password ] && : >"$LOG.validated" && exit 0
    echo "Sorry, user player may not run sudo on this host." >&2; exit 1 ;;
*) allowed && SUDOED=1 exec "$@"; exit 1 ;;
esac'

failures=0
run() { # name uid missing sudo-mode terminal(yes|no) want-status want-pattern want-log [groups]
    local name=$1 status out log groups
    read -ra groups <<<"${9:-}"
    rm -f "$work/log" "$work/log.validated" "$bin/sudo"
    touch "$work/log"
    [ "$4" = none ] || cp "$bin/sudo.in" "$bin/sudo"
    local env=(env PATH="$bin" FAKE_UID="$2" MISSING="$3" SUDO_MODE="$4" LOG="$work/log")
    if [ "$5" = yes ]; then
        local command
        command=$(printf '%q ' "${env[@]}" "$deps" "${groups[@]}")
        out=$(script -qec "$command" /dev/null </dev/null 2>&1)
    else
        out=$(setsid -w "${env[@]}" "$deps" "${groups[@]}" </dev/null 2>&1)
    fi
    status=$?
    log=$(cat "$work/log")
    if [ "$status" -ne "$6" ] || ! grep -Ezq -- "$7" <<<"$out" || [ "$log" != "$8" ] ||
        grep -Eq 'command not found|^sudo:|Sorry, user' <<<"$out"; then
        echo "FAIL: $name -> exit $status (want $6, /$7/), printed:"
        echo "$out"
        echo "apt-get calls:"
        echo "$log"
        echo "wanted:"
        echo "$8"
        failures=$((failures + 1))
    fi
}

two="cmake libgtest-dev"
direct=$'apt-get update\napt-get install -y --no-install-recommends cmake libgtest-dev'
sudoed=$'sudo apt-get update\nsudo apt-get install -y --no-install-recommends cmake libgtest-dev'
for_root="apt-get update && apt-get install --no-install-recommends cmake libgtest-dev"
refusal() { echo "These Debian packages are missing: $two.*Only root can install them, and $1.*$for_root"; }

run "nothing missing" 1000 "" none no 0 '^[[:space:]]*$' ""
run "root" 0 "$two" none no 0 "Installing: $two" "$direct"
run "sudo not installed" 1000 "$two" none yes 1 "$(refusal "sudo is not installed")" ""
run "sudo without a password" 1000 "$two" nopasswd no 0 "Installing: $two" "$sudoed"
run "sudo with a password, on a terminal" 1000 "$two" password yes 0 "Installing: $two" "$sudoed"
run "sudo with a password, no terminal" 1000 "$two" password no 1 \
    "$(refusal "sudo needs your password but there is no terminal to ask for it")" ""
run "sudo not allowed" 1000 "$two" denied yes 1 \
    "$(refusal "sudo did not let player install them")" ""

# Each make target asks for its own groups: the game's alone leave the test packages out.
run "the game's packages" 0 "$two" none no 0 "Installing: cmake[[:space:]]*$" \
    $'apt-get update\napt-get install -y --no-install-recommends cmake' run
run "two groups" 0 "$two lintian libbenchmark-dev" none no 0 \
    "Installing: libgtest-dev lintian[[:space:]]*$" \
    $'apt-get update\napt-get install -y --no-install-recommends libgtest-dev lintian' \
    "test package"
run "nothing missing of the group" 1000 "$two" none no 0 '^[[:space:]]*$' "" format
run "no such group" 0 "$two" none no 2 "no package group 'tests'" "" "run tests"

[ "$failures" -eq 0 ] || exit 1
echo "ok: install-deps"
