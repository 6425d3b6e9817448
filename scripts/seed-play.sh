#!/usr/bin/env bash
# Seeds the play folder with the bundled level and pictures: the files that the data folder's
# list FILES names, as the build drew them, and no other file an older build left there. A file
# that is already in the play folder is never replaced, so record files and levels the player
# saved survive every `make run`.
#
#     seed-play.sh <data folder> <play folder>
set -euo pipefail
src=$1
dst=$2
[ -f "$src/FILES" ] || { echo "seed-play.sh: $src/FILES is missing: build first" >&2; exit 1; }
mkdir -p "$dst"
while IFS= read -r name; do
    [ -n "$name" ] || continue
    target="$dst/$name"
    [ -e "$target" ] || cp "$src/$name" "$target"
done <"$src/FILES"
