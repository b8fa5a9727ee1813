#!/usr/bin/env bash
# Builds Tarvo and its tests with AddressSanitizer and UndefinedBehaviorSanitizer, runs every unit
# test, then the real program where it drives its window most: hostile command lines, second starts
# and the running one steered from a terminal (e2e_startup), the tray icon's clicks, the pin and
# SIGTERM/SIGINT during a countdown (e2e_tray), with LeakSanitizer watching every exit. Any report
# from any process fails the run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TARVO_SANITIZE_BUILD_DIR:-$root/build-sanitize}
reports=$(mktemp -d /tmp/tarvo-sanitize.XXXXXX)
trap 'rm -rf "$reports"' EXIT

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTARVO_SANITIZE=ON -DTARVO_BUILD_TESTS=ON >/dev/null
cmake --build "$build"

# Reports go to files, so that none is lost in a process whose exit code nobody reads.
export ASAN_OPTIONS=detect_leaks=1:log_path=$reports/asan
export UBSAN_OPTIONS=print_stacktrace=1:log_path=$reports/ubsan
export LSAN_OPTIONS=suppressions=$root/scripts/lsan.supp:print_suppressions=0
# Nothing a test starts may reach the real system bus.
export DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent/tarvo-tests
status=0
ctest --test-dir "$build" --output-on-failure --timeout 300 -E '^e2e_' || status=1
ctest --test-dir "$build" --output-on-failure --timeout 300 -R '^e2e_(startup|tray)$' || status=1

if compgen -G "$reports/*" >/dev/null; then
    echo "ci-sanitize: sanitizer reports:"
    cat "$reports"/*
    status=1
else
    echo "ci-sanitize: no sanitizer reports"
fi
exit $status
