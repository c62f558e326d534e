#!/usr/bin/env bash
# Cross-builds the Windows package on Debian with mingw-w64 and, with --test,
# runs the Windows suite under Wine.
#
#   ./scripts/build-windows.sh [--test] [--no-tests] [extra CMake options]
#
# Makes, in the build folder (default build-win):
#   Kalvior.vst3/Contents/x86_64-win/Kalvior.vst3   the VST 3 bundle
#   Kalvior.dll                                     the VST 2 plug-in
#   Kalvior-<version>-win64.zip                     both, with INSTALL.txt
#
# The Windows tests compare the module's output and the editor's picture with a
# Linux build of the same sources: KALVIOR_LINUX_BUILD_DIR names one (CI passes
# its release build); without it a small Linux build of just the module, the
# reference rendering is made in <build>/linux-reference.
# With --no-tests only the artwork generator is built natively.
#
# Environment: KALVIOR_WIN_BUILD_DIR (default: build-win), KALVIOR_LINUX_BUILD_DIR,
# KALVIOR_JOBS (default: nproc).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${KALVIOR_WIN_BUILD_DIR:-$root/build-win}
jobs=${KALVIOR_JOBS:-$(nproc)}
run_tests=false
build_tests=ON
cmake_options=()
for argument in "$@"; do
    case "$argument" in
        --test) run_tests=true ;;
        --no-tests) build_tests=OFF ;;
        -h|--help) sed -n '2,20p' "${BASH_SOURCE[0]}" | sed 's/^# \{0,1\}//'; exit 0 ;;
        *) cmake_options+=("$argument") ;;
    esac
done
if $run_tests && [ "$build_tests" = OFF ]; then
    echo "build-windows.sh: --test needs the tests (drop --no-tests)" >&2
    exit 2
fi
for tool in x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-windres; do
    command -v "$tool" >/dev/null || { echo "build-windows.sh: $tool missing: run ./scripts/setup.sh --deps-only" >&2; exit 1; }
done

reference_options=()
if [ "$build_tests" = ON ]; then
    linux=${KALVIOR_LINUX_BUILD_DIR:-}
    if [ -z "$linux" ]; then
        linux="$build/linux-reference"
        echo "=== Linux reference rendering ($linux)"
        cmake -S "$root" -B "$linux" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKALVIOR_BUILD_BENCH=OFF >/dev/null
    fi
    # Up to date with the sources whichever build it is.
    cmake --build "$linux" -j "$jobs" --target kalvior_platform_reference
    linux=$(cd "$linux" && pwd)
    reference_options=(-DKALVIOR_LINUX_REFERENCE_DIR="$linux/platform-reference")
fi

echo "=== Windows build ($build)"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DKALVIOR_BUILD_TESTS="$build_tests" "${reference_options[@]}" "${cmake_options[@]}"
cmake --build "$build" -j "$jobs"
echo "Windows package: $(ls "$build"/Kalvior-*-win64.zip)"

if $run_tests; then
    echo "=== Windows tests under Wine"
    "$root/scripts/test-windows.sh" "$build"
fi
