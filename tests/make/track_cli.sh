#!/usr/bin/env bash
# The track maker's command line: exit codes and messages, a track written whole, the track of
# a day byte for byte, and a file that cannot be written.
#
#     track_cli.sh <kurvenflitzerl-track>
set -uo pipefail
track=$1
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# expect STATUS PATTERN ARGS...: runs the maker with ARGS in the work folder, wants exit STATUS
# and an extended regular expression PATTERN somewhere in what it printed (stdout and stderr).
expect() {
    local status=$1 pattern=$2
    shift 2
    local out rc
    out=$(cd "$work" && "$track" "$@" 2>&1)
    rc=$?
    if [ "$rc" -ne "$status" ] || ! grep -Eq -- "$pattern" <<<"$out"; then
        fail "$* -> exit $rc (want $status, /$pattern/):"
        echo "$out"
    fi
}

usage="^Usage: kurvenflitzerl-track generate --seed N --difficulty D OUT.bmp"
# Each wrong use prints why and the usage, and writes nothing.
while IFS='|' read -r reason args; do
    read -ra words <<<"$args"
    expect 2 "$reason" "${words[@]}"
    expect 2 "$usage" "${words[@]}"
done <<'TABLE'
no command given|
unknown command|make --seed 1 --difficulty 1 a.bmp
needs --seed, --difficulty and one file|generate --seed 1 a.bmp
needs --seed, --difficulty and one file|generate --seed 1 --difficulty 1
needs --seed, --difficulty and one file|generate --seed 1 --difficulty 1 a.bmp b.bmp
lacks its value|generate a.bmp --difficulty 1 --seed
given twice|generate --seed 1 --seed 2 --difficulty 1 a.bmp
unknown option|generate --seed 1 --difficulty 1 --width 4 a.bmp
seed must be a whole number|generate --seed abc --difficulty 1 a.bmp
seed must be a whole number|generate --seed -1 --difficulty 1 a.bmp
seed must be a whole number|generate --seed 18446744073709551616 --difficulty 1 a.bmp
seed must be a whole number|generate --seed 0x10 --difficulty 1 a.bmp
difficulty must be a whole number from 1 to 10|generate --seed 1 --difficulty 0 a.bmp
difficulty must be a whole number from 1 to 10|generate --seed 1 --difficulty 11 a.bmp
difficulty must be a whole number from 1 to 10|generate --seed 1 --difficulty 4.5 a.bmp
date must be a day that exists|daily 2023-02-29 a.bmp
date must be a day that exists|daily 2024-1-05 a.bmp
daily needs a date and one file|daily 2024-01-05
TABLE
[ -z "$(ls -A "$work")" ] || fail "a wrong use wrote $(ls -A "$work")"
expect 0 "$usage" --help
[ -z "$("$track" bogus 2>/dev/null)" ] || fail "usage error on stdout"

# A good track: 480 054 bytes and its line; the options in any order, and with "=".
expect 0 "^maze.bmp: seed 7, difficulty 6: steering index [0-9]+, difficulty (5\.[5-9]|6\.[0-5])$" \
    generate maze.bmp --difficulty 6 --seed 7
[ "$(stat -c %s "$work/maze.bmp")" -eq 480054 ] || fail "maze.bmp is not 480 054 bytes"
expect 0 "^again.bmp: seed 7, difficulty 6" generate --seed=7 --difficulty=6 again.bmp
cmp -s "$work/maze.bmp" "$work/again.bmp" || fail "one seed and difficulty gave two tracks"

# The track of a Tuesday, byte for byte.
expect 0 "^day.bmp: seed 6850447960966876481, difficulty 3: steering index" daily 2026-12-08 day.bmp
sha=$(sha256sum "$work/day.bmp" | cut -d' ' -f1)
[ "$sha" = e8143ca5cd65c564ac6330b243dee03b28c68abfc8a401bf93f70bfd56a4ef3e ] ||
    fail "the track of 2026-12-08 has changed: $sha"

# A folder that may not be written (not even by root, as it is gone), and a folder at the name:
# the reason, exit 1, and nothing left behind.
expect 1 "^kurvenflitzerl-track: cannot write missing/t.bmp: " daily 2026-12-08 missing/t.bmp
mkdir "$work/folder.bmp"
expect 1 "^kurvenflitzerl-track: cannot write folder.bmp: " daily 2026-12-08 folder.bmp
[ "$(ls -A "$work/folder.bmp")" = "" ] || fail "a file was left in folder.bmp"
[ "$(ls -A "$work" | grep -c '^\.kf-')" -eq 0 ] || fail "a half-written file was left"

[ "$failures" -eq 0 ] && echo "all checks passed"
exit $((failures > 0))
