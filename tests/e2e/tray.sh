#!/usr/bin/env bash
# The tray icon and the pin under a real X server with a window manager and trayer's XEmbed tray;
# SIGTERM and SIGINT during a countdown in the tray; the taskbar once the tray has gone. What each
# click does is the unit tests'; here the real tray's and window manager's side of it.
source "$(dirname "$0")/lib.sh"
e2e_need trayer xev
e2e_start_display

trayer --edge top --align right --widthtype pixel --width 120 --heighttype pixel --height 32 \
    --SetDockType true >"$E2E_TMP/trayer.log" 2>&1 &
TRAYER_PID=$!
E2E_PIDS+=("$TRAYER_PID")
wait_for 20 sh -c 'xwininfo -root -tree | grep -q "(\"panel\" \"trayer\")"' || e2e_fail "trayer did not start" \
    "$E2E_TMP/trayer.log"
panel=$(xwininfo -root -tree | awk '/\("panel" "trayer"\)/ && !n++ { print $1 }')
tray_icon() { xwininfo -tree -id "$panel" | awk '/\("tarvo" "tarvo"\)/ && !n++ { print $1 }'; }
has_icon() { test -n "$(tray_icon)"; }
in_tray() { hidden "$wid" && has_icon; }

start_tarvo S H1 M30 W T
wid=$(main_window '^1:30 Stunde\(n\)  Standby')
within 10 "S H1 M30 W T: window hidden, icon in the tray" in_tray
click_at "$(tray_icon)" 8 8 1
within 10 "left click: window back, icon removed" eval 'viewable $wid && ! has_icon'
check "left click: normal state, still kept above" eval 'wm_state $wid Normal && above $wid'
# A right click on the window's title band goes to the tray again; a double click on the icon is back.
click_at "$wid" 30 30 3
within 10 "back to the tray, a fresh icon" in_tray
click_at "$(tray_icon)" 8 8 --repeat 2 --delay 80 1
within 10 "double click: window back" viewable "$wid"
stop_tarvo

# SIGTERM and SIGINT during a countdown in the tray: Tarvo ends its own way, with 128 + the
# signal's number, requesting nothing.
for signal in TERM INT; do
    start_tarvo S M5 T
    within 10 "SIG$signal: in the tray" has_icon
    kill -s "$signal" "$TARVO_PID"
    code=$((128 + $(kill -l "$signal")))
    check "SIG$signal: ends with $code" eval 'tarvo_ends && test "$TARVO_RC" -eq $code'
done
check "signals: nothing requested" test "$(dry_requests)" -eq 0

# The pin, in the entry panel that choosing an action uncovers: the window manager keeps the window
# above or not, without the window ever being unmapped or made anew.
start_tarvo
wid=$(tarvo_window '^Tarvo$')
click_at "$wid" 181 76 1 # the standby button
xev -id "$wid" -event structure -event property >"$E2E_TMP/xev.log" 2>&1 &
E2E_PIDS+=($!)
xev_sees() { xprop -id "$wid" -f TARVO_E2E 8s -set TARVO_E2E x && grep -q TARVO_E2E "$E2E_TMP/xev.log"; }
within 10 "xev listens" xev_sees
click_at "$wid" 354 247 1 # the pin, 10 px into it: window x = 5160 twips, y = 1800 + 1755 twips
within 10 "pin released: not kept above" not above "$wid"
sleep 1 # a second click at once would be a double click, which is no second click
click_at "$wid" 354 247 1
within 10 "pin pressed: kept above" above "$wid"
check "pinning: never unmapped nor made anew" not grep -aqE 'UnmapNotify|DestroyNotify|ReparentNotify' "$E2E_TMP/xev.log"
stop_tarvo

# Without a tray the window goes to the taskbar, where the countdown's title stays in sight.
kill "$TRAYER_PID" && wait "$TRAYER_PID" 2>/dev/null || true
start_tarvo S H1 M30 W T
wid=$(main_window '^1:30 Stunde')
within 10 "no tray: in the taskbar, the countdown in the title" eval \
    'wm_state $wid Iconic && title_has $wid "1:30 Stunde(n)  Standby\""'
stop_tarvo

e2e_finish
