#!/bin/bash
# Runs clang-tidy with the project's .clang-tidy over every source of src/ and fails on a finding.
#   scripts/clang-tidy.sh [BUILD_DIR] [FILE...]
# BUILD_DIR holds compile_commands.json (CMake writes it; default build-test). Without FILEs, all of
# src/*/*.cpp. A summary per check goes to standard error.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-test}
shift || true
if [[ ! -f $build/compile_commands.json ]]; then
    echo "clang-tidy.sh: no $build/compile_commands.json; configure the build first" >&2
    exit 2
fi
if (($# == 0)); then
    set -- "$root"/src/*/*.cpp
fi
log=$(mktemp)
trap 'rm -f "$log"' EXIT
# Files with no entry in the compilation database (a platform's own back end) are left out.
for file in "$@"; do
    if grep -q "\"file\": \"$(realpath "$file")\"" "$build/compile_commands.json"; then
        printf '%s\0' "$file"
    fi
done | xargs -0 -r -n 4 -P "$(nproc)" clang-tidy -p "$build" --quiet >"$log" 2>/dev/null
findings=$(grep -cE '^[^ ].*: (warning|error): ' "$log")
if ((findings > 0)); then
    # One finding of a header is reported once per file that includes it.
    grep -E '^[^ ].*: (warning|error): ' "$log" | sort -u | tee /dev/stderr >/dev/null
    echo "clang-tidy: $(grep -E '^[^ ].*: (warning|error): ' "$log" | sort -u | wc -l) findings:" >&2
    grep -E '^[^ ].*: (warning|error): ' "$log" | sort -u | sed -n 's/.*\[\([^]]*\)\]$/\1/p' | sort | uniq -c | sort -rn >&2
    exit 1
fi
echo "clang-tidy: no findings" >&2
