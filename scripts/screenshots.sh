#!/usr/bin/env bash
# Renders the main window in the states the README shows (compact start, entry panel, hours mode,
# countdown, pause, last seconds, Classic view) to docs/screenshots/*.png under a virtual X server at
# 96 dpi, with the fonts Tarvo installs. Usage: scripts/screenshots.sh [OUTPUT-DIRECTORY [STATE...]];
# the states are listed in tools/screenshots/window_states.h.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TARVO_SCREENSHOT_BUILD_DIR:-$root/build}
out=${1:-$root/docs/screenshots}
shift || true
states=("$@")
[ ${#states[@]} -gt 0 ] || states=(compact entry entry_hours countdown paused last_seconds classic)
"$root/scripts/install-deps.sh" test
cmake -S "$root" -B "$build" -G Ninja -DTARVO_BUILD_TESTS=ON >/dev/null
cmake --build "$build" --target tarvo_screenshots
# Nothing here may reach a real bus; the tool runs on fakes anyway.
export DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent/tarvo-screenshots
unset WAYLAND_DISPLAY QT_QPA_PLATFORM QT_SCALE_FACTOR QT_SCREEN_SCALE_FACTORS QT_FONT_DPI
# A fixed locale, so the clock reads the same on every machine.
export LANG=C.UTF-8 LC_ALL=C.UTF-8
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
export XDG_RUNTIME_DIR=$runtime
xvfb-run -a -s "-screen 0 1280x800x24 -dpi 96 -nolisten tcp" \
    "$build/tools/tarvo_screenshots" "$out" "${states[@]}" -platform xcb
