#!/usr/bin/env bash
# The main window of the real program under a real X server at 96 dpi: its two sizes, dragging,
# minimising by a double-click, Esc in the entry panel; then a countdown's life that ends without an
# action: the close question after Y, Esc to cancel and to quit.
source "$(dirname "$0")/lib.sh"
e2e_start_display
export LANG=C.UTF-8

start_tarvo
wid=$(tarvo_window '^Tarvo$')
check "window appears" test -n "$wid"
size() { xwininfo -id "$wid" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }'; }
size_is() { test "$(size)" = "$1"; }
check "compact 367x185" size_is 367x185

# The shut-down picture button (4680, 960 twips in the action panel, which starts at -45, -60).
click_at "$wid" 325 80
check "full 367x361 after an action button" wait_for 10 size_is 367x361

# Pressing on the title band and moving drags the window.
pos() { xwininfo -id "$wid" | awk '/Absolute upper-left X:/ { x = $4 } /Absolute upper-left Y:/ { y = $4 } END { print x "," y }'; }
before=$(pos)
xdotool mousemove --window "$wid" --sync 20 20 mousedown 1
for step in 10 20 40 60 80; do
    xdotool mousemove --window "$wid" --sync $((20 + step)) $((20 + step / 2))
done
xdotool mouseup 1
moved() { test "$(pos)" != "$before"; }
check "dragged by the title band" wait_for 10 moved
echo "     window moved from $before to $(pos)"

# A double-click on the title band minimises (no tray here: to the taskbar).
click_at "$wid" 20 20 --repeat 2 --delay 80 1
check "double-click minimises" wait_for 10 iconic "$wid"
xdotool windowactivate --sync "$wid" 2>/dev/null || xdotool windowmap --sync "$wid"
check "restored" wait_for 10 normal "$wid"
focus_key "$wid" Escape
check "Esc quits from the entry panel" tarvo_ends
check "exit code 0, nothing requested" test "$TARVO_RC" -eq 0 -a "$(dry_requests)" -eq 0

counting() { title_of "$1" | grep -qE '^[0-9]+ Minute\(n\)  Ausschalten$'; }

start_tarvo M9 A Y
wid=$(main_window '^9 Minute')
xdotool windowactivate --sync "$wid" 2>/dev/null || true

# After Y a close request asks; No goes on with the countdown's title.
focus_key "$wid" alt+F4
check "close after Y: the question" wait_for 10 shown_is 1 '^Tarvo STOP$'
check "close after Y: title paused" title_is "$wid" "Tarvo   - P A U S E -"
focus_key "$(main_window '^Tarvo STOP$')" n
check "No: the countdown goes on" wait_for 10 counting "$wid"
check "No: question gone" wait_for 10 shown_is 0 '^Tarvo STOP$'

# Esc cancels the countdown, and in the entry panel quits.
focus_key "$wid" Escape
check "Esc: countdown cancelled" wait_for 10 title_is "$wid" Tarvo
check "Esc: Tarvo still runs" kill -0 "$TARVO_PID"
focus_key "$wid" Escape
check "Esc again: quits" tarvo_ends
check "after cancel and quit: exit 0, nothing requested" test "$TARVO_RC" -eq 0 -a "$(dry_requests)" -eq 0

e2e_finish
