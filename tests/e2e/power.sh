#!/usr/bin/env bash
# The real power back end against python3-dbusmock's logind on a private system bus: a whole
# one-minute countdown with warnings, a request that logind refuses, one without a system bus, and
# a display that goes away during a countdown.
source "$(dirname "$0")/lib.sh"
e2e_start_display
e2e_start_logind

# M1 A W: the window goes to the taskbar, W brings it back in the last minute on every tick and it
# stays pinned; at zero logind gets exactly one PowerOff (A ticks the force box), 60 s after the start.
started=$(date +%s.%N)
start_tarvo M1 A W
wid=$(main_window '^1 Minute')
check "M1 A W: shown and pinned" wait_for 5 sh -c "xwininfo -id $wid | grep -q IsViewable && xprop -id $wid _NET_WM_STATE | grep -q ABOVE"
xprop -spy -id "$wid" WM_STATE >"$E2E_TMP/states" 2>/dev/null &
E2E_PIDS+=($!)
sleep 3
xdotool windowminimize "$wid"
check "M1 A W: minimised, back at the next tick" \
    wait_for 3 awk '/Iconic/ { i = 1 } /Normal/ && i { back = 1 } END { exit !back }' "$E2E_TMP/states"
check "M1 A W: still pinned" above "$wid"
check "M1 A W: title counts seconds" wait_for 2 sh -c "xprop -id $wid WM_NAME | grep -q ' Sekunden Ausschalten'"
check "M1 A W: no request before the end" test "$(logind_calls PowerOff)" -eq 0
check "M1 A W: ends" tarvo_ends 70
elapsed=$(awk -v a="$started" -v b="$(date +%s.%N)" 'BEGIN { printf "%.2f", b - a }')
echo "     one-minute countdown took ${elapsed} s"
check "M1 A W: after 60 s +- 1" awk -v t="$elapsed" 'BEGIN { exit !(t >= 59.5 && t <= 61.5) }'
check "M1 A W: exactly one PowerOff, interactive" test "$(grep -c ' PowerOff True$' "$E2E_TMP/logind.log")" -eq 1 \
    -a "$(logind_calls PowerOff)" -eq 1
check "M1 A W: exit 0" test "$TARVO_RC" -eq 0

# A request that fails, because logind refuses or because there is no system bus: the reason on
# standard error and in a message box, and Tarvo ends with 1 once the box is closed.
logind org.freedesktop.DBus.Mock.AddMethod org.freedesktop.login1.Manager PowerOff b '' \
    "raise dbus.exceptions.DBusException('Nicht erlaubt', name='org.freedesktop.DBus.Error.AccessDenied')" >/dev/null
for bus in "$LOGIND_BUS" "unix:path=$E2E_TMP/no-bus"; do
    what=refused reason=AccessDenied
    [ "$bus" = "$LOGIND_BUS" ] || what="no system bus" reason=Disconnected
    : >"$E2E_TMP/tarvo.log"
    export DBUS_SYSTEM_BUS_ADDRESS=$bus
    start_tarvo A M0 Y
    export DBUS_SYSTEM_BUS_ADDRESS=$LOGIND_BUS
    check "$what: reason on stderr" wait_for 20 grep -q "power request 8 (PowerOff) failed: .*$reason" "$E2E_TMP/tarvo.log"
    check "$what: message box beside the window" wait_for 10 shown_is 2 '^Tarvo$'
    focus_key "$(xdotool search --onlyvisible --name '^Tarvo$' | tail -n 1)" Return
    check "$what: ends after the box" tarvo_ends
    check "$what: exit 1" test "$TARVO_RC" -eq 1
done
check "refused: logind asked once more" test "$(logind_calls PowerOff)" -eq 2

# The display goes away during a countdown: Tarvo ends with an error and requests nothing.
start_tarvo M5 A
main_window '^5 Minute' >/dev/null
kill "$E2E_XVFB"
check "display gone: Tarvo ends" tarvo_ends 20
check "display gone: non-zero exit" test "$TARVO_RC" -ne 0
check "display gone: nothing requested" test "$(logind_calls PowerOff)" -eq 2

e2e_finish
