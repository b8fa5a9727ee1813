#!/usr/bin/env bash
# The real power back end against python3-dbusmock's logind on private system buses: a one-minute
# countdown whose bus restarts meanwhile, a logind that takes its time, a request without a system
# bus, and a display that goes away during a countdown.
source "$(dirname "$0")/lib.sh"
e2e_start_display
e2e_logind main
export DBUS_SYSTEM_BUS_ADDRESS=unix:path=$E2E_TMP/main
unset TARVO_POWER

# M1 A W: at zero logind gets exactly one PowerOff (A ticks the force box), 60 s after the start,
# though its bus was restarted since Tarvo connected. W brings the window back from the taskbar on
# every tick of the last minute, and keeps it pinned.
started=$(now)
start_tarvo M1 A W
countdown=$TARVO_PID
wid=$(main_window '^1 Minute')
e2e_logind_stop main
e2e_logind main
within 10 "M1 A W: pinned" above "$wid"
xprop -spy -id "$wid" WM_STATE >"$E2E_TMP/states" 2>/dev/null &
E2E_PIDS+=($!)
xdotool windowminimize "$wid"
within 5 "M1 A W: minimised, back at the next tick" \
    awk '/Iconic/ { i = 1 } /Normal/ && i { back = 1 } END { exit !back }' "$E2E_TMP/states"
check "M1 A W: still pinned" above "$wid"

# While logind takes 30 s over a PowerOff, Tarvo stays alive: a second start and SIGTERM are
# answered at once. This Tarvo has a session bus of its own, so that it is not the first one.
e2e_logind slow
logind slow org.freedesktop.DBus.Mock.AddMethod org.freedesktop.login1.Manager PowerOff b '' 'time.sleep(30)' >/dev/null
e2e_bus session
DBUS_SESSION_BUS_ADDRESS=$session DBUS_SYSTEM_BUS_ADDRESS=unix:path=$E2E_TMP/slow start_tarvo A M0 Y
within 20 "slow logind: the request went out" grep -q ' PowerOff ' "$E2E_TMP/slow.log"
moment=$(now)
DBUS_SESSION_BUS_ADDRESS=$session timeout 10 "$TARVO" >/dev/null 2>&1 && rc=0 || rc=$?
took=$(since "$moment")
check "slow logind: a second start exits 0 within 2 s ($took s)" eval 'test $rc -eq 0 && between $took 0 2'
moment=$(now)
kill -TERM "$TARVO_PID"
tarvo_ends 10 || TARVO_RC=none
took=$(since "$moment")
check "slow logind: SIGTERM ends Tarvo within 2 s ($took s), exit 143" eval 'test $TARVO_RC = 143 && between $took 0 2'
check "slow logind: says the request was sent" grep -q "power request was already sent" "$E2E_TMP/tarvo.log"

# No system bus: the reason on standard error and in a message box, and Tarvo ends with 1 once the
# box is closed.
DBUS_SESSION_BUS_ADDRESS=$session DBUS_SYSTEM_BUS_ADDRESS=unix:path=$E2E_TMP/no-bus start_tarvo A M0 Y
within 20 "no system bus: reason on stderr" grep -q "power request 8 (PowerOff) failed: .*Disconnected" \
    "$E2E_TMP/tarvo.log"
within 10 "no system bus: message box beside the window" shown_is 2 '^Tarvo$'
focus_key "$(xdotool search --onlyvisible --name '^Tarvo$' | tail -n 1)" Return
check "no system bus: ends after the box, exit 1" eval 'tarvo_ends && test $TARVO_RC -eq 1'

TARVO_PID=$countdown
check "M1 A W: ends, exit 0" eval 'tarvo_ends 70 && test $TARVO_RC -eq 0'
took=$(since "$started")
check "M1 A W: after 60 s +- 1 ($took s)" between "$took" 59.5 61.5
check "M1 A W: exactly one PowerOff, interactive" test "$(logind_calls main 'PowerOff.*')" -eq 1 \
    -a "$(logind_calls main 'PowerOff True')" -eq 1

# The display goes away during a countdown: Tarvo ends with an error and requests nothing.
start_tarvo M5 A
main_window '^5 Minute' >/dev/null
kill "$E2E_XVFB"
check "display gone: Tarvo ends" tarvo_ends 20
check "display gone: non-zero exit, nothing requested" test "$TARVO_RC" -ne 0 -a "$(logind_calls main 'PowerOff.*')" -eq 1

e2e_finish
