# Shared set-up of the end-to-end tests: a private virtual X server with a window manager, a private
# runtime directory, and never the real system bus. Source it, then call e2e_start_display.
set -euo pipefail

TARVO=${1:?path of the tarvo binary}
E2E_TMP=$(mktemp -d /tmp/tarvo-e2e.XXXXXX)
E2E_PIDS=()
E2E_FAILURES=0

export DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent/tarvo-e2e
export TARVO_POWER=dry-run
export XDG_RUNTIME_DIR=$E2E_TMP/runtime
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM

e2e_cleanup() {
    local pid
    for pid in "${E2E_PIDS[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    rm -rf "$E2E_TMP"
}
trap e2e_cleanup EXIT

# wait_for SECONDS COMMAND...: polls until the command succeeds.
wait_for() {
    local limit=$1
    shift
    local deadline=$((SECONDS + limit))
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.1
    done
}

e2e_start_display() {
    command -v Xvfb >/dev/null || { echo "SKIP: Xvfb is not installed"; exit 77; }
    local fifo=$E2E_TMP/displayfd
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$fifo" 2>"$E2E_TMP/xvfb.log" &
    E2E_PIDS+=($!)
    local number
    read -r -t 20 number <"$fifo"
    export DISPLAY=:$number
    wait_for 20 xdpyinfo
    # A private session bus, so that nothing starts a stray one or talks to the user's.
    local bus
    bus=$(dbus-daemon --session --fork --print-address=1 --print-pid=1 --nopidfile) || return 1
    export DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p <<<"$bus")
    E2E_PIDS+=("$(sed -n 2p <<<"$bus")")
    openbox >"$E2E_TMP/openbox.log" 2>&1 &
    E2E_PIDS+=($!)
    # openbox owns the window manager selection once it is ready.
    wait_for 20 sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'
}

# tarvo_window NAME-REGEX: the id of the visible window with that title, waiting up to 20 s.
tarvo_window() {
    timeout 20 xdotool search --sync --onlyvisible --name "$1" | head -n 1
}

check() {
    local what=$1
    shift
    if "$@"; then
        echo "ok   - $what"
    else
        echo "FAIL - $what"
        E2E_FAILURES=$((E2E_FAILURES + 1))
    fi
}

e2e_finish() {
    if [ "$E2E_FAILURES" -ne 0 ]; then
        echo "$E2E_FAILURES check(s) failed"
        exit 1
    fi
    echo "all checks passed"
}
