#!/usr/bin/env bash
# The tray icon, the pin and the window's outline under a real X server with a window manager:
# first in trayer's XEmbed tray, then as a StatusNotifierItem, whose tooltip can be read on the bus;
# last SIGTERM and SIGINT during a countdown in the tray.
source "$(dirname "$0")/lib.sh"
command -v trayer >/dev/null || { echo "SKIP: trayer is not installed"; exit 77; }
/usr/bin/python3 -c 'import dbusmock' 2>/dev/null || { echo "SKIP: python3-dbusmock is not installed"; exit 77; }

e2e_start_display

# Each row of the window's shape as the X server holds it: "y left right" for the top and the
# bottom eight rows, then the outline's size.
shape_rows() {
    /usr/bin/python3 - "$1" <<'PY'
import ctypes, sys
class Rect(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short), ("w", ctypes.c_ushort), ("h", ctypes.c_ushort)]
xlib = ctypes.CDLL("libX11.so.6")
xext = ctypes.CDLL("libXext.so.6")
xlib.XOpenDisplay.restype = ctypes.c_void_p
xext.XShapeGetRectangles.restype = ctypes.POINTER(Rect)
xext.XShapeGetRectangles.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int,
                                     ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_int)]
display = xlib.XOpenDisplay(None)
count, ordering = ctypes.c_int(), ctypes.c_int()
rects = xext.XShapeGetRectangles(display, int(sys.argv[1], 0), 0, ctypes.byref(count), ctypes.byref(ordering))
rows = {}
for r in (rects[i] for i in range(count.value)):
    for y in range(r.y, r.y + r.h):
        left, right = rows.get(y, (r.x, r.x + r.w - 1))
        rows[y] = (min(left, r.x), max(right, r.x + r.w - 1))
height = max(rows) + 1
width = max(right for _, right in rows.values()) + 1
for y in list(range(8)) + list(range(height - 8, height)):
    print(y, *rows[y])
print("size", width, height)
PY
}
# shaped WINDOW WIDTH HEIGHT: the outline is WIDTH x HEIGHT with the rows of Windows' 15-pixel corners.
shaped() {
    local width=$2 height=$3 insets=(5 3 2 1 1 0 0 0) y expected
    expected=$(
        for y in 0 1 2 3 4 5 6 7; do echo "$y ${insets[y]} $((width - 1 - insets[y]))"; done
        for y in 7 6 5 4 3 2 1 0; do echo "$((height - 1 - y)) ${insets[y]} $((width - 1 - insets[y]))"; done
        echo "size $width $height"
    )
    test "$(shape_rows "$1")" = "$expected"
}

# ---------------------------------------------------------------- XEmbed tray (trayer)
trayer --edge top --align right --widthtype pixel --width 120 --heighttype pixel --height 32 \
    --SetDockType true >"$E2E_TMP/trayer.log" 2>&1 &
TRAYER_PID=$!
E2E_PIDS+=("$TRAYER_PID")
wait_for 20 sh -c 'xwininfo -root -tree | grep -q "(\"panel\" \"trayer\")"' \
    || e2e_fail "trayer did not start" "$E2E_TMP/trayer.log"
panel=$(xwininfo -root -tree | awk '/\("panel" "trayer"\)/ && !n++ { print $1 }')
tray_icon() { xwininfo -tree -id "$panel" | awk '/\("tarvo" "tarvo"\)/ && !n++ { print $1 }'; }
has_icon() { test -n "$(tray_icon)"; }

start_tarvo S H1 M30 W T
check "S H1 M30 W T: icon in the tray within 10 s" wait_for 10 has_icon
icon=$(tray_icon)
wid=$(main_window '^1:30 Stunde\(n\)  Standby')
check "S H1 M30 W T: window hidden" hidden "$wid"

click_at "$icon" 8 8 3
sleep 1 # time for a wrong reaction to show
check "right click: window stays hidden" hidden "$wid"
check "right click: icon stays" has_icon

click_at "$icon" 8 8 1
check "left click: window back" wait_for 10 viewable "$wid"
check "left click: icon removed" wait_for 10 not has_icon
check "left click: normal state" sh -c "xprop -id $wid WM_STATE | grep -q Normal"
check "left click: same window, still kept above" above "$wid"
check "left click: title shows the countdown" test "$(title_of "$wid")" = "1:30 Stunde(n)  Standby"
check "outline: 367 x 361 with 15-pixel corners" shaped "$wid" 367 361

# A right click on the window's title band goes to the tray again, with a fresh icon.
click_at "$wid" 30 30 3
check "back to the tray" wait_for 10 hidden "$wid"
fresh_icon() { local now; now=$(tray_icon); test -n "$now" -a "$now" != "$icon"; }
check "a fresh icon" wait_for 10 fresh_icon
click_at "$(tray_icon)" 8 8 --repeat 2 --delay 80 1
check "double click: window back" wait_for 10 viewable "$wid"
check "double click: icon removed" wait_for 10 not has_icon

# Without a tray the window goes to the taskbar, where the countdown's title stays in sight.
kill "$TRAYER_PID"
wait "$TRAYER_PID" 2>/dev/null || true
click_at "$wid" 30 30 3
check "no tray: minimised to the taskbar" wait_for 10 sh -c "xprop -id $wid WM_STATE | grep -q Iconic"
check "no tray: countdown in the title" sh -c "xprop -id $wid WM_NAME | grep -qE '\"1:(30|29) Stunde\\(n\\)  Standby\"'"
stop_tarvo

# The pin, in the entry panel that choosing an action uncovers; the outline follows the new height.
start_tarvo
wid=$(timeout 20 xdotool search --sync --onlyvisible --name '^Tarvo$' | head -n 1)
check "start-up: kept above" wait_for 10 above "$wid"
check "compact outline: 367 x 185 with 15-pixel corners" wait_for 10 shaped "$wid" 367 185
click_at "$wid" 181 76 1 # the standby button
check "full outline: 367 x 361 with 15-pixel corners" wait_for 10 shaped "$wid" 367 361
xev -id "$wid" -event structure -event property >"$E2E_TMP/xev.log" 2>&1 &
xev=$!
E2E_PIDS+=("$xev")
sleep 0.5 # xev must listen before the pin is touched
click_at "$wid" 354 247 1 # the pin, 10 px into it: window x = 5160 twips, y = 1800 + 1755 twips
check "pin released: not kept above" wait_for 10 not above "$wid"
sleep 1 # a second click at once would be a double click, which is no second click
click_at "$wid" 354 247 1 # the pin, 10 px into it: window x = 5160 twips, y = 1800 + 1755 twips
check "pin pressed: kept above" wait_for 10 above "$wid"
sleep 0.5
kill "$xev"
check "pinning: window still shown" viewable "$wid"
check "pinning: never unmapped nor re-created" not grep -aqE 'UnmapNotify|DestroyNotify|ReparentNotify' \
    "$E2E_TMP/xev.log"
check "pinning: xev watched the state change" grep -aq 'atom 0x[0-9a-f]* (_NET_WM_STATE)' "$E2E_TMP/xev.log"
stop_tarvo

# ---------------------------------------------------------------- StatusNotifierItem
/usr/bin/python3 -m dbusmock org.kde.StatusNotifierWatcher /StatusNotifierWatcher org.kde.StatusNotifierWatcher \
    >"$E2E_TMP/watcher.log" 2>&1 &
E2E_PIDS+=($!)
watcher="gdbus call --session -d org.kde.StatusNotifierWatcher -o /StatusNotifierWatcher -m"
wait_for 20 $watcher org.freedesktop.DBus.Mock.GetCalls
$watcher org.freedesktop.DBus.Mock.AddProperty org.kde.StatusNotifierWatcher IsStatusNotifierHostRegistered \
    '<true>' >/dev/null
$watcher org.freedesktop.DBus.Mock.AddProperty org.kde.StatusNotifierWatcher ProtocolVersion '<0>' >/dev/null
$watcher org.freedesktop.DBus.Mock.AddMethod org.kde.StatusNotifierWatcher RegisterStatusNotifierItem s '' '' \
    >/dev/null

# The bus name of the item Tarvo registered last.
item() {
    $watcher org.freedesktop.DBus.Mock.GetCalls | grep -o "RegisterStatusNotifierItem', \[<':[0-9.]*'" \
        | tail -n 1 | grep -o ':[0-9.]*'
}
# The tooltip of the item Tarvo registered last is TEXT; remembers the item in ITEM.
tooltip_is() {
    ITEM=$(item)
    test -n "$ITEM" || return 1
    gdbus call --session -d "$ITEM" -o /StatusNotifierItem -m org.freedesktop.DBus.Properties.Get \
        org.kde.StatusNotifierItem ToolTip | grep -qF "'$1'"
}
item_call() { gdbus call --session -d "$ITEM" -o /StatusNotifierItem -m "org.kde.StatusNotifierItem.$1" 0 0; }
on_bus() {
    gdbus call --session -d org.freedesktop.DBus -o /org/freedesktop/DBus -m org.freedesktop.DBus.NameHasOwner \
        "$ITEM" | grep -q true
}
tray_start() {
    $watcher org.freedesktop.DBus.Mock.ClearCalls >/dev/null
    start_tarvo "$@"
}

for run in "90 Minute(n)  Standby|S M90 W T" "1:30 Stunde(n)  Standby|S H1 M30 W T"; do
    title=${run%%|*}
    options=${run#*|}
    tray_start $options
    check "$options: in the tray with \"$title\" within 10 s" wait_for 10 tooltip_is "$title"
    wid=$(main_window "^${title%% *} ")
    check "$options: window hidden" hidden "$wid"
    item_call Activate >/dev/null || true
    check "$options: Activate brings the window back" wait_for 10 viewable "$wid"
    check "$options: item gone" wait_for 10 not on_bus
    stop_tarvo
done

# The tooltip follows the title: 3 minutes become 2 after 30 s (2.5 rounds to the even 2).
tray_start S M3 T
check "S M3 T: \"3 Minute(n)  Standby\"" wait_for 10 tooltip_is "3 Minute(n)  Standby"
wid=$(main_window '^3 Minute')
item_call ContextMenu >/dev/null || true
item_call SecondaryActivate >/dev/null || true
sleep 1 # time for a wrong reaction to show
check "menu and middle click: item stays" on_bus
check "menu and middle click: window stays hidden" hidden "$wid"
check "S M3 T: \"2 Minute(n)  Standby\" after 30 s" wait_for 45 tooltip_is "2 Minute(n)  Standby"
stop_tarvo

# SIGTERM and SIGINT during a countdown: Tarvo ends its own way, with 128 + the signal's number,
# requesting nothing, and its item leaves the tray.
for signal in TERM INT; do
    tray_start S M5 T
    check "SIG$signal: in the tray" wait_for 10 tooltip_is "5 Minute(n)  Standby"
    kill -s "$signal" "$TARVO_PID"
    check "SIG$signal: ends" tarvo_ends
    check "SIG$signal: exit $((128 + $(kill -l "$signal")))" test "$TARVO_RC" -eq $((128 + $(kill -l "$signal")))
    check "SIG$signal: item gone" wait_for 10 not on_bus
done
check "nothing requested" test "$(dry_requests)" -eq 0

[ "$E2E_FAILURES" -eq 0 ] || { echo "--- Tarvo's output"; cat "$E2E_TMP/tarvo.log"; }
e2e_finish
