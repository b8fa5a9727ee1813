#!/usr/bin/env bash
# The real program under a real X server: its window, second and simultaneous starts, the command
# line's immediate requests and hostile command lines.
source "$(dirname "$0")/lib.sh"

# Without any display Tarvo says so instead of crashing.
out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$TARVO" 2>&1) && rc=0 || rc=$?
check "no display: non-zero exit" test "$rc" -ne 0
check "no display: plain message" grep -q "no graphical display" <<<"$out"

e2e_start_display

# The window: borderless, titled Tarvo.
start_tarvo
wid=$(tarvo_window '^Tarvo$')
check "window appears" test -n "$wid"
check "no frame from the window manager" sh -c "xprop -id $wid _NET_FRAME_EXTENTS | grep -q '= 0, 0, 0, 0'"

# A second start brings the first one forward and ends at once, whichever display variables its
# launcher set: the screen number and a Wayland socket name the same session.
while IFS='|' read -r what variables; do
    xdotool windowminimize "$wid"
    wait_for 10 iconic "$wid"
    started=$SECONDS
    timeout 20 env $variables "$TARVO" S M1 </dev/null >/dev/null 2>&1 && rc=0 || rc=$?
    check "second start, $what: exits 0 within 5 s" test "$rc" -eq 0 -a $((SECONDS - started)) -le 5
    check "second start, $what: first window restored" wait_for 10 normal "$wid"
    check "second start, $what: one window left" shown_is 1 '^Tarvo$'
done <<TABLE
same display|DISPLAY=$DISPLAY
with the screen number|DISPLAY=$DISPLAY.0
with WAYLAND_DISPLAY too|DISPLAY=$DISPLAY WAYLAND_DISPLAY=wayland-tarvo-e2e XDG_SESSION_TYPE=wayland
TABLE
stop_tarvo

# Another user's lock, socket and runtime directory where Tarvo would fall back to without
# XDG_RUNTIME_DIR (a private TMPDIR stands for /tmp) block nothing.
foreign=$E2E_TMP/tmp
mkdir -m 1777 "$foreign"
sleep 600 &
holder=$!
E2E_PIDS+=("$holder")
for name in "tarvo-_${DISPLAY#:}" "tarvo-_${DISPLAY#:}.0"; do
    printf '%s\nsleep\n%s\n' "$holder" "$(hostname)" >"$foreign/$name.lock"
    mkdir "$foreign/$name.socket"
done
install -d -m 700 "$foreign/runtime-$(id -un)"
chown -R nobody "$foreign"/*
env -u XDG_RUNTIME_DIR TMPDIR="$foreign" "$TARVO" A M5 >>"$E2E_TMP/tarvo.log" 2>&1 &
TARVO_PID=$!
E2E_PIDS+=("$TARVO_PID")
check "foreign lock and runtime directory: the countdown starts" test -n "$(main_window '^5 Minute')"
check "foreign lock and runtime directory: Tarvo runs on" kill -0 "$TARVO_PID"
stop_tarvo

# No session bus answers: Tarvo starts all the same, and says why it cannot look for another one.
: >"$E2E_TMP/tarvo.log"
DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent/tarvo-e2e "$TARVO" A M5 >>"$E2E_TMP/tarvo.log" 2>&1 &
TARVO_PID=$!
E2E_PIDS+=("$TARVO_PID")
check "no session bus: the countdown starts" test -n "$(main_window '^5 Minute')"
check "no session bus: the warning" grep -q "Kein Session-Bus erreichbar.*Tarvo startet trotzdem" "$E2E_TMP/tarvo.log"
stop_tarvo

# Two and ten starts in the same instant: all but one end, and one window is shown.
one_left() {
    local pid count=0
    for pid in "${racers[@]}"; do
        kill -0 "$pid" 2>/dev/null && count=$((count + 1))
    done
    test "$count" -eq 1
}
for n in 2 10; do
    racers=()
    for i in $(seq "$n"); do
        "$TARVO" >/dev/null 2>&1 &
        racers+=($!)
    done
    E2E_PIDS+=("${racers[@]}")
    check "$n simultaneous starts: all but one end" wait_for 20 one_left
    check "$n simultaneous starts: one window" wait_for 10 shown_is 1 '^Tarvo$'
    sleep 1 # give a wrongly second window the time to appear
    check "$n simultaneous starts: still one window" shown_is 1 '^Tarvo$'
    kill "${racers[@]}" 2>/dev/null || true
    wait "${racers[@]}" 2>/dev/null || true
done

# requested CODE NAME ARGS...: Tarvo makes that request at once (within 5 s), as its only one, and
# ends with 0.
requested() {
    local code=$1 name=$2
    shift 2
    local started=$SECONDS out rc
    out=$(timeout 20 "$TARVO" "$@" 2>/dev/null) && rc=0 || rc=$?
    test "$rc" -eq 0 -a "$out" = "tarvo: power request $code ($name)" -a $((SECONDS - started)) -le 5
}

# Immediate execution from the command line, printed by the dry run.
while read -r code name options; do
    check "'$options' requests $code and ends" requested "$code" "$name" $options
done <<'TABLE'
6 Standby S M0 Y
8 PowerOff A M0 Y
1 Shutdown M0 Y
2 Restart N H0 Y
0 LogOff L M0 Y
5 Hibernate R M0 Y
TABLE

# Hostile command lines. Only the first ten words count, so ten thousand words or a megabyte of
# text change nothing; control characters, invalid UTF-8 and letters that upper-case to option
# letters ("ſ" to S, "ß" to SS) are no options.
mapfile -t many < <(printf 'A\n%.0s' $(seq 9990))
check "10,000 words: only the first ten read" requested 0 LogOff L M0 Y 4 5 6 7 8 9 10 "${many[@]}"
chunk=$(head -c 131071 /dev/zero | tr '\0' x) # the longest single argument Linux passes
check "1 MiB in the first ten words" requested 0 LogOff L M0 Y "$chunk" "$chunk" "$chunk" "$chunk" "$chunk" \
    "$chunk" "$chunk" "$chunk" A A A
controls=$(printf "$(printf '\\%03o' $(seq 1 8) $(seq 11 31) 127)")
punctuation='!"#$%&'"'"'()*+,-./0123456789:;<=>?@[\]^_`{|}~'
check "control characters, punctuation, invalid UTF-8, ſ and ß" \
    requested 5 Hibernate "$controls" "$punctuation" $'\xff\xfe\xc3(' 'ſß' R Y M0
# Qt's own options are Qt's: only the letters after them count.
check "Qt's options -platform xcb -display -reverse" requested 0 LogOff -platform xcb -display "$DISPLAY" -reverse L M0 Y
check "Qt's options -style -qwindowtitle -geometry" requested 0 LogOff -style fusion -qwindowtitle x -geometry 300x200 L M0 Y
without_session_bus() { (unset DBUS_SESSION_BUS_ADDRESS && "$@"); }
check "no session bus" without_session_bus requested 6 Standby S M0 Y

e2e_finish
