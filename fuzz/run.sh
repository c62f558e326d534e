#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan + UBSan + coverage) and runs
# each for a bounded time, starting from the seed corpus in fuzz/corpus/<target>.
# Fails when a target crashes, leaks, trips a sanitizer or breaks an invariant;
# the input that did it is kept in the artifacts folder.
#
#   fuzz/run.sh [-t seconds] [target ...]
#
# Environment: KALVIOR_FUZZ_BUILD_DIR (default: build-fuzz), KALVIOR_FUZZ_SECONDS
# (default: 60), KALVIOR_FUZZ_OUT (default: <build>/fuzz-out), KALVIOR_JOBS,
# KALVIOR_FUZZ_ASAN_OPTIONS / KALVIOR_FUZZ_UBSAN_OPTIONS (sanitizer options of the runs).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${KALVIOR_FUZZ_BUILD_DIR:-$root/build-fuzz}
seconds=${KALVIOR_FUZZ_SECONDS:-60}
jobs=${KALVIOR_JOBS:-$(nproc)}
all_targets=(fuzz_processor_state fuzz_controller_state fuzz_process fuzz_param_text fuzz_ui_description)

if [[ ${1:-} == "-t" ]]; then
    seconds=$2
    shift 2
fi
targets=("$@")
[[ ${#targets[@]} -gt 0 ]] || targets=("${all_targets[@]}")
out=${KALVIOR_FUZZ_OUT:-$build/fuzz-out}

for tool in clang clang++; do
    command -v "$tool" >/dev/null || { echo "fuzz: $tool is missing (install clang and libclang-rt-14-dev)" >&2; exit 1; }
done

echo "=== Building the fuzz targets in $build"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKALVIOR_BUILD_FUZZ=ON -DKALVIOR_BUILD_TESTS=OFF -DKALVIOR_BUILD_BENCH=OFF >/dev/null
# The build runs a generator tool, instrumented like everything else; the
# process-wide caches of the libraries it draws with are no finding.
ASAN_OPTIONS=detect_leaks=0 cmake --build "$build" -j "$jobs" --target "${targets[@]}"

# The fuzzers' own options, whatever the calling environment set for its tests.
export ASAN_OPTIONS=${KALVIOR_FUZZ_ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:symbolize=1}
export UBSAN_OPTIONS=${KALVIOR_FUZZ_UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=suppressions=$root/fuzz/lsan.supp

failed=()
summary=()
for target in "${targets[@]}"; do
    seeds="$root/fuzz/corpus/$target"
    work="$out/$target/corpus"
    artifacts="$out/$target/artifacts"
    log="$out/$target/log.txt"
    mkdir -p "$work" "$artifacts"
    max_len=4096
    [[ $target == fuzz_ui_description ]] && max_len=32768 # the editor's own description is a seed
    args=(-max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 -max_len="$max_len"
          -print_final_stats=1 -artifact_prefix="$artifacts/")
    # Multi-block sequences need long inputs from the start; libFuzzer's length
    # control would keep these two near their seeds' sizes for a whole CI run.
    [[ $target == fuzz_process || $target == fuzz_param_text ]] && args+=(-len_control=0)
    dict="$root/fuzz/dicts/$target.dict"
    [[ -f $dict ]] && args+=(-dict="$dict")
    corpora=("$work")
    [[ -d $seeds ]] && corpora+=("$seeds")
    [[ -d $root/fuzz/regressions/$target ]] && corpora+=("$root/fuzz/regressions/$target")

    echo "=== $target for ${seconds}s"
    status=0
    # stdin from /dev/null: a description naming /dev/stdin as a bitmap must not wait
    "$build/fuzz/$target" "${args[@]}" "${corpora[@]}" </dev/null >"$log" 2>&1 || status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    summary+=("$(printf '%-24s %10s runs %8s/s  corpus %5s  exit %s' "$target" "${runs:-?}" "${speed:-?}" \
        "$(find "$work" -type f | wc -l)" "$status")")
    if [[ $status -ne 0 ]]; then
        failed+=("$target")
        echo "--- $target failed (exit $status); last lines of $log:"
        tail -40 "$log"
        echo "--- reproducer(s): $(ls "$artifacts" 2>/dev/null | tr '\n' ' ')"
    fi
done

echo "=== Fuzzing summary"
printf '%s\n' "${summary[@]}"
if [[ ${#failed[@]} -gt 0 ]]; then
    echo "fuzz: failed: ${failed[*]}" >&2
    exit 1
fi
