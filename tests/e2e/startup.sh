#!/usr/bin/env bash
# Start-up of the real program: without a display (--help, --version and a plain message), then
# under a real X server with a window manager: its window, second and simultaneous starts, the
# running one steered from a terminal, immediate requests and hostile command lines.
source "$(dirname "$0")/lib.sh"

# run ARGS...: Tarvo in the foreground; standard output in $E2E_TMP/out, error in .err, exit code in rc.
run() { timeout 20 "$TARVO" "$@" >"$E2E_TMP/out" 2>"$E2E_TMP/out.err" && rc=0 || rc=$?; }

unset DISPLAY
run --help
check "--help without a display: exit 0, usage on stdout only" \
    sh -c "test $rc -eq 0 && grep -q '^Aufruf: tarvo' '$E2E_TMP/out' && test ! -s '$E2E_TMP/out.err'"
run --version
check "--version: exit 0, Tarvo Vers. 1.31" test "$rc" -eq 0 -a "$(cat "$E2E_TMP/out")" = "Tarvo Vers. 1.31"
check "--version to a full disk fails" sh -c "! '$TARVO' --version >/dev/full 2>/dev/null"
run
check "no display otherwise: exit 2, plain message" sh -c "test $rc -eq 2 && grep -q 'no graphical display' '$E2E_TMP/out.err'"
# With a screen the letters would request at once; "--help" wins over them and over its own L and H.
QT_QPA_PLATFORM=offscreen run L M0 Y --help
check "L M0 Y --help: exit 0, no request" sh -c "test $rc -eq 0 && ! grep -q '^tarvo: power request [0-9]' '$E2E_TMP/out'"

e2e_start_display

# The window: borderless, titled Tarvo. A second start brings it forward and ends at once, with a
# Wayland session's variables too.
start_tarvo
wid=$(tarvo_window '^Tarvo$')
check "window appears, without a frame" sh -c "xprop -id '$wid' _NET_FRAME_EXTENTS | grep -q '= 0, 0, 0, 0'"
xdotool windowminimize "$wid"
wait_for 10 wm_state "$wid" Iconic
started=$SECONDS
WAYLAND_DISPLAY=wayland-tarvo-e2e XDG_SESSION_TYPE=wayland run S M1
check "second start: exits 0 within 5 s" test "$rc" -eq 0 -a $((SECONDS - started)) -le 5
within 10 "second start: first window restored, the only one" sh -c "xprop -id $wid WM_STATE | grep -q Normal && \
    test \$(xdotool search --onlyvisible --name '^Tarvo\$' | wc -l) -eq 1"
stop_tarvo

# The running Tarvo steered from a terminal, without a display: --status, --add, --cancel. Which
# answer each case gets is the unit tests'.
# answers CODE REGEX ARGS...: ends with CODE and prints a line matching REGEX
answers() { DISPLAY= run "${@:3}" && [ "$rc" -eq "$1" ] && cat "$E2E_TMP/out" "$E2E_TMP/out.err" | grep -Eq "$2"; }
start_tarvo A M5
main_window '^5 Minute' >/dev/null
check "--status: action, time left, end time" \
    answers 0 '^Ausschalten in 0:0[45]:[0-9]{2}, um [0-9]{2}:[0-9]{2} Uhr$' --status
check "--add 10: fifteen minutes left" answers 0 '^Ausschalten in 0:1[45]:[0-9]{2}, um' --add 10
check "--cancel: ends with 0" answers 0 '^Der Countdown wurde abgebrochen\.$' --cancel
check "after the cancel: --status ends with 3" answers 3 '^Es läuft kein Countdown\.$' --status
check "Tarvo runs on and requested nothing" test "$(kill -0 "$TARVO_PID" && dry_requests)" -eq 0
stop_tarvo

# Ten starts in the same instant: all but one end, and one window is shown.
for i in $(seq 10); do "$TARVO" >/dev/null 2>&1 & E2E_PIDS+=($!); done
one_left() { test "$(for pid in "${E2E_PIDS[@]: -10}"; do kill -0 "$pid" 2>/dev/null && echo; done | wc -l)" -eq 1; }
within 20 "10 simultaneous starts: all but one end" one_left
within 10 "10 simultaneous starts: one window" shown_is 1 '^Tarvo$'
kill "${E2E_PIDS[@]: -10}" 2>/dev/null && wait "${E2E_PIDS[@]: -10}" 2>/dev/null || true

# requested CODE NAME ARGS...: Tarvo makes that request at once (within 5 s), as its only one, and
# ends with 0.
requested() {
    local started=$SECONDS
    run "${@:3}"
    test "$rc" -eq 0 -a "$(cat "$E2E_TMP/out")" = "tarvo: power request $1 ($2)" -a $((SECONDS - started)) -le 5
}
# Hostile command lines. Only the first ten words count, so ten thousand words or a megabyte of
# text change nothing; control characters, invalid UTF-8 and letters that upper-case to option
# letters ("ſ" to S, "ß" to SS) are no options; Qt's own options are Qt's.
mapfile -t many < <(printf 'A\n%.0s' $(seq 9990))
chunk=$(head -c 131071 /dev/zero | tr '\0' x) # the longest single argument Linux passes
check "10,000 words, 7 x 128 KiB among the first ten: only those read" requested 0 LogOff L M0 Y "$chunk" "$chunk" "$chunk" \
    "$chunk" "$chunk" "$chunk" "$chunk" "${many[@]}"
controls=$(printf "$(printf '\\%03o' $(seq 1 8) $(seq 11 31) 127)")
punctuation='!"#$%&'"'"'()*+,-./0123456789:;<=>?@[\]^_`{|}~'
check "control characters, punctuation, invalid UTF-8, ſ and ß" \
    requested 5 Hibernate "$controls" "$punctuation" $'\xff\xfe\xc3(' 'ſß' R Y M0
check "Qt's options -platform -display -reverse -style -qwindowtitle -geometry" requested 0 LogOff \
    -platform xcb -display "$DISPLAY" -reverse -style fusion -qwindowtitle x -geometry 300x200 L M0 Y
without_session_bus() { (unset DBUS_SESSION_BUS_ADDRESS && "$@"); }
check "no session bus" without_session_bus requested 6 Standby S M0 Y

e2e_finish
