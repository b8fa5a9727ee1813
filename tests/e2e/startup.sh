#!/usr/bin/env bash
# The real program under a real X server: its window, the second start, the command line's
# immediate requests, a countdown's title and a whole one-minute countdown.
source "$(dirname "$0")/lib.sh"

# Without any display Tarvo says so instead of crashing.
out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$TARVO" 2>&1) && rc=0 || rc=$?
check "no display: non-zero exit" test "$rc" -ne 0
check "no display: plain message" grep -q "no graphical display" <<<"$out"

e2e_start_display

# The window: borderless, titled Tarvo, 367 x 185.
"$TARVO" >"$E2E_TMP/first.log" 2>&1 &
first=$!
wid=$(tarvo_window '^Tarvo$')
check "window appears" test -n "$wid"
geometry=$(xwininfo -id "$wid")
check "width 367" grep -q 'Width: 367$' <<<"$geometry"
check "height 185" grep -q 'Height: 185$' <<<"$geometry"
check "no frame from the window manager" sh -c "xprop -id $wid _NET_FRAME_EXTENTS | grep -q '= 0, 0, 0, 0'"
check "kept above" sh -c "xprop -id $wid _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE"

# A second start brings the first one forward and ends.
xdotool windowminimize "$wid"
wait_for 10 sh -c "xprop -id $wid WM_STATE | grep -q Iconic"
timeout 20 "$TARVO" S M1 >/dev/null 2>&1 && rc=0 || rc=$?
check "second start exits 0" test "$rc" -eq 0
check "first window restored" wait_for 10 sh -c "xprop -id $wid WM_STATE | grep -q Normal"
check "one window left" test "$(xdotool search --onlyvisible --name '^Tarvo$' | wc -l)" -eq 1
kill "$first"
wait "$first" 2>/dev/null || true

# Three starts in the same instant leave exactly one.
racers=()
for i in 1 2 3; do
    "$TARVO" >/dev/null 2>&1 &
    racers+=($!)
done
E2E_PIDS+=("${racers[@]}")
wait_for 20 sh -c "test \$(xdotool search --onlyvisible --name '^Tarvo\$' | wc -l) -ge 1"
sleep 2 # give a wrongly second window the time to appear
check "simultaneous starts: one window" test "$(xdotool search --onlyvisible --name '^Tarvo$' | wc -l)" -eq 1
kill "${racers[@]}" 2>/dev/null || true
wait "${racers[@]}" 2>/dev/null || true

# Immediate execution from the command line, printed by the dry run.
while read -r code options; do
    out=$(timeout 20 "$TARVO" $options 2>/dev/null) && rc=0 || rc=$?
    check "'$options' requests $code and ends" \
        test "$rc" -eq 0 -a "$out" = "tarvo: power request $code ($(case $code in
            0) echo LogOff ;; 1) echo Shutdown ;; 2) echo Restart ;; 5) echo Hibernate ;;
            6) echo Standby ;; 8) echo PowerOff ;; esac))"
done <<'TABLE'
6 S M0 Y
8 A M0 Y
1 M0 Y
2 N H0 Y
0 L M0 Y
5 R M0 Y
TABLE

# A countdown shows its time in the title. Without a tray the window goes to the taskbar.
"$TARVO" M30 A >/dev/null 2>&1 &
countdown=$!
check "M30 A: title" wait_for 20 sh -c "xdotool search --name '^30 Minute\(n\)  Ausschalten$'"
cwid=$(xdotool search --name '^30 Minute' | head -n 1)
check "M30 A: exact title for the window manager" \
    sh -c "xprop -id '$cwid' _NET_WM_NAME | grep -qx '_NET_WM_NAME(UTF8_STRING) = \"30 Minute(n)  Ausschalten\"'"
kill "$countdown"
wait "$countdown" 2>/dev/null || true

# A whole minute: the request comes once, 60 s after the start.
start=$(date +%s.%N)
out=$(timeout 90 "$TARVO" M1 A Y 2>/dev/null) && rc=0 || rc=$?
end=$(date +%s.%N)
elapsed=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.2f", b - a }')
echo "     one-minute countdown took ${elapsed} s"
check "M1 A Y: one request 8" test "$out" = "tarvo: power request 8 (PowerOff)"
check "M1 A Y: ends with 0" test "$rc" -eq 0
check "M1 A Y: after 60 s +- 1" awk -v t="$elapsed" 'BEGIN { exit !(t >= 59.5 && t <= 61.5) }'

e2e_finish
