#!/usr/bin/env bash
# A countdown whose process is stopped (as by sleep or a debugger) keeps its end time: two dry runs
# side by side, each with its own session bus so that both may run on one display.
#  - M2 A, stopped 20 s early on: the request still comes 120 s after the start.
#  - M1 A, stopped 70 s, past its end time: it asks instead of acting, and Esc cancels.
source "$(dirname "$0")/lib.sh"
e2e_start_display

started=$(now)
for name in late missed; do
    e2e_bus session
    [ $name = late ] && minutes=M2 || minutes=M1
    DBUS_SESSION_BUS_ADDRESS=$session TARVO_LOG=$E2E_TMP/$name.log start_tarvo $minutes A
    printf -v "$name" '%s' "$TARVO_PID"
done
within 20 "both countdowns shown" sh -c "xdotool search --name '^2 Minute' && xdotool search --name '^1 Minute'"

# Stopped 5 s after the start: 20 s for one, 70 s (past its end) for the other. These sleeps are
# the stall itself.
wait_for 10 eval 'between $(since $started) 5 99'
kill -STOP "$late" "$missed"
sleep 20
kill -CONT "$late"
sleep 50
kill -CONT "$missed"

# The stopped one past its end: the question, and no request; Esc cancels to the entry panel.
within 15 "past the end: asks" shown_is 1 '^End-Zeit verstrichen$'
focus_key "$(xdotool search --onlyvisible --name '^End-Zeit verstrichen$' | head -n 1)" Escape
within 10 "past the end: Esc cancels to the entry panel" xdotool search --name '^Tarvo$'
check "past the end: still running, nothing requested" \
    test "$(kill -0 "$missed" && dry_requests "$E2E_TMP/missed.log")" -eq 0

# The one stopped 20 s: one request at its end time, 120 s after the start.
within 60 "stopped 20 s: requests" grep -q 'power request' "$E2E_TMP/late.log"
took=$(since "$started")
check "stopped 20 s: at 120 s +- 2 ($took s)" between "$took" 118 122
check "stopped 20 s: exactly one PowerOff" test "$(grep -c 'power request 8 ' "$E2E_TMP/late.log")" -eq 1
TARVO_PID=$late
check "stopped 20 s: ends, exit 0" eval 'tarvo_ends && test $TARVO_RC -eq 0'
e2e_finish
