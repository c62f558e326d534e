#!/usr/bin/env bash
# Builds Kalvior and runs the whole test suite.
#
#   ./scripts/test.sh [extra CMake options]
#
# Environment: KALVIOR_BUILD_DIR (default: build), KALVIOR_BUILD_TYPE
# (default: Release), KALVIOR_JOBS (default: nproc).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${KALVIOR_BUILD_DIR:-$root/build}
jobs=${KALVIOR_JOBS:-$(nproc)}

cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE="${KALVIOR_BUILD_TYPE:-Release}" "$@"
cmake --build "$build" -j "$jobs"
ctest --test-dir "$build" --output-on-failure -j "$jobs"
