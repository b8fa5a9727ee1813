#!/usr/bin/env bash
# Builds the libFuzzer harnesses of fuzz/ with clang and runs each for a short while, two at a time,
# on a copy of its seed corpus. FUZZ_SECONDS sets the time per harness (30 s in CI). FUZZ_SEED is
# libFuzzer's random seed: 1 by default, so that CI explores the same inputs every time; for a long
# local run: FUZZ_SECONDS=3600 FUZZ_SEED=0 scripts/ci-fuzz.sh (0: a new seed). Inputs that break a
# harness are kept in build-fuzz/artifacts.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TARVO_FUZZ_BUILD_DIR:-$root/build-fuzz}
seconds=${FUZZ_SECONDS:-30}
seed=${FUZZ_SEED:-1}
command -v clang++ >/dev/null || { echo "ci-fuzz: clang++ is missing (scripts/install-deps.sh test)"; exit 1; }

cmake -S "$root/fuzz" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build"
work=$(mktemp -d /tmp/tarvo-fuzz.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir -p "$build/artifacts"
# fontconfig's caches, allocated under Qt, outlive the last input.
export LSAN_OPTIONS=suppressions=$root/scripts/lsan.supp:print_suppressions=0

# HARNESS:SEEDS:OPTIONS. The start-up harness builds a whole window per input and leaves leaks to
# the sanitizer run of the program, where they are found once instead of after every input.
harnesses=(
    "command_line:command_line:-max_len=16384"
    "start_up:command_line:-max_len=1024 -detect_leaks=0"
    "minutes_field:minutes_field:"
    "difference_rule:difference_rule:"
    "key_filter:key_filter:"
)

run() {
    local name seeds options
    IFS=: read -r name seeds options <<<"$1"
    mkdir -p "$work/$name"
    # shellcheck disable=SC2086 # options are words
    if "$build/${name}_fuzzer" -max_total_time="$seconds" -seed="$seed" -print_final_stats=1 $options \
        -artifact_prefix="$build/artifacts/$name-" "$work/$name" "$root/fuzz/corpus/$seeds" >"$work/$name.log" 2>&1; then
        echo "fuzz $name: $(awk '/^stat::number_of_executed_units/ { print $2 }' "$work/$name.log") executions in ${seconds} s, nothing found"
    else
        echo "fuzz $name: FAILED"
        grep -E 'broken:|ERROR|runtime error|SUMMARY|Test unit written' "$work/$name.log" | head -n 20
        return 1
    fi
}

failed=0
pids=()
for harness in "${harnesses[@]}"; do
    run "$harness" &
    pids+=($!)
    if [ ${#pids[@]} -ge 2 ]; then
        wait "${pids[0]}" || failed=1
        pids=("${pids[@]:1}")
    fi
done
for pid in "${pids[@]}"; do
    wait "$pid" || failed=1
done
exit $failed
