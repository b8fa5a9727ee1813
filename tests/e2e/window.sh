#!/usr/bin/env bash
# The main window of the real program under a real X server at 96 dpi: its two sizes, minimising by
# a double-click, and Esc, which quits from the entry panel.
source "$(dirname "$0")/lib.sh"
e2e_start_display
export LANG=C.UTF-8

"$TARVO" >"$E2E_TMP/tarvo.log" 2>&1 &
tarvo=$!
E2E_PIDS+=("$tarvo")
wid=$(tarvo_window '^Tarvo$')
check "window appears" test -n "$wid"
size() { xwininfo -id "$wid" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }'; }
check "compact 367x185" test "$(size)" = 367x185

# The shut-down picture button (4680, 960 twips in the action panel, which starts at -45, -60).
xdotool mousemove --window "$wid" --sync 10 10
xdotool mousemove --window "$wid" --sync 325 80 click 1
check "full 367x361 after an action button" wait_for 10 sh -c "test \"\$(xwininfo -id $wid | grep -c 'Height: 361')\" = 1"
check "one click leaves it full" test "$(size)" = 367x361

# Pressing on the title band and moving drags the window.
pos() { xwininfo -id "$wid" | awk '/Absolute upper-left X:/ { x = $4 } /Absolute upper-left Y:/ { y = $4 } END { print x "," y }'; }
before=$(pos)
xdotool mousemove --window "$wid" --sync 20 20 mousedown 1
for step in 10 20 40 60 80; do
    xdotool mousemove --window "$wid" --sync $((20 + step)) $((20 + step / 2))
done
xdotool mouseup 1
check "dragged by the title band" wait_for 10 sh -c "test \"\$(xwininfo -id $wid | awk '/Absolute upper-left X:/ { print \$4 }')\" != '${before%,*}'"
echo "     window moved from $before to $(pos)"

# A double-click on the title band minimises (no tray here: to the taskbar).
xdotool mousemove --window "$wid" --sync 20 20 click --repeat 2 --delay 80 1
check "double-click minimises" wait_for 10 sh -c "xprop -id $wid WM_STATE | grep -q Iconic"

xdotool windowactivate --sync "$wid" 2>/dev/null || xdotool windowmap --sync "$wid"
check "restored" wait_for 10 sh -c "xprop -id $wid WM_STATE | grep -q Normal"
xdotool windowfocus --sync "$wid"
xdotool key Escape # through the keyboard, to the focused window
check "Esc quits from the entry panel" wait_for 10 sh -c "! kill -0 $tarvo 2>/dev/null"
wait "$tarvo" && rc=0 || rc=$?
check "exit code 0" test "$rc" -eq 0
check "nothing requested" sh -c "! grep -q 'power request' '$E2E_TMP/tarvo.log'"

e2e_finish
