#!/usr/bin/env bash
# Installs what is missing, builds Tarvo with its tests and runs them all: the widget tests offscreen,
# the power tests against mocked logind and session managers on private buses, the end-to-end tests
# of the real program under a virtual X server, and a cross-compile of the Windows power layer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TARVO_TEST_BUILD_DIR:-$root/build-test}
"$root/scripts/install-deps.sh" test
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVO_BUILD_TESTS=ON >/dev/null
cmake --build "$build"
# The curated clang-tidy checks over all of src/ (the build wrote compile_commands.json).
"$root/scripts/clang-tidy.sh" "$build"
# Nothing a test starts may reach the real system bus.
export DBUS_SYSTEM_BUS_ADDRESS=unix:path=/nonexistent/tarvo-tests
ctest --test-dir "$build" --output-on-failure --timeout 300
# The Debian package: built, validated, installed, run (dry run) and removed again.
"$root/scripts/check-package.sh" "$build"
if [ -x "$root/.ci/check_mingw.sh" ]; then
    "$root/.ci/check_mingw.sh"
fi
# The same again under AddressSanitizer and UndefinedBehaviorSanitizer, then a short run of every fuzz harness.
"$root/scripts/ci-sanitize.sh"
"$root/scripts/ci-fuzz.sh"
