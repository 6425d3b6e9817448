#!/usr/bin/env bash
# The play folder of `make run`: seeded with the files that the data folder's list names, never
# with a file an older build left beside them, and never over a file the player already has.
#
#     check_seed_play.sh <seed-play.sh>
set -uo pipefail
seed=$(readlink -f "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

data=$work/data
play=$work/play
mkdir -p "$data" "$play"
printf 'intro' >"$data/Level_00_INTRO.bmp"
printf 'logo' >"$data/kf_1.gfx"
printf 'tile' >"$data/kf_3.gfx"
printf 'gone' >"$data/Level_99_DROPPED.bmp" # drawn by an older build, no longer listed
printf 'Level_00_INTRO.bmp\nkf_1.gfx\nkf_3.gfx\n' >"$data/FILES"
printf 'painted over' >"$play/kf_1.gfx"
printf 'Anna\r\n4321' >"$play/Level_00_INTRO.bmp.kfh"

"$seed" "$data" "$play" || fail "seeding failed"
[ "$(LC_ALL=C ls "$play")" = "$(printf '%s\n' Level_00_INTRO.bmp Level_00_INTRO.bmp.kfh kf_1.gfx kf_3.gfx)" ] ||
    fail "the play folder holds: $(ls "$play" | tr '\n' ' ')"
cmp -s "$data/Level_00_INTRO.bmp" "$play/Level_00_INTRO.bmp" || fail "the intro was not copied"
[ "$(cat "$play/kf_1.gfx")" = 'painted over' ] || fail "the player's file was replaced"

rm "$data/FILES"
out=$("$seed" "$data" "$work/fresh" 2>&1) && fail "seeded without a list"
grep -q 'FILES is missing' <<<"$out" || fail "no message without a list: $out"
[ ! -e "$work/fresh" ] || fail "a play folder was made without a list"

[ "$failures" -eq 0 ] || exit 1
echo "ok: seed-play"
