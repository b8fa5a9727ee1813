#!/usr/bin/env bash
# Installs what is missing, builds Tarvo and starts it with the given options, e.g.
#   scripts/run.sh S M90 W T
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" run
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARVO_BUILD_TESTS=OFF >/dev/null
cmake --build "$root/build" --target tarvo
exec "$root/build/tarvo" "$@"
