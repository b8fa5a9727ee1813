#!/usr/bin/env bash
# Builds Tarvo (Release), the floor program and the window probe, then measures Tarvo, the floor and
# KShutdown side by side on one virtual X server:
#   bench/run.sh                  10 runs each; writes bench/results.md and the README's table
#   bench/run.sh --quick          3 runs, no peer, short stretches: what CI runs
#   bench/run.sh --wait-quiet 40  first waits up to 40 minutes for an idle machine
# Further options: python3 bench/bench.py --help.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TARVO_BENCH_BUILD_DIR:-$root/build-bench}
deps=bench
for arg in "$@"; do
    case $arg in --quick | --no-peer) deps=test ;; esac
done
"$root/scripts/install-deps.sh" "$deps"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARVO_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target tarvo tarvo_floor bench_window_watch
# Nothing started here may reach the real system bus; bench.py sets this for every program too.
export DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent/tarvo-bench
exec python3 "$root/bench/bench.py" --tarvo "$build/tarvo" --floor "$build/bench/tarvo_floor" \
    --watch "$build/bench/bench_window_watch" "$@"
