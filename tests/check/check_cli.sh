#!/usr/bin/env bash
# The level checker's command line: exit codes and messages, and every bundled level passes.
#
#     check_cli.sh <kurvenflitzerl-check> <data folder>
set -uo pipefail
check=$1
data=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# expect STATUS PATTERN ARGS...: runs the checker with ARGS in the work folder, wants exit STATUS
# and an extended regular expression PATTERN somewhere in what it printed (stdout and stderr).
expect() {
    local status=$1 pattern=$2
    shift 2
    local out rc
    out=$(cd "$work" && "$check" "$@" 2>&1)
    rc=$?
    if [ "$rc" -ne "$status" ] || ! grep -Eq -- "$pattern" <<<"$out"; then
        echo "FAIL: $* -> exit $rc (want $status, /$pattern/):"
        echo "$out"
        failures=$((failures + 1))
    fi
}

hint="Try 'kurvenflitzerl-check --help'"
intro="$data/Level_00_INTRO.bmp"
expect 2 "no level file given"
expect 2 "$hint" --width 4
expect 2 "Unknown option 'bogus'" --bogus "$intro"
expect 2 "Missing value after '--width'" "$intro" --width
for bad in 0 -3 abc 4.5 1001; do
    expect 2 "--width needs a whole number from 1 to 1000, not '$bad'" --width "$bad" "$intro"
done
expect 0 "^Usage: kurvenflitzerl-check \[--width N\] LEVEL.bmp" --help
# Usage errors go to stderr alone, the help to stdout alone.
[ -z "$("$check" --bogus 2>/dev/null)" ] || { echo "FAIL: usage error on stdout"; failures=$((failures + 1)); }
[ -n "$("$check" --help 2>/dev/null)" ] || { echo "FAIL: help not on stdout"; failures=$((failures + 1)); }

echo "not a picture" >"$work/notes.bmp"
expect 1 "^$work/notes.bmp: not a loadable bitmap$" "$work/notes.bmp"
expect 1 "^$work/missing.bmp: no such file$" "$work/missing.bmp"
expect 1 "^$work: cannot be read as a file$" "$work"
cp "$intro" "$work/-dash.bmp"
expect 2 "Unknown option 'dash.bmp'" -dash.bmp
expect 0 "^-dash.bmp: playable" --width=40 -- -dash.bmp
# The intro's corridor is 40 pixels wide.
expect 0 "^$intro: 400 x 400 pixels, 1 starting area, 1 finishing area$" --width 40 "$intro"
expect 1 "^$intro: not playable: the starting area at \(30, 30\) cannot reach a finishing area along a corridor at least 41 pixels wide$" --width 41 "$intro"
# One level that is not playable makes the whole run fail, but every file is reported.
expect 1 "^$intro: playable with a corridor at least 4 pixels wide$" "$work/notes.bmp" "$intro"

levels=("$data"/Level_*.bmp)
for width in 4 12; do
    expect 0 "playable with a corridor at least $width pixels wide" --width "$width" "${levels[@]}"
done

[ "$failures" -eq 0 ] && echo "all checks passed"
exit $((failures > 0))
