#!/usr/bin/env bash
# The running Tarvo steered from a terminal: --status, --add and --cancel against a countdown, answered
# without a display.
source "$(dirname "$0")/lib.sh"
e2e_start_display

# answers CODE REGEX ARGS...: tarvo ARGS, run without a display, ends with CODE and prints a line
# matching REGEX.
answers() {
    local code=$1 pattern=$2 out rc
    shift 2
    out=$(env -u DISPLAY timeout 20 "$TARVO" "$@" 2>&1) && rc=0 || rc=$?
    [ "$rc" -eq "$code" ] && grep -Eq "$pattern" <<<"$out" || {
        echo "    got $rc: $out"
        return 1
    }
}
title_matches() { title_of "$1" | grep -Eq "$2"; }

check "no Tarvo: --status ends with 3" answers 3 '^Tarvo läuft nicht\.$' --status
check "no Tarvo: --cancel ends with 3" answers 3 '^Tarvo läuft nicht\.$' --cancel

start_tarvo A M5
wid=$(main_window '^5 Minute')
check "A M5: countdown started" test -n "$wid"
check "--status: action, time left, end time" \
    answers 0 '^Ausschalten in 0:0[45]:[0-9]{2}, um [0-9]{2}:[0-9]{2} Uhr$' --status
check "--add 10: fifteen minutes left" answers 0 '^Ausschalten in 0:1[45]:[0-9]{2}, um' --add 10
check "--add 10: the window shows them" wait_for 15 title_matches "$wid" '^1[45] Minute'
for bad in 0 20161 abc -5 ''; do
    check "--add '$bad': a German error and 64" answers 64 '^tarvo: --add braucht eine ganze Zahl von Minuten' \
        --add "$bad"
done
check "--add without a number: 64" answers 64 '^tarvo: --add braucht' --add
check "refused numbers changed nothing" answers 0 '^Ausschalten in 0:1[45]:' --status
check "--cancel: ends with 0" answers 0 '^Der Countdown wurde abgebrochen\.$' --cancel
check "--cancel: the entry panel is back" wait_for 10 title_is "$wid" Tarvo
check "after the cancel: --status ends with 3" answers 3 '^Es läuft kein Countdown\.$' --status
check "after the cancel: --cancel ends with 3" answers 3 '^Es läuft kein Countdown\.$' --cancel
check "after the cancel: --add ends with 3" answers 3 '^Es läuft kein Countdown\.$' --add 5
check "Tarvo runs on and requested nothing" test "$(kill -0 "$TARVO_PID" && dry_requests)" -eq 0
stop_tarvo

e2e_finish
