#!/usr/bin/env bash
# The level checker's command line: exit codes and messages, and every bundled level passes;
# the proof of race files (--verify) on the seeds of the race file fuzzer.
#
#     check_cli.sh <kurvenflitzerl-check> <data folder> <race files folder>
set -uo pipefail
check=$1
data=$2
races=$3
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
    # Byte for byte, whatever the locale: file names need not be UTF-8.
    if [ "$rc" -ne "$status" ] || ! LC_ALL=C grep -Eq -- "$pattern" <<<"$out"; then
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

# le VALUE BYTES: VALUE as BYTES little-endian bytes, written as printf escapes.
le() {
    local i out=
    for ((i = 0; i < $2; i++)); do out+=$(printf '\\x%02x' $((($1 >> (8 * i)) & 255))); done
    printf '%s' "$out"
}
# 84 bytes that claim a run-length picture of 11584 x 11584 pixels: the headers, three colours
# (white, green, red), four runs of each and the end. Refused from the header, not drawn.
{
    printf "BM$(le 84 4)$(le 0 4)$(le 66 4)"
    printf "$(le 40 4)$(le 11584 4)$(le 11584 4)$(le 1 2)$(le 8 2)$(le 1 4)$(le 18 4)$(le 0 8)"
    printf "$(le 3 4)$(le 0 4)"'\xff\xff\xff\x00\x00\xff\x00\x00\x00\x00\xff\x00'
    printf '\xff\x01\xff\x01\xff\x01\xff\x01\xff\x02\xff\x02\xff\x02\xff\x02\x00\x01'
} >"$work/huge.bmp"
[ "$(stat -c %s "$work/huge.bmp")" -eq 84 ] || { echo "FAIL: huge.bmp is not 84 bytes"; failures=$((failures + 1)); }
expect 1 "^$work/huge.bmp: too large: 11584 × 11584 pixels, at most 33554432$" "$work/huge.bmp"
# A file name need not be UTF-8: the file is opened, and named, in the bytes it was given.
latin1=$'caf\xe9.bmp'
cp "$intro" "$work/$latin1"
expect 0 "^$work/$latin1: playable with a corridor at least 4 pixels wide$" "$work/$latin1"
expect 0 "^$latin1: 400 x 400 pixels" -- "$latin1"
cp "$intro" "$work/-dash.bmp"
expect 2 "Unknown option 'dash.bmp'" -dash.bmp
expect 0 "^-dash.bmp: playable" --width=40 -- -dash.bmp
# The intro's corridor is 40 pixels wide.
expect 0 "^$intro: 400 x 400 pixels, 1 starting area, 1 finishing area$" --width 40 "$intro"
expect 1 "^$intro: not playable: the starting area at \(30, 30\) cannot reach a finishing area along a corridor at least 41 pixels wide$" --width 41 "$intro"
# The narrowest passage follows the size line, and the difficulty the passage, whatever the
# width asked for: a level sealed at that width still names the widest probe that gets through.
for width in 4 41; do
    out=$("$check" --width "$width" "$intro")
    passage=$(sed -n 2,3p <<<"$out")
    [ "$passage" = "$intro: its narrowest passage lets a probe 40 pixels wide through
$intro: steering index 43, difficulty 4.7" ] ||
        { echo "FAIL: passage lines at width $width: $passage"; failures=$((failures + 1)); }
done
# 4 x 1 pixels, 24 bits: start, wall, free track, finish. Not even a probe of 1 gets through.
{
    printf "BM$(le 66 4)$(le 0 4)$(le 54 4)"
    printf "$(le 40 4)$(le 4 4)$(le 1 4)$(le 1 2)$(le 24 2)$(le 0 4)$(le 12 4)$(le 0 16)"
    printf '\x00\xff\x00\x00\x00\x00\xff\xff\xff\x00\x00\xff'
} >"$work/walled.bmp"
expect 1 "^$work/walled.bmp: no probe gets through$" "$work/walled.bmp"
expect 1 "^$work/walled.bmp: no difficulty \(not playable\)$" "$work/walled.bmp"
expect 1 "^$work/walled.bmp: not playable: the starting area at \(0, 0\) cannot reach" --width 1 "$work/walled.bmp"
# One level that is not playable makes the whole run fail, but every file is reported.
expect 1 "^$intro: playable with a corridor at least 4 pixels wide$" "$work/notes.bmp" "$intro"

# The bundled levels as the data folder's list names them, not a leftover of an older build.
levels=()
while IFS= read -r name; do
    [[ $name == Level_*.bmp ]] && levels+=("$data/$name")
done <"$data/FILES"
for width in 4 12; do
    expect 0 "playable with a corridor at least $width pixels wide" --width "$width" "${levels[@]}"
done

# Race files: every ghost's run proven on the race's own track, a line each.
expect 2 "--verify proves races and takes no --width" --verify --width 4 "$races/confirmed.kfrace"
expect 2 "no race file given" --verify
expect 0 "^$races/confirmed.kfrace: Bo: confirmed, finished in 80 ms$" --verify "$races/confirmed.kfrace"
expect 1 "^$work/notes.bmp: The race file \"notes.bmp\" cannot be used: it is not a ZIP archive.$" \
    --verify "$work/notes.bmp"
expect 1 "^$races/stored.kfrace: Ann: confirmed" --verify "$races/stored.kfrace" "$races/disputed.kfrace"
disputed=$(cd "$races" && "$check" --verify disputed.kfrace)
expected='disputed.kfrace: Ann: confirmed, finished in 45 ms
disputed.kfrace: Cy: not confirmed: touches a wall at (3, 2) after 40 ms
disputed.kfrace: Di: not confirmed: times go backwards
disputed.kfrace: Ed: not confirmed: claims 44 ms but its path ends at 45 ms'
[ "$disputed" = "$expected" ] || { echo "FAIL: --verify disputed.kfrace:"; echo "$disputed"; failures=$((failures + 1)); }

[ "$failures" -eq 0 ] && echo "all checks passed"
exit $((failures > 0))
