#!/usr/bin/env bash
# SETUP for real: the two questions come up while the info dialog stays hidden, and the answers
# leave launchers that validate and start this Tarvo with the right arguments.
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

# run_setup FIRST-KEY SECOND-KEY: tarvo SETUP with the two answers, then the info dialog that a
# command line without a recognised option opens; Escape closes it.
run_setup() {
    (cd "$HOME_ROOT/cwd" && exec "$program" SETUP >"$HOME_ROOT/tarvo.log" 2>&1) &
    local pid=$!
    E2E_PIDS+=("$pid")
    answer "Auf dem Desktop erstellen" "$1"
    answer "Startmenü Eintrag erzeugen" "$2"
    local dialog
    dialog=$(tarvo_window '^Info Dialog - Tarvo$') || true
    check "info dialog opens after the questions" test -n "$dialog"
    if [ -n "$dialog" ]; then
        xdotool windowactivate --sync "$dialog" 2>/dev/null || true
        xdotool key --clearmodifiers Escape
        check "Escape closes the info dialog" wait_for 20 sh -c '! xdotool search --onlyvisible --name "^Info Dialog - Tarvo$"'
    fi
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
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
expected=$(printf '%s\n' "$HOME_ROOT/home/Schreibtisch/Tarvo Classic.desktop" \
    "$HOME_ROOT/home/Schreibtisch/Tarvo.desktop" "$HOME_ROOT/share/applications/Tarvo Classic  ....desktop" | sort)
check "Yes, Yes: three launchers" test "$(desktop_files)" = "$expected"
check "Yes, Yes: desktop launchers executable" test -x "$HOME_ROOT/home/Schreibtisch/Tarvo.desktop" \
    -a -x "$HOME_ROOT/home/Schreibtisch/Tarvo Classic.desktop"
launches "$HOME_ROOT/home/Schreibtisch/Tarvo.desktop"
launches "$HOME_ROOT/home/Schreibtisch/Tarvo Classic.desktop" C
launches "$HOME_ROOT/share/applications/Tarvo Classic  ....desktop" C

# No, No: exactly one launcher, in the working directory.
new_home no
run_setup n n
check "No, No: one launcher in the working directory" \
    test "$(desktop_files)" = "$HOME_ROOT/cwd/Tarvo - Classic Modus.desktop"
launches "$HOME_ROOT/cwd/Tarvo - Classic Modus.desktop" C

e2e_finish
