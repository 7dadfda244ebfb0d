#!/usr/bin/env bash
# Runs every libFuzzer program of build-fuzz at once, each for a set time, starting from its seed
# corpus (all at once, so that the wall time is SECONDS however many targets there are).
#   tests/fuzz/run_fuzzers.sh SECONDS TARGET...
# Inputs the fuzzer finds interesting collect in build-fuzz/fuzz-corpus/<target> (kept between
# runs, never in the source tree); an input that fails is saved in build-fuzz/fuzz-artifacts/.
# Once the fault is fixed, the input goes into tests/fuzz/corpus/<target>/ as regression-<what>,
# so the ordinary suite replays it. Exits 1 when any target failed.
set -uo pipefail
cd "$(dirname "$0")/../.."
seconds=$1
shift
build=build-fuzz
mkdir -p "$build/fuzz-artifacts"

declare -A running
for target in "$@"; do
    work="$build/fuzz-corpus/$target"
    mkdir -p "$work"
    echo "fuzz: $target for ${seconds}s" >&2
    # -timeout: an input that takes 10 s is a hang; -rss_limit_mb: an input that makes the code
    # under test hold 2 GB is a fault (the inputs are a few kilobytes).
    "$build/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$build/fuzz-artifacts/$target-" \
        "$work" "tests/fuzz/corpus/$target" >"$build/fuzz-artifacts/$target.log" 2>&1 &
    running[$target]=$!
done

failed=()
for target in "$@"; do
    log="$build/fuzz-artifacts/$target.log"
    if wait "${running[$target]}"; then
        grep -a -E "^stat::number_of_executed_units" "$log" | sed "s/^/fuzz: $target: /" >&2
    else
        echo "fuzz: $target FAILED; see $log:" >&2
        grep -a -E "^(SUMMARY|==[0-9]+==ERROR|.*Test unit written)" "$log" >&2
        failed+=("$target")
    fi
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzz: failed: ${failed[*]}" >&2
    exit 1
fi
