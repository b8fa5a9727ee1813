#!/usr/bin/env bash
# SETUP for real: the two questions come up while the info dialog stays hidden, and the answers
# leave launchers that validate and start this Tarvo with the right arguments. The help export of
# the info dialog. Both in working directories that cannot take the file: a directory of that
# name, a read-only and a full file system.
source "$(dirname "$0")/lib.sh"
for tool in desktop-file-validate gio xdotool; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
e2e_start_display
program=$(readlink -f "$TARVO")

# A private home for each run: the desktop named by the user directories, the menu for all users
# in a writable system data directory, and an empty working directory.
new_home() {
    HOME_ROOT=$E2E_TMP/$1
    mkdir -p "$HOME_ROOT/home/.config" "$HOME_ROOT/share" "$HOME_ROOT/cwd"
    echo 'XDG_DESKTOP_DIR="$HOME/Schreibtisch"' >"$HOME_ROOT/home/.config/user-dirs.dirs"
    export HOME=$HOME_ROOT/home XDG_CONFIG_HOME=$HOME_ROOT/home/.config
    export XDG_DATA_HOME=$HOME_ROOT/home/.local/share XDG_DATA_DIRS=$HOME_ROOT/share
}

# start_in DIR FS ARGS...: Tarvo with DIR as its working directory. FS "ro" or "full" first puts a
# read-only or a full file system there, seen by Tarvo alone (a private mount namespace); "-" not.
start_in() {
    local dir=$1 fs=$2
    shift 2
    if [ "$fs" = - ]; then
        (cd "$dir" && exec "$program" "$@") >>"$E2E_TMP/tarvo.log" 2>&1 &
    else
        unshare -rm sh -c 'if [ "$1" = ro ]; then mount -t tmpfs -o ro tmpfs "$0"
            else mount -t tmpfs -o size=16k tmpfs "$0" && { cat /dev/zero >"$0/fill" 2>/dev/null; true; }; fi &&
            cd "$0" && shift && exec "$@"' "$dir" "$fs" "$program" "$@" >>"$E2E_TMP/tarvo.log" 2>&1 &
    fi
    TARVO_PID=$!
    E2E_PIDS+=("$TARVO_PID")
}
# What Tarvo's working directory holds, as Tarvo sees it.
in_cwd() { ls -A "/proc/$TARVO_PID/cwd/" 2>/dev/null | grep -v '^fill$' || true; }
filesystems=(-)
if unshare -rm true 2>/dev/null; then
    filesystems+=(ro full)
else
    echo "     no private mount namespaces here: read-only and full working directories left out"
fi

info_dialog_shown() {
    test -n "$(xdotool search --onlyvisible --name '^Info Dialog - Tarvo$' 2>/dev/null)"
}

# answer TITLE KEY: waits for the message box, checks that the info dialog is not on screen, and
# presses KEY in the box.
answer() {
    local title=$1 key=$2 box
    box=$(tarvo_window "^$title") || true
    check "'$title' asked" test -n "$box"
    [ -n "$box" ] || return 0
    check "'$title': info dialog not shown" sh -c "! xdotool search --onlyvisible --name '^Info Dialog - Tarvo$'"
    xdotool windowactivate --sync "$box" 2>/dev/null || true
    xdotool key --clearmodifiers "$key"
    check "'$title' answered" wait_for 20 sh -c "! xdotool search --onlyvisible --name '^$title'"
}

# run_setup FIRST-KEY SECOND-KEY [FS]: tarvo SETUP with the two answers, then the info dialog that
# a command line without a recognised option opens; Escape closes it. Tarvo is left running.
run_setup() {
    start_in "$HOME_ROOT/cwd" "${3:--}" SETUP
    answer "Auf dem Desktop erstellen" "$1"
    answer "Startmenü Eintrag erzeugen" "$2"
    local dialog
    dialog=$(tarvo_window '^Info Dialog - Tarvo$') || true
    check "info dialog opens after the questions" test -n "$dialog"
    if [ -n "$dialog" ]; then
        focus_key "$dialog" Escape
        check "Escape closes the info dialog" wait_for 20 not info_dialog_shown
    fi
}

# launches FILE ARGS...: the launcher validates, and gio starts Tarvo from it with exactly these
# arguments, in the program's folder.
launches() {
    local file=$1
    shift
    local name=${file#"$HOME_ROOT"/}
    check "$name validates" desktop-file-validate "$file"
    gio launch "$file" >/dev/null 2>&1 || true
    local window pid
    window=$(tarvo_window '^Tarvo$') || true
    pid=$(xdotool getwindowpid "$window" 2>/dev/null || true)
    check "$name starts Tarvo" test -n "$pid"
    [ -n "$pid" ] || return 0
    local argv
    argv=$(tr '\0' '\n' <"/proc/$pid/cmdline")
    check "$name: argv" test "$argv" = "$(printf '%s\n' "$program" "$@")"
    check "$name: working directory" test "$(readlink "/proc/$pid/cwd")" = "$(dirname "$program")"
    kill "$pid"
    wait_for 20 sh -c "! kill -0 $pid" || true
}

desktop_files() {
    find "$HOME_ROOT" -name '*.desktop' | sort
}

# Yes, Yes: two launchers on the desktop and the Classic one in the menu.
new_home yes
run_setup Return Return
stop_tarvo
expected=$(printf '%s\n' "$HOME_ROOT/home/Schreibtisch/Tarvo Classic.desktop" \
    "$HOME_ROOT/home/Schreibtisch/Tarvo.desktop" "$HOME_ROOT/share/applications/Tarvo Classic  ....desktop" | sort)
check "Yes, Yes: three launchers" test "$(desktop_files)" = "$expected"
check "Yes, Yes: desktop launchers executable, the menu's not" test -x "$HOME_ROOT/home/Schreibtisch/Tarvo.desktop" \
    -a -x "$HOME_ROOT/home/Schreibtisch/Tarvo Classic.desktop" -a ! -x "$HOME_ROOT/share/applications/Tarvo Classic  ....desktop"
launches "$HOME_ROOT/home/Schreibtisch/Tarvo.desktop"
launches "$HOME_ROOT/share/applications/Tarvo Classic  ....desktop" C

# Cancel: no second question, nothing written.
new_home cancel
start_in "$HOME_ROOT/cwd" - SETUP
answer "Auf dem Desktop erstellen" Escape
check "Cancel: the info dialog comes next" wait_for 20 info_dialog_shown
check "Cancel: nothing written" test -z "$(desktop_files)"
stop_tarvo

# No, No: exactly one launcher, in the working directory.
new_home no
run_setup n n
stop_tarvo
check "No, No: one launcher in the working directory" \
    test "$(desktop_files)" = "$HOME_ROOT/cwd/Tarvo - Classic Modus.desktop"
launches "$HOME_ROOT/cwd/Tarvo - Classic Modus.desktop" C

# No, No where the launcher cannot be written: Tarvo goes on without it and without a word.
for fs in "${filesystems[@]}"; do
    new_home "unwritable-$fs"
    [ "$fs" = - ] && mkdir "$HOME_ROOT/cwd/Tarvo - Classic Modus.desktop"
    run_setup n n "$fs"
    check "No, No, ${fs/-/a directory of that name}: Tarvo runs on" kill -0 "$TARVO_PID"
    check "No, No, ${fs/-/a directory of that name}: nothing written" \
        test "$(in_cwd)" = "$([ "$fs" = - ] && echo 'Tarvo - Classic Modus.desktop')"
    stop_tarvo
done

# The help export: a double-click on the info text writes TarvoInfo.txt into the working directory
# and hands it to the desktop's opener, here a stand-in for xdg-open that notes what it was given.
mkdir -p "$E2E_TMP/bin"
printf '#!/bin/sh\necho "$1" >>"%s"\n' "$E2E_TMP/opened" >"$E2E_TMP/bin/xdg-open"
chmod +x "$E2E_TMP/bin/xdg-open"
export PATH=$E2E_TMP/bin:$PATH
opened() { cat "$E2E_TMP/opened" 2>/dev/null || true; }
# help_export FS [DIRECTORY]: Tarvo X in a fresh working directory, DIRECTORY made in it first; a
# double-click on the help text.
exports=0
help_export() {
    exports=$((exports + 1))
    new_home "export$exports"
    [ -z "${2:-}" ] || mkdir "$HOME_ROOT/cwd/$2"
    : >"$E2E_TMP/opened"
    start_in "$HOME_ROOT/cwd" "$1" X
    INFO=$(tarvo_window '^Info Dialog - Tarvo$') || true
    click_at "$INFO" 150 150 --repeat 2 --delay 80 1
}
help_export -
file=$HOME_ROOT/cwd/TarvoInfo.txt
check "export: the editor opens TarvoInfo.txt" wait_for 10 test "$(opened)" = "file://$file"
check "export: 43 lines and one more line end, all CR LF" \
    test "$(wc -l <"$file")" -eq 44 -a "$(grep -c $'\r$' "$file")" -eq 44 -a "$(head -n 1 "$file")" = $'===========================================\r'
stop_tarvo
for fs in "${filesystems[@]}"; do
    if [ "$fs" = - ]; then
        help_export - TarvoInfo.txt
    else
        help_export "$fs"
    fi
    what=${fs/-/TarvoInfo.txt a directory}
    # Escape is handled after the double-click, so once the dialog has closed the export is done.
    check "export, $what: dialog still open" viewable "$INFO"
    focus_key "$INFO" Escape
    check "export, $what: Escape closes the dialog" wait_for 10 not viewable "$INFO"
    sleep 0.5 # an editor started after all would have noted itself by now
    check "export, $what: Tarvo runs on" kill -0 "$TARVO_PID"
    check "export, $what: no editor" test -z "$(opened)"
    check "export, $what: nothing written" test "$(in_cwd)" = "$([ "$fs" = - ] && echo TarvoInfo.txt)"
    stop_tarvo
done

e2e_finish
