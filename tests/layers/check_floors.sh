#!/usr/bin/env bash
# The house in floors: a file of src/ includes only files of its own floor or of floors below,
# and the widget-free core (kfcore) includes neither the toolkit nor the dialogs' layout data
# nor Qt Widgets.
#
#     check_floors.sh <source dir> <kfcore source files, relative to the source dir>...
set -uo pipefail
cd "$1" || exit 2
shift
floors=(res level toolkit run race record history league check tracks creator make match window app)
floor_of() {
    local i
    for i in "${!floors[@]}"; do
        [ "${floors[$i]}" = "$1" ] && { echo "$i"; return; }
    done
    echo -1
}

failures=0
for file in $(find src -name '*.h' -o -name '*.cpp' | sort); do
    own=$(floor_of "$(echo "$file" | cut -d/ -f2)")
    if [ "$own" -lt 0 ]; then
        echo "$file: in no floor (${floors[*]})"
        failures=$((failures + 1))
        continue
    fi
    while read -r included; do
        floor=$(floor_of "${included%%/*}")
        if [ "$floor" -lt 0 ] || [ "$floor" -gt "$own" ]; then
            echo "$file: includes $included from a floor above its own"
            failures=$((failures + 1))
        fi
    done < <(sed -n 's/^#include "\([^"]*\)".*/\1/p' "$file")
done

for file in "$@"; do
    case $file in /*) file=${file#"$PWD"/} ;; esac
    case $file in src/*.h | src/*.cpp) ;; *) continue ;; esac
    if grep -Eq '^#include ("(toolkit|res)/|<Q(Widget|Dialog|Label|PushButton|Application)>)' \
        "$file"; then
        echo "$file: a core file includes the toolkit, the dialogs' layout data or Qt Widgets"
        failures=$((failures + 1))
    fi
done

[ "$failures" -eq 0 ] && echo "every include runs down the floors: ${floors[*]}"
exit $((failures > 0))
