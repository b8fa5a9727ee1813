#!/usr/bin/env bash
# While logind takes its time the program stays alive: a second start and SIGTERM are answered at
# once. A system bus restarted during a countdown still receives the request at its end.
source "$(dirname "$0")/lib.sh"
e2e_start_display
e2e_start_logind

# A second system bus at a fixed address, with its own logind, that can be restarted in place.
RESTART_BUS=$E2E_TMP/system_bus_socket
printf '<busconfig><include>/usr/share/dbus-1/session.conf</include><listen>unix:path=%s</listen></busconfig>' \
    "$RESTART_BUS" >"$E2E_TMP/restart-bus.conf"
start_restart_bus() {
    local pid
    pid=$(dbus-daemon --config-file="$E2E_TMP/restart-bus.conf" --fork --print-pid=1 --nopidfile) || return 1
    E2E_PIDS+=("$pid")
    RESTART_BUS_PID=$pid
    DBUS_SYSTEM_BUS_ADDRESS=unix:path=$RESTART_BUS /usr/bin/python3 -m dbusmock --template logind \
        -l "$E2E_TMP/logind-restarted.log" >>"$E2E_TMP/dbusmock.log" 2>&1 &
    RESTART_MOCK_PID=$!
    E2E_PIDS+=("$RESTART_MOCK_PID")
    DBUS_SYSTEM_BUS_ADDRESS=unix:path=$RESTART_BUS wait_for 20 gdbus call --system -d org.freedesktop.login1 \
        -o /org/freedesktop/login1 -m org.freedesktop.DBus.Mock.GetCalls
}
elapsed_since() { awk -v a="$1" -v b="$(date +%s.%N)" 'BEGIN { printf "%.2f", b - a }'; }
within() { awk -v t="$1" -v limit="$2" 'BEGIN { exit !(t <= limit) }'; }

# A one-minute countdown against that bus, as a Tarvo of its own (another session bus).
start_restart_bus || e2e_fail "the restartable bus did not start" "$E2E_TMP/dbusmock.log"
e2e_own_session_bus second_session
DBUS_SYSTEM_BUS_ADDRESS=unix:path=$RESTART_BUS DBUS_SESSION_BUS_ADDRESS=$second_session \
    "$TARVO" M1 A >"$E2E_TMP/countdown.log" 2>&1 &
COUNTDOWN_PID=$!
E2E_PIDS+=("$COUNTDOWN_PID")
main_window '^1 Minute' >/dev/null
kill "$RESTART_MOCK_PID" "$RESTART_BUS_PID"
wait "$RESTART_MOCK_PID" 2>/dev/null || true
: >"$E2E_TMP/logind-restarted.log"
start_restart_bus || e2e_fail "the bus did not start again" "$E2E_TMP/dbusmock.log"

# logind answers PowerOff only after 30 s.
logind org.freedesktop.DBus.Mock.AddMethod org.freedesktop.login1.Manager PowerOff b '' 'time.sleep(30)' >/dev/null
start_tarvo A M0 Y
check "slow logind: the request went out" wait_for 20 sh -c "test \$(grep -c ' PowerOff ' '$E2E_TMP/logind.log') -ge 1"
started=$(date +%s.%N)
timeout 10 "$TARVO" >/dev/null 2>&1 && rc=0 || rc=$?
took=$(elapsed_since "$started")
echo "     second start took $took s"
check "slow logind: a second start exits 0" test "$rc" -eq 0
check "slow logind: ... within 2 s" within "$took" 2
started=$(date +%s.%N)
kill -TERM "$TARVO_PID"
check "slow logind: SIGTERM ends Tarvo" tarvo_ends 10
took=$(elapsed_since "$started")
echo "     SIGTERM took $took s"
check "slow logind: ... within 2 s" within "$took" 2
check "slow logind: exit 143" test "$TARVO_RC" -eq 143
check "slow logind: says the request was sent" grep -q "power request was already sent" "$E2E_TMP/tarvo.log"

# The countdown's end reaches the restarted bus's logind, once.
check "restarted bus: Tarvo ends" wait_for 90 not kill -0 "$COUNTDOWN_PID"
wait "$COUNTDOWN_PID" && rc=0 || rc=$?
check "restarted bus: exit 0" test "$rc" -eq 0
check "restarted bus: one PowerOff" test "$(grep -c ' PowerOff True$' "$E2E_TMP/logind-restarted.log")" -eq 1
[ "$E2E_FAILURES" -eq 0 ] || cat "$E2E_TMP/countdown.log" "$E2E_TMP/tarvo.log"

e2e_finish
