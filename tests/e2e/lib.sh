# Shared set-up of the end-to-end tests: a private virtual X server with a window manager, private
# buses and runtime directory, and never the real system bus. Source it, then call e2e_start_display.
set -Eeuo pipefail
# A step that fails outside a check ends the script: say which, so a red run is never silent.
trap 'echo "FAIL - ${BASH_SOURCE[0]##*/}:$LINENO: $BASH_COMMAND (exit $?)" >&2' ERR

TARVO=${1:?path of the tarvo binary}
E2E_TMP=$(mktemp -d /tmp/tarvo-e2e.XXXXXX)
E2E_PIDS=()
E2E_FAILURES=0
export DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent/tarvo-e2e TARVO_POWER=dry-run XDG_RUNTIME_DIR=$E2E_TMP/runtime
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM

e2e_cleanup() { kill "${E2E_PIDS[@]}" 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$E2E_TMP"; }
trap e2e_cleanup EXIT

# e2e_need TOOL...: the test is skipped where one is not installed.
e2e_need() { local t; for t; do command -v "$t" >/dev/null || { echo "SKIP: $t is not installed"; exit 77; }; done; }
# wait_for SECONDS COMMAND...: polls until the command succeeds.
wait_for() {
    local deadline=$((SECONDS + $1))
    until "${@:2}" >/dev/null 2>&1; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.1
    done
}
not() { ! "$@"; }
# e2e_fail WHAT [LOG]: a set-up step failed; says so, with its log, and ends the script.
e2e_fail() { echo "FAIL - $1"; [ -z "${2:-}" ] || cat "$2"; exit 1; }

# e2e_bus VAR [CONFIG]: one more private bus, a session bus unless a configuration is given; its
# address in VAR. A second Tarvo on a bus of its own does not find the first by its bus name.
e2e_bus() {
    local reply how=--session
    [ -z "${2:-}" ] || how=--config-file=$2
    reply=$(dbus-daemon "$how" --fork --print-address=1 --print-pid=1 --nopidfile) || e2e_fail "no bus"
    printf -v "$1" '%s' "$(sed -n 1p <<<"$reply")"
    E2E_PIDS+=("$(sed -n 2p <<<"$reply")")
}

e2e_start_display() {
    e2e_need Xvfb openbox xdotool
    # A busy machine may be slow to start a server; a second try catches a lost race for a display number.
    local attempt xvfb number=
    for attempt in 1 2; do
        mkfifo "$E2E_TMP/displayfd$attempt"
        Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$E2E_TMP/displayfd$attempt" 2>>"$E2E_TMP/xvfb.log" &
        xvfb=$!
        read -r -t 30 number <"$E2E_TMP/displayfd$attempt" || number=
        # Our own server must answer: another one that won the same number would answer for it, and go.
        if [ -n "$number" ] && DISPLAY=:$number wait_for 30 xdpyinfo && sleep 0.5 && kill -0 "$xvfb" 2>/dev/null; then
            break
        fi
        kill "$xvfb" 2>/dev/null || true
        number=
    done
    [ -n "$number" ] || e2e_fail "Xvfb did not start" "$E2E_TMP/xvfb.log"
    E2E_XVFB=$xvfb # a script may take the display away
    E2E_PIDS+=("$xvfb")
    export DISPLAY=:$number
    # A private session bus, so that nothing starts a stray one or talks to the user's.
    e2e_bus DBUS_SESSION_BUS_ADDRESS && export DBUS_SESSION_BUS_ADDRESS
    # openbox owns the window manager selection once it is ready; one that gave up early is started again.
    local wm
    for attempt in 1 2 3; do
        openbox >>"$E2E_TMP/openbox.log" 2>&1 &
        wm=$!
        E2E_PIDS+=("$wm")
        wait_for 60 sh -c "xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' || ! kill -0 $wm" &&
            kill -0 "$wm" 2>/dev/null && return 0
    done
    e2e_fail "openbox did not start" "$E2E_TMP/openbox.log"
}

# ---- Tarvo in the background: its output goes to TARVO_LOG ($E2E_TMP/tarvo.log), its process id
# to TARVO_PID. Variables set before start_tarvo are Tarvo's environment.
start_tarvo() {
    "$TARVO" "$@" >>"${TARVO_LOG:-$E2E_TMP/tarvo.log}" 2>&1 &
    TARVO_PID=$!
    E2E_PIDS+=("$TARVO_PID")
}
stop_tarvo() { kill "$TARVO_PID" 2>/dev/null || true; wait "$TARVO_PID" 2>/dev/null || true; }
# tarvo_ends [SECONDS]: Tarvo ends within the time (10 s); its exit code is then in TARVO_RC.
tarvo_ends() {
    wait_for "${1:-10}" not kill -0 "$TARVO_PID" || return 1
    wait "$TARVO_PID" && TARVO_RC=0 || TARVO_RC=$?
}
# The number of power requests the dry run printed so far.
dry_requests() { grep -c 'power request' "${1:-$E2E_TMP/tarvo.log}" || true; }
# Seconds since a moment taken with now, and whether they lie between two bounds.
now() { date +%s.%N; }
since() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.2f", b - a }'; }
between() { awk -v t="$1" -v low="$2" -v high="$3" 'BEGIN { exit !(t >= low && t <= high) }'; }

# ---- windows
# tarvo_window NAME-REGEX: the id of the visible window with that title, waiting up to 20 s;
# main_window: the same, shown or not.
tarvo_window() { timeout 20 xdotool search --sync --onlyvisible --name "$1" | head -n 1; }
main_window() { timeout 20 xdotool search --sync --name "$1" | head -n 1; }
viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
hidden() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsUnMapped'; }
# wm_state WINDOW Iconic|Normal
wm_state() { xprop -id "$1" WM_STATE 2>/dev/null | grep -q "window state: $2"; }
above() { xprop -id "$1" _NET_WM_STATE 2>/dev/null | grep -q _NET_WM_STATE_ABOVE; }
# title_has WINDOW TEXT: the title holds the text (Qt adds " — Tarvo" for the window manager).
title_has() { xprop -id "$1" WM_NAME 2>/dev/null | grep -qF "= \"$2"; }
# shown_is COUNT TITLE-REGEX: how many windows with a matching title are on screen.
shown_is() { test "$(xdotool search --onlyvisible --name "$2" 2>/dev/null | wc -l)" -eq "$1"; }
# click_at WINDOW X Y [CLICK-ARGS]: moves the pointer away first (xdotool waits long for a move to
# where the pointer already is), then clicks (button 1 unless told).
click_at() { xdotool mousemove 5 700 mousemove --window "$1" --sync "$2" "$3" click "${@:4}"; }
# focus_key WINDOW KEY...: the keys to that window, focused first.
focus_key() {
    xdotool windowactivate --sync "$1" 2>/dev/null || xdotool windowfocus --sync "$1"
    xdotool key --clearmodifiers "${@:2}"
}

# ---- e2e_logind NAME: python3-dbusmock's logind on a system bus of its own at unix:path=$E2E_TMP/NAME,
# its calls logged to $E2E_TMP/NAME.log. After e2e_logind_stop NAME it starts again at that address.
e2e_logind() {
    /usr/bin/python3 -c 'import dbusmock' 2>/dev/null || e2e_need python3-dbusmock
    local name=$1 bus
    printf '<busconfig><include>/usr/share/dbus-1/session.conf</include><listen>unix:path=%s</listen></busconfig>' \
        "$E2E_TMP/$name" >"$E2E_TMP/$name.conf"
    e2e_bus bus "$E2E_TMP/$name.conf"
    DBUS_SYSTEM_BUS_ADDRESS=unix:path=$E2E_TMP/$name /usr/bin/python3 -m dbusmock --template logind \
        -l "$E2E_TMP/$name.log" >>"$E2E_TMP/dbusmock.log" 2>&1 &
    E2E_PIDS+=($!)
    echo "$! ${E2E_PIDS[-2]}" >"$E2E_TMP/$name.pids"
    wait_for 20 logind "$name" org.freedesktop.DBus.Mock.GetCalls || e2e_fail "logind $name did not start" \
        "$E2E_TMP/dbusmock.log"
}
e2e_logind_stop() { local pids; pids=$(cat "$E2E_TMP/$1.pids"); kill $pids; wait $pids 2>/dev/null || true; }
# logind NAME METHOD ARGS...: a call to that mocked logind's manager object.
logind() {
    DBUS_SYSTEM_BUS_ADDRESS=unix:path=$E2E_TMP/$1 gdbus call --system -d org.freedesktop.login1 \
        -o /org/freedesktop/login1 -m "${@:2}"
}
# logind_calls NAME LINE-REGEX: how many calls that logind logged (refused ones too), e.g. 'PowerOff True'.
logind_calls() { grep -E " $2\$" "$E2E_TMP/$1.log" 2>/dev/null | grep -vc ' raised: ' || true; }

# check WHAT COMMAND...: one check, told as ok or FAIL; within SECONDS WHAT COMMAND... polls it.
check() {
    if "${@:2}"; then echo "ok   - $1"; else echo "FAIL - $1"; E2E_FAILURES=$((E2E_FAILURES + 1)); fi
}
within() { check "$2" wait_for "$1" "${@:3}"; }

e2e_finish() {
    [ "$E2E_FAILURES" -ne 0 ] || { echo "all checks passed"; return; }
    [ ! -s "$E2E_TMP/tarvo.log" ] || { echo "--- Tarvo's output"; cat "$E2E_TMP/tarvo.log"; }
    echo "$E2E_FAILURES check(s) failed"
    exit 1
}
