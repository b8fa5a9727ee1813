#!/usr/bin/env bash
# A Wayland session (weston, headless, with Xwayland): Tarvo goes through XWayland unless native
# Wayland is asked for; natively and without a tray, a countdown never minimises (it could not
# come back).
source "$(dirname "$0")/lib.sh"
e2e_need weston Xwayland xdotool
plugins=$(dirname "$(find /usr/lib -path '*qt6/plugins/platforms/libqwayland-generic.so' -print -quit)")
[ -n "$plugins" ] && [ "$plugins" != . ] || { echo "SKIP: qt6-wayland is not installed"; exit 77; }

weston --backend=headless-backend.so --use-pixman --socket=wayland-tarvo --width=1280 --height=800 \
    --xwayland --log="$E2E_TMP/weston.log" >/dev/null 2>&1 &
E2E_PIDS+=($!)
wait_for 30 grep -q 'xserver listening on display' "$E2E_TMP/weston.log" || e2e_fail "weston did not start" \
    "$E2E_TMP/weston.log"
e2e_bus DBUS_SESSION_BUS_ADDRESS
export DBUS_SESSION_BUS_ADDRESS WAYLAND_DISPLAY=wayland-tarvo XDG_SESSION_TYPE=wayland
export DISPLAY=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$E2E_TMP/weston.log" | head -n 1)

# By default: an X11 window on Xwayland, and not a word to the compositor.
WAYLAND_DEBUG=1 start_tarvo
check "default: the window is on Xwayland" test -n "$(tarvo_window '^Tarvo$')"
check "default: no Wayland surface" not grep -q 'xdg_toplevel' "$E2E_TMP/tarvo.log"
stop_tarvo

# Natively, with T and no tray: the countdown starts, and the window is never minimised.
: >"$E2E_TMP/tarvo.log"
QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=1 start_tarvo A M5 T
within 20 "native: the countdown starts" grep -q 'set_title("5 Minute(n)  Ausschalten")' "$E2E_TMP/tarvo.log"
# A round trip through Tarvo's event loop, so that a minimise made at the start has gone out.
check "native: --status answers" sh -c "'$TARVO' --status | grep -q '^Ausschalten in'"
check "native: never minimised, still shown" not grep -qE 'set_minimized|xdg_toplevel@[0-9]*\.destroy' "$E2E_TMP/tarvo.log"
stop_tarvo

e2e_finish
