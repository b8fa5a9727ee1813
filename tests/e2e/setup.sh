#!/usr/bin/env bash
# SETUP for real: the two questions come up while the info dialog stays hidden; Yes and Yes leave
# launchers where the user's desktop and the menu are; then the info dialog's help export reaches
# the desktop's editor. Every other answer, what cannot be written and how a launcher starts its
# program are the unit tests'.
source "$(dirname "$0")/lib.sh"
e2e_start_display

# A private home: the desktop named by the user directories, the menu for all users in a writable
# system data directory, an empty working directory, and a stand-in for xdg-open that notes what it
# was given.
root=$E2E_TMP/home
mkdir -p "$root/home/.config" "$root/share" "$root/cwd" "$E2E_TMP/bin"
echo 'XDG_DESKTOP_DIR="$HOME/Schreibtisch"' >"$root/home/.config/user-dirs.dirs"
export HOME=$root/home XDG_CONFIG_HOME=$root/home/.config XDG_DATA_HOME=$root/home/.local/share
export XDG_DATA_DIRS=$root/share PATH=$E2E_TMP/bin:$PATH
printf '#!/bin/sh\necho "$1" >>"%s"\n' "$E2E_TMP/opened" >"$E2E_TMP/bin/xdg-open"
chmod +x "$E2E_TMP/bin/xdg-open"

# answer TITLE: waits for the message box, checks that the info dialog is not on screen, says Yes.
answer() {
    local box
    box=$(tarvo_window "^$1") || true
    check "'$1' asked, the info dialog not shown" eval "test -n '$box' && shown_is 0 '^Info Dialog - Tarvo$'"
    [ -n "$box" ] && focus_key "$box" Return
    within 20 "'$1' answered" shown_is 0 "^$1"
}

cd "$root/cwd"
start_tarvo SETUP
answer "Auf dem Desktop erstellen"
answer "Startmenü Eintrag erzeugen"
# Then the info dialog that a command line without a recognised option opens: a double-click on its
# text exports the help, Escape closes it.
dialog=$(tarvo_window '^Info Dialog - Tarvo$') || true
check "info dialog opens after the questions" test -n "$dialog"
click_at "$dialog" 150 150 --repeat 2 --delay 80 1
opened() { test "$(cat "$E2E_TMP/opened" 2>/dev/null)" = "$1"; }
within 10 "export: the editor opens TarvoInfo.txt" opened "file://$root/cwd/TarvoInfo.txt"
focus_key "$dialog" Escape
within 20 "Escape closes the info dialog" shown_is 0 '^Info Dialog - Tarvo$'
stop_tarvo
desktop=$root/home/Schreibtisch menu="$root/share/applications/Tarvo Classic  ....desktop"
check "three launchers" test "$(find "$root" -name '*.desktop' | sort)" = "$(printf '%s\n' \
    "$desktop/Tarvo Classic.desktop" "$desktop/Tarvo.desktop" "$menu" | sort)"
# (the program's path is quoted in the launcher only where it holds a blank or a special sign)
check "the menu's launcher starts this Tarvo with C" grep -qE "^Exec=\"?$(readlink -f "$TARVO")\"? C$" "$menu"

e2e_finish
