#!/usr/bin/env bash
# The libraries that only the run history and race files need are no part of a program's start:
# neither Qt SQL (the history's database) nor Qt Charts and Qt OpenGL (its window) nor libzip
# (race files) is among the libraries a program loads before main(), those it names and theirs
# (ldd). The modules kfstore, kfhistorywindow and kfzip load them at their first use.
#
#     check_start_libraries.sh <program>...
set -uo pipefail
failures=0
for program in "$@"; do
    if ! loaded=$(ldd "$program"); then
        echo "$program: ldd cannot read it"
        exit 2
    fi
    if found=$(awk '{print $1}' <<<"$loaded" | grep -E '^(libQt6(Sql|Charts|OpenGL[A-Za-z]*)|libzip)\.so'); then
        echo "$program loads at its start:" $found
        failures=$((failures + 1))
    fi
done
[ "$failures" -eq 0 ] && echo "no program loads Qt SQL, Qt Charts, Qt OpenGL or libzip at its start"
exit $((failures > 0))
