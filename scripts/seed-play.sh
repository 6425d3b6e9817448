#!/usr/bin/env bash
# Seeds the play folder with the bundled level and pictures. A file that is already there is
# never replaced, so record files and levels the player saved survive every `make run`.
set -euo pipefail
src=$1
dst=$2
mkdir -p "$dst"
for f in "$src"/*; do
    [ -f "$f" ] || continue
    target="$dst/$(basename "$f")"
    [ -e "$target" ] || cp "$f" "$target"
done
