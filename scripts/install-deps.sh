#!/usr/bin/env bash
# Installs the Debian packages that the named groups need, every group's when none is named:
#
#     install-deps.sh [run|test|package|bench|fuzz|format]...
#
#   run      building and running the game (and its league's database driver)
#   test     the test programs (GoogleTest; Xvfb and XTest for the tests on a real X server; a
#            PostgreSQL server that the league's tests start of their own)
#   package  the Debian package, its check by lintian, and the checks of the installed tree (its
#            MIME database too)
#   bench    the benchmarks (and an X server in memory for their figures on X11)
#   fuzz     the fuzzers (clang and its fuzzing runtime)
#   format   clang-format
#
# Runs apt-get only when something is missing; as root directly, otherwise through sudo. When
# sudo cannot do it (not installed, not allowed, or a password is needed but there is no
# terminal to ask for it), stops with a message that names the packages and the command for root.
set -euo pipefail

declare -A group=(
    [run]="build-essential cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev
           libqt6sql6-sqlite libqt6sql6-psql qt6-charts-dev libqt6opengl6-dev libzip-dev
           fonts-liberation2 fontconfig"
    [test]="libgtest-dev libgmock-dev xvfb libxtst-dev postgresql"
    [package]="dpkg-dev file desktop-file-utils appstream lintian shared-mime-info"
    [bench]="libbenchmark-dev xvfb xauth"
    [fuzz]="clang libclang-rt-14-dev"
    [format]="clang-format"
)
every=(run test package bench fuzz format)
groups=("$@")
[ ${#groups[@]} -gt 0 ] || groups=("${every[@]}")
packages=()
for g in "${groups[@]}"; do
    if [ -z "${group[$g]+set}" ]; then
        echo "install-deps.sh: no package group '$g'; the groups are ${every[*]}" >&2
        exit 2
    fi
    # shellcheck disable=SC2206 # the names split at blanks, and none holds a wildcard
    packages+=(${group[$g]})
done

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

update=(apt-get update)
install=(env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}")

refuse() {
    cat >&2 <<MESSAGE
These Debian packages are missing: ${missing[*]}
Only root can install them, and $1.
Run this as root (for example after 'su -'), then try again:
    apt-get update && apt-get install --no-install-recommends ${missing[*]}
MESSAGE
    exit 1
}

# Whether sudo runs both commands without asking for a password (none needed, or given lately).
sudo_may_install() {
    sudo -n -l "${update[@]}" >/dev/null 2>&1 && sudo -n -l "${install[@]}" >/dev/null 2>&1
}

if [ "$(id -u)" -eq 0 ]; then
    sudo=()
else
    sudo=(sudo)
    if ! command -v sudo >/dev/null; then
        refuse "sudo is not installed"
    elif ! sudo_may_install; then
        # sudo asks for the password on the terminal; its own refusal gives way to the message.
        if ! { : </dev/tty; } 2>/dev/null; then
            refuse "sudo needs your password but there is no terminal to ask for it"
        elif ! sudo -v -p "[sudo] password for %p, to install the missing packages: " 2>/dev/null ||
            ! sudo_may_install; then
            refuse "sudo did not let $(id -un) install them"
        fi
    fi
fi
echo "Installing: ${missing[*]}"
"${sudo[@]}" "${update[@]}"
"${sudo[@]}" "${install[@]}"
