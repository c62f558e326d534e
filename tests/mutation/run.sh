#!/usr/bin/env bash
# Mutation check of the test suite: applies each fault of faults.txt in turn to
# a scratch copy of the tree, builds it (Release) and runs the suite, stopping
# at the first failing test. Prints CAUGHT or SURVIVED per fault and the score.
# Fails loudly when a fault's original text is not in its file (update the
# list when the product changes).
#
#   tests/mutation/run.sh [fault-name ...]
#
# Environment: KALVIOR_MUTATION_TREE (the tree to test; default this one),
# KALVIOR_MUTATION_DIR (default /tmp/kalvior-mutation; holds the
# copy and its build, reused between runs), KALVIOR_JOBS (default 2),
# KALVIOR_MUTATION_CTEST (extra ctest options). The tests that need a real DAW
# and those failing on the unchanged tree are left out.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=${KALVIOR_MUTATION_TREE:-$(cd "$here/../.." && pwd)}
work=${KALVIOR_MUTATION_DIR:-/tmp/kalvior-mutation}
jobs=${KALVIOR_JOBS:-2}
faults="$here/faults.txt"
tool="$here/mutate.py"

# Check every pattern against the real tree before spending any build time.
python3 "$tool" check "$faults" "$root" "$@"

mkdir -p "$work"
# A fresh copy of the sources, stamped now so that the kept build inside it
# recompiles every file (ccache makes that cheap) and never links stale objects.
mkdir -p "$work/src"
find "$work/src" -mindepth 1 -maxdepth 1 ! -name build -exec rm -rf {} +
tar -C "$root" --exclude=./.git --exclude='./build*' -cf - . | tar -C "$work/src" -xmf -
# The build inside the copy, as in a checkout, so ccache finds the same relative paths.
export CCACHE_BASEDIR=/
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake -S "$work/src" -B "$work/src/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKALVIOR_BUILD_BENCH=OFF \
    "${launcher[@]}" >/dev/null
echo "=== Building the unchanged tree"
cmake --build "$work/src/build" -j "$jobs" >"$work/build.log" 2>&1 || { tail -30 "$work/build.log"; exit 1; }
echo "=== The unchanged tree"
# Tests that fail already say nothing about a fault: they are left out, loudly.
exclude=Ardour
if ! ctest --test-dir "$work/src/build" -j "$jobs" -E "$exclude" >"$work/clean.log" 2>&1; then
    failing=$(sed 's/^[0-9]*://' "$work/src/build/Testing/Temporary/LastTestsFailed.log")
    echo "mutation: WARNING: these tests fail on the unchanged tree and are left out:" >&2
    echo "$failing" | sed 's/^/    /' >&2
    exclude="$exclude|$(echo "$failing" | python3 -c 'import re,sys; print("|".join("^"+re.escape(l.strip())+"$" for l in sys.stdin if l.strip()))')"
fi
ctest_extra=${KALVIOR_MUTATION_CTEST:-}

caught=0
total=0
survivors=()
for name in $(python3 "$tool" names "$faults" "$@"); do
    total=$((total + 1))
    python3 "$tool" apply "$faults" "$work/src" "$name"
    verdict=SURVIVED
    if ! cmake --build "$work/src/build" -j "$jobs" >"$work/$name.build.log" 2>&1; then
        verdict="CAUGHT (does not build)"
    else
        # shellcheck disable=SC2086
        if ! ctest --test-dir "$work/src/build" -j "$jobs" --stop-on-failure -E "$exclude" $ctest_extra >"$work/$name.log" 2>&1; then
            verdict="CAUGHT by $(grep -m1 -oE '[0-9]+ - [^ ]+' "$work/$name.log" | sed 's/^[0-9]* - //' || echo '?')"
        fi
    fi
    python3 "$tool" revert "$faults" "$work/src" "$name"
    [[ $verdict == SURVIVED ]] && survivors+=("$name") || caught=$((caught + 1))
    printf '%-30s %s\n' "$name" "$verdict"
done
# Leave the scratch build matching the tree again.
cmake --build "$work/src/build" -j "$jobs" >/dev/null 2>&1 || true

echo "=== Mutation score: $caught of $total caught"
[[ ${#survivors[@]} -eq 0 ]] || echo "survivors: ${survivors[*]}"
