#!/usr/bin/env bash
# A countdown whose process is stopped (as by sleep or a debugger) keeps its end time: two dry runs
# side by side, each with its own session bus so that both may run on one display.
#  - M2 A, stopped 20 s early on: the request still comes 120 s after the start.
#  - M1 A, stopped 70 s, past its end time: it asks instead of acting, and No cancels.
source "$(dirname "$0")/lib.sh"
e2e_start_display

# run_tarvo NAME ARGS...: Tarvo with its own session bus and log; its pid in the variable NAME.
run_tarvo() {
    local name=$1 session
    shift
    e2e_own_session_bus session
    DBUS_SESSION_BUS_ADDRESS=$session "$TARVO" "$@" >"$E2E_TMP/$name.log" 2>&1 &
    printf -v "$name" '%s' $!
    E2E_PIDS+=($!)
}
requests_in() { grep -c 'power request' "$E2E_TMP/$1.log" || true; }
since() { awk -v a="$1" -v b="$(date +%s.%N)" 'BEGIN { printf "%.2f", b - a }'; }

started=$(date +%s.%N)
run_tarvo late M2 A
run_tarvo missed M1 A
check "both countdowns shown" wait_for 20 sh -c "xdotool search --name '^2 Minute' && xdotool search --name '^1 Minute'"

# Stopped about 5 s after the start: 20 s for one, 70 s (past its end) for the other.
wait_for 10 sh -c "awk -v a=$started -v b=\$(date +%s.%N) 'BEGIN { exit !(b - a >= 5) }'"
kill -STOP "$late" "$missed"
sleep 20
kill -CONT "$late"
sleep 50
kill -CONT "$missed"

# The stopped one past its end: the question, and no request.
check "past the end: asks" wait_for 15 shown_is 1 '^End-Zeit verstrichen$'
check "past the end: nothing requested while asking" test "$(requests_in missed)" -eq 0
box=$(xdotool search --onlyvisible --name '^End-Zeit verstrichen$' 2>/dev/null | head -n 1 || true)
[ -z "$box" ] || focus_key "$box" Escape
check "past the end: Esc cancels to the entry panel" wait_for 10 sh -c "xdotool search --name '^Tarvo$'"
check "past the end: still running, nothing requested" \
    sh -c "kill -0 $missed && test \"\$(grep -c 'power request' '$E2E_TMP/missed.log')\" -eq 0"
kill "$missed" 2>/dev/null || true

# The one stopped 20 s: the request at its end time, 120 s after the start.
check "stopped 20 s: requests" wait_for 60 grep -q 'power request' "$E2E_TMP/late.log"
elapsed=$(since "$started")
echo "     two-minute countdown stopped 20 s requested after ${elapsed} s"
check "stopped 20 s: at 120 s +- 2" awk -v t="$elapsed" 'BEGIN { exit !(t >= 118 && t <= 122) }'
check "stopped 20 s: exactly one PowerOff" test "$(grep -c 'power request 8 ' "$E2E_TMP/late.log")" -eq 1
TARVO_PID=$late
check "stopped 20 s: ends" tarvo_ends 10
check "stopped 20 s: exit 0" test "$TARVO_RC" -eq 0

e2e_finish
