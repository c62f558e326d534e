#!/bin/sh
# Our process() cost per stereo frame as a fraction of ffmpeg's stereotools
# and acrossover (order=4th) filters, measured on this machine in this run.
#
#   bench/compare_ffmpeg.sh [path/to/kv_bench_process]
#
# ffmpeg's cost is its CPU time with the filter minus the time of the
# same pipeline with the pass-through anull, over the same stereo input; ours
# is the benchmark's per-frame CPU time. Everything runs on one core; each
# measurement, ffmpeg's and ours alike, is the best of a few runs. Targets: steady settings at most
# 0.25 of stereotools, the LR-4 crossover at most 0.35 of acrossover.
set -eu

bench=${1:-build-release/bench/kv_bench_process}
rate=44100
seconds=120
runs=5
core=${KALVIOR_BENCH_CORE:-0}

command -v ffmpeg >/dev/null || { echo "ffmpeg is not installed (apt-get install ffmpeg)" >&2; exit 1; }
[ -x "$bench" ] || { echo "no benchmark at $bench (build kv_bench_process in a Release build)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM

# Stereo noise, stored as 64-bit float so decoding costs next to nothing.
ffmpeg -v error -nostdin -f lavfi -i "anoisesrc=r=$rate:a=0.5:d=$seconds:c=pink" \
    -af "pan=stereo|c0=c0|c1=0.6*c0" -c:a pcm_f64le -y "$work/input.wav"
frames=$((rate * seconds))

# CPU seconds (user + system: the kernel splits the two by sampling) of one
# ffmpeg run with the given filter graph; $2: output options.
ffmpeg_once() {
    # shellcheck disable=SC2086 # $2 holds the output options, word by word
    t=$(taskset -c "$core" ffmpeg -hide_banner -nostdin -threads 1 -filter_threads 1 \
            -filter_complex_threads 1 -benchmark -i "$work/input.wav" -filter_complex "$1" $2 2>&1 |
        sed -n 's/^bench: utime=\([0-9.]*\)s stime=\([0-9.]*\)s.*/\1 \2/p' | tail -n 1 |
        awk '{ print $1 + $2 }')
    [ -n "$t" ] || { echo "ffmpeg failed on: $1" >&2; exit 1; }
    echo "$t"
}

smaller() {
    awk -v a="$1" -v b="$2" 'BEGIN { print (a == "" || b < a) ? b : a }'
}

# ns per frame of a filter over its pass-through twin; $3: output options.
# The two run in turns, so that a change in the machine's load touches both,
# and each keeps its best run.
filter_ns() {
    with=""
    without=""
    i=0
    while [ $i -lt $runs ]; do
        with=$(smaller "$with" "$(ffmpeg_once "$1" "$3")")
        without=$(smaller "$without" "$(ffmpeg_once "$2" "$3")")
        i=$((i + 1))
    done
    awk -v a="$with" -v b="$without" -v n="$frames" 'BEGIN { printf "%.3f", (a - b) * 1e9 / n }'
}

echo "ffmpeg $(ffmpeg -version | head -n 1 | cut -d' ' -f3), $seconds s of stereo at $rate Hz, core $core"
one_output="-map [out] -c:a pcm_f64le -f null -"
# acrossover has two outputs; both go to the null muxer, as both of asplit's do.
two_outputs="-map [lo] -c:a pcm_f64le -f null - -map [hi] -c:a pcm_f64le -f null -"
stereotools=$(filter_ns "[0:a]aformat=sample_fmts=dbl,stereotools[out]" "[0:a]aformat=sample_fmts=dbl,anull[out]" \
                        "$one_output")
crossover_dbl=$(filter_ns "[0:a]aformat=sample_fmts=dblp,acrossover=split=300:order=4th[lo][hi]" \
                          "[0:a]aformat=sample_fmts=dblp,asplit[lo][hi]" "$two_outputs")
crossover_flt=$(filter_ns "[0:a]aformat=sample_fmts=fltp,acrossover=split=300:order=4th[lo][hi]" \
                          "[0:a]aformat=sample_fmts=fltp,asplit[lo][hi]" "$two_outputs")

results="$work/bench.txt"
taskset -c "$core" "$bench" --benchmark_min_time=1 --benchmark_repetitions="$runs" >"$results" 2>/dev/null
ours() { # benchmark name -> its best process_ns_per_frame over the repetitions
    awk -v name="$1" '$1 == name { for (i = 2; i <= NF; ++i) if ($i ~ /^process_ns_per_frame=/) {
            v = $i; sub(/.*=/, "", v); if (best == "" || v + 0 < best + 0) best = v } }
        END { print best }' "$results"
}

printf '%-34s %10s %10s %8s %8s\n' "case" "ours ns" "ffmpeg ns" "ratio" "target"
row() { # label ours theirs target
    awk -v l="$1" -v a="$2" -v b="$3" -v t="$4" 'BEGIN {
        # A filter that seems to cost no more than its pass-through was timed
        # while something else ran: no ratio can be drawn from it.
        if (b + 0 <= 0) { printf "%-34s %10.3f %10.3f %8s %8s  UNRELIABLE: machine busy, run again\n", l, a, b, "-", t; exit }
        r = a / b; printf "%-34s %10.3f %10.3f %8.3f %8s%s\n", l, a, b, r, t, (r <= t ? "" : "  MISSED") }'
}
row "steady 64-bit vs stereotools" "$(ours process64/steady)" "$stereotools" 0.25
row "steady 32-bit vs stereotools" "$(ours process32/steady)" "$stereotools" 0.25
row "LR-4 64-bit vs acrossover dblp" "$(ours process64/lr4)" "$crossover_dbl" 0.35
row "LR-4 32-bit vs acrossover fltp" "$(ours process32/lr4)" "$crossover_flt" 0.35
# A ratio of two timings taken side by side: the median over the repetitions.
for bits in 32 64; do
    awk -v name="process$bits/automation_median" -v l="automation_vs_steady_$bits" '$1 == name {
            for (i = 2; i <= NF; ++i) if ($i ~ /^vs_steady=/) { r = $i; sub(/.*=/, "", r) } }
        END { printf "%-34s %10s %10s %8.3f %8s%s\n", l, "", "", r, 4, (r <= 4 ? "" : "  MISSED") }' "$results"
done
