#!/usr/bin/env bash
# Sets up a Debian 12 machine for Kalvior and runs the main job: installs the
# Debian packages of scripts/packages.txt, builds the plug-in (Release),
# installs the bundle into ~/.vst3 and runs `kalvior demo` on it.
#
#   ./scripts/setup.sh              packages, build, install, demo
#   ./scripts/setup.sh --deps-only  packages only (CI)
#
# Runs as root or through sudo; safe to run again.
# Environment: KALVIOR_BUILD_DIR (default: build), KALVIOR_JOBS (default: nproc).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
deps_only=false
for argument in "$@"; do
    case "$argument" in
        --deps-only) deps_only=true ;;
        -h|--help) sed -n '2,12p' "${BASH_SOURCE[0]}" | sed 's/^# \{0,1\}//'; exit 0 ;;
        *) echo "setup.sh: unknown option $argument" >&2; exit 2 ;;
    esac
done

if [ "$(id -u)" -eq 0 ]; then
    as_root=()
elif command -v sudo >/dev/null 2>&1; then
    as_root=(sudo)
else
    echo "setup.sh: installing packages needs root or sudo" >&2
    exit 1
fi

install_packages() {
    local wanted=() missing=() package
    while IFS= read -r package; do
        package=${package%%#*}
        package=$(echo "$package" | tr -d '[:space:]')
        [ -n "$package" ] && wanted+=("$package")
    done < "$root/scripts/packages.txt"
    for package in "${wanted[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    if [ ${#missing[@]} -eq 0 ]; then
        echo "All ${#wanted[@]} Debian packages are installed."
        return
    fi
    echo "Installing: ${missing[*]}"
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update
    "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
}

# The number-text tests also run under a comma-decimal locale.
install_test_locale() {
    command -v locale-gen >/dev/null 2>&1 || return 0
    # grep reads the whole list (no -q): under pipefail an early exit would fail the pipe
    if locale -a 2>/dev/null | grep -i '^de_DE\.utf-\?8$' >/dev/null; then
        return
    fi
    echo "Generating the de_DE.UTF-8 locale for the tests"
    if [ -f /etc/locale.gen ] && grep -q '^# *de_DE.UTF-8 UTF-8' /etc/locale.gen; then
        "${as_root[@]}" sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    elif ! grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
        echo "de_DE.UTF-8 UTF-8" | "${as_root[@]}" tee -a /etc/locale.gen >/dev/null
    fi
    "${as_root[@]}" locale-gen
}

install_packages
install_test_locale
if $deps_only; then
    exit 0
fi

build=${KALVIOR_BUILD_DIR:-$root/build}
jobs=${KALVIOR_JOBS:-$(nproc)}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
# Only what the main job needs: the plug-in (its artwork is generated on the
# way) and the command-line host. scripts/test.sh builds and runs the tests.
cmake --build "$build" -j "$jobs" --target Kalvior kalvior
cmake --build "$build" --target install-user

echo
echo "Kalvior is installed in $HOME/.vst3/Kalvior.vst3"
echo "Rescan VST 3 plug-ins in your DAW to find it under Tarnwick Audio (Fx|Spatial)."
echo "VST 2 hosts find it as $HOME/.vst/Kalvior.so."

# The main job: the installed plug-in, loaded as a DAW loads it, over a test
# signal through each factory program.
echo
"$build/tools/kalvior" demo "$build/demo" --force
