#!/usr/bin/env bash
# Checks the installed game: check_install.sh <build folder> tree|package|launcher|mime [program]
#   tree      the installed files at their places, the desktop entry and metainfo valid, and
#             every installed track passing the installed checker
#   package   the Debian package's file list and dependencies, and lintian finding no error
#             and no warning in it
#   launcher  the launcher, started as the desktop entry starts it under an unusual prefix,
#             seeding the player's play folder and keeping the player's files, and passing on
#             the files it is given
#   mime      the race file's type in the installed tree's MIME database, as the program
#             (kf_mime_type) reads it, and the desktop entry as the program that opens it
set -euo pipefail
build=$(readlink -f "$1")
what=$2
scratch=$(mktemp -d)
trap 'chmod -R u+w "$scratch"; rm -rf "$scratch"' EXIT

app=org.kurvenflitzerl.Kurvenflitzerl
race=application-x-kurvenflitzerl-race
fail() { echo "FAIL: $*" >&2; exit 1; }

# The files every install has, below the prefix; the game's modules in the architecture's folder
# of private libraries; the shipped tracks and pictures are those the build drew, as the list in
# its data folder names them.
triplet=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
expected_files() {
    printf '%s\n' games/kurvenflitzerl games/kurvenflitzerl-check games/kurvenflitzerl-track \
        games/kurvenflitzerl-league \
        libexec/kurvenflitzerl/kurvenflitzerl \
        "lib/$triplet/kurvenflitzerl/libkfstore.so" \
        "lib/$triplet/kurvenflitzerl/libkfhistorywindow.so" \
        "lib/$triplet/kurvenflitzerl/libkfleaguelink.so" \
        "lib/$triplet/kurvenflitzerl/libkfzip.so" \
        share/man/man6/kurvenflitzerl.6.gz share/man/man6/kurvenflitzerl-check.6.gz \
        share/man/man6/kurvenflitzerl-track.6.gz share/man/man6/kurvenflitzerl-league.6.gz \
        "share/applications/$app.desktop" "share/metainfo/$app.metainfo.xml" \
        share/doc/kurvenflitzerl/copyright share/doc/kurvenflitzerl/changelog.Debian.gz \
        share/lintian/overrides/kurvenflitzerl
    for size in 16 22 24 32 48 64 128 256; do
        echo "share/icons/hicolor/${size}x${size}/apps/$app.png"
        echo "share/icons/hicolor/${size}x${size}/mimetypes/$race.png"
    done
    echo share/mime/packages/kurvenflitzerl.xml
    sed 's|^|share/kurvenflitzerl/|' "$build/data/FILES"
}

install_into() { # destdir prefix
    DESTDIR=$1 cmake --install "$build" --prefix "$2" >/dev/null
}

case $what in
tree)
    root=$scratch/root
    install_into "$root" /usr
    diff <(expected_files | sort) <(cd "$root/usr" && find . -type f | sed 's|^\./||' | sort) ||
        fail "the installed files differ from the list above"
    levels=("$root"/usr/share/kurvenflitzerl/Level_*.bmp)
    [ ${#levels[@]} -ge 9 ] || fail "only ${#levels[@]} tracks installed"
    for exe in games/kurvenflitzerl games/kurvenflitzerl-check games/kurvenflitzerl-track \
        games/kurvenflitzerl-league \
        libexec/kurvenflitzerl/kurvenflitzerl; do
        [ -x "$root/usr/$exe" ] || fail "$exe is not executable"
    done
    desktop-file-validate "$root/usr/share/applications/$app.desktop" || fail "desktop entry"
    grep -qx 'Categories=Game;ArcadeGame;' "$root/usr/share/applications/$app.desktop" ||
        fail "desktop entry categories"
    grep -qx 'Exec=/usr/games/kurvenflitzerl %f' "$root/usr/share/applications/$app.desktop" ||
        fail "the desktop entry does not start /usr/games/kurvenflitzerl with a file"
    for page in kurvenflitzerl kurvenflitzerl-check kurvenflitzerl-track kurvenflitzerl-league; do
        MANWIDTH=200 man -l "$root/usr/share/man/man6/$page.6.gz" 2>&1 | grep -q "^ *$page - " ||
            fail "the manual page of $page"
    done
    appstreamcli validate --no-net "$root/usr/share/metainfo/$app.metainfo.xml" || fail "metainfo"
    grep -q '<project_license>GPL-3.0-or-later</project_license>' \
        "$root/usr/share/metainfo/$app.metainfo.xml" || fail "metainfo licence"
    grep -q 'GPL-3.0-or-later' "$root/usr/share/doc/kurvenflitzerl/copyright" || fail "copyright"
    file "$root"/usr/share/icons/hicolor/256x256/apps/$app.png | grep -q '256 x 256' ||
        fail "the 256 px icon"
    "$root/usr/games/kurvenflitzerl-check" "${levels[@]}" || fail "an installed track is unplayable"
    "$root/usr/games/kurvenflitzerl-track" daily 2026-12-08 "$scratch/daily.bmp" >/dev/null &&
        "$root/usr/games/kurvenflitzerl-check" "$scratch/daily.bmp" >/dev/null ||
        fail "the installed track maker's track of the day is unplayable"
    ;;
package)
    (cd "$build" && cpack -G DEB -B "$scratch" >/dev/null)
    deb=("$scratch"/kurvenflitzerl_*.deb)
    [ -f "${deb[0]}" ] || fail "no package was built"
    diff <(expected_files | sed 's|^|usr/|' | sort) \
        <(dpkg-deb --contents "${deb[0]}" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./||' | sort) ||
        fail "the package's files differ from the list above"
    depends=$(dpkg-deb -f "${deb[0]}" Depends)
    for dep in libqt6widgets6 libqt6gui6 libc6 fonts-liberation2 libqt6sql6-sqlite libqt6charts6 \
        libzip4 libqt6sql6-psql; do
        grep -q "$dep" <<<"$depends" || fail "Depends lacks $dep: $depends"
    done
    [ "$(dpkg-deb -f "${deb[0]}" Section)" = games ] || fail "section"
    lintian --fail-on error,warning "${deb[0]}" || fail "lintian finds errors or warnings"
    ;;
launcher)
    # A prefix with a blank, a dollar and a percent sign: the desktop entry quotes the launcher's
    # path and escapes them ("\\$" for a dollar within quotes, "%%" for a percent sign), and the
    # launcher finds the game and the shipped files from its place all the same.
    prefix='/opt/kurven $flitzerl 100%'
    root=$scratch/root
    install_into "$root" "$prefix"
    top=$root$prefix
    entry=$top/share/applications/$app.desktop
    desktop-file-validate "$entry" || fail "desktop entry"
    exec_line=$(grep '^Exec=' "$entry")
    [ "$exec_line" = 'Exec="/opt/kurven \\$flitzerl 100%%/games/kurvenflitzerl" %f' ] ||
        fail "the desktop entry's command: $exec_line"
    launcher=$top/games/kurvenflitzerl
    # The game itself is replaced by a stand-in that says where it was started, and with what.
    game=$top/libexec/kurvenflitzerl/kurvenflitzerl
    printf '#!/bin/sh\npwd > "%s/started-in"\nprintf "%%s\\n" "$@" > "%s/arguments"\n' \
        "$scratch" "$scratch" >"$game"
    chmod -w -R "$root"
    shipped=$top/share/kurvenflitzerl
    before=$(cd "$shipped" && sha1sum -- *)

    home=$scratch/home
    mkdir -p "$home"
    play=$home/.local/share/kurvenflitzerl
    HOME=$home XDG_DATA_HOME= "$launcher"
    [ "$(cat "$scratch/started-in")" = "$play" ] || fail "not started in $play"
    diff <(ls "$shipped") <(ls "$play") || fail "the first start did not seed every file"
    # The copies are the player's to change, even though the installed files are read-only;
    # the mode is checked, not a write, as root may write any file.
    [ -z "$(find "$play" -type f ! -perm -u=w)" ] || fail "a seeded copy is read-only"

    # The player's changes between two starts: a record, a track of the player's own, a shipped
    # track changed, and a shipped file deleted.
    printf 'Anna\r\n4321' >"$play/Level_00_INTRO.bmp.kfh"
    cp "$play/kf_1.gfx" "$play/My_Track.bmp"
    printf 'painted over' >"$play/Level_00_INTRO.bmp"
    rm "$play/kf_3.gfx"
    HOME=$home XDG_DATA_HOME=relative/ignored "$launcher"
    [ "$(cat "$play/Level_00_INTRO.bmp.kfh")" = $'Anna\r\n4321' ] || fail "the record was replaced"
    [ "$(cat "$play/Level_00_INTRO.bmp")" = 'painted over' ] || fail "a changed track was replaced"
    cmp -s "$play/kf_1.gfx" "$play/My_Track.bmp" || fail "the player's own track is gone"
    cmp -s "$shipped/kf_3.gfx" "$play/kf_3.gfx" || fail "a missing shipped file was not restored"
    [ -z "$(find "$play" -name '*.part*')" ] || fail "a partial copy was left behind"

    # An absolute XDG_DATA_HOME is where the play folder goes.
    XDG_DATA_HOME=$scratch/xdg HOME=$home "$launcher"
    [ "$(cat "$scratch/started-in")" = "$scratch/xdg/kurvenflitzerl" ] || fail "XDG_DATA_HOME"
    [ "$(cd "$shipped" && sha1sum -- *)" = "$before" ] || fail "a shipped file was written"

    # Files named where the player stands reach the game, which runs in the play folder, by
    # their full paths; an option and the name of no file reach it as they are.
    races=$scratch/races
    mkdir "$races"
    touch "$races/Fri day.kfrace"
    (cd "$races" && HOME=$home XDG_DATA_HOME= "$launcher" "Fri day.kfrace" \
        "$races/Fri day.kfrace" --ghosts gone.kfrace)
    diff <(printf '%s\n' "$races/Fri day.kfrace" "$races/Fri day.kfrace" --ghosts gone.kfrace) \
        "$scratch/arguments" || fail "the launcher passed on other arguments"
    ;;
mime)
    root=$scratch/root
    install_into "$root" /usr
    share=$root/usr/share
    update-mime-database "$share/mime"
    update-desktop-database "$share/applications"
    grep -qx "application/x-kurvenflitzerl-race=$app.desktop;" \
        "$share/applications/mimeinfo.cache" || fail "the desktop entry does not open race files"
    # A race file is a ZIP archive: its first bytes are those of any other.
    mkdir "$scratch/home" "$scratch/races"
    printf 'PK\003\004\024\000\000\000' >"$scratch/races/x.kfrace"
    diff <(printf '%s\n' "type application/x-kurvenflitzerl-race" "comment Kurvenflitzerl race" \
        "icon $race" "generic-icon package-x-generic" "zip yes") \
        <(env LC_ALL=C XDG_DATA_DIRS="$share" XDG_DATA_HOME="$scratch/home" "$3" \
            "$scratch/races/x.kfrace") || fail "the MIME database does not know a race file"
    ;;
*)
    echo "usage: check_install.sh <build folder> tree|package|launcher|mime [program]" >&2
    exit 2
    ;;
esac
echo "ok: $what"
