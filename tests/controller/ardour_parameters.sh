#!/bin/sh
# Loads the bundle into a headless Ardour session and checks that Ardour offers
# exactly the automatable parameters, in ID order, with their titles.
# Usage: ardour_parameters.sh <bundle> <scratch home> <script.lua>
set -eu
bundle=$(cd "$1" && pwd)
home=$2
script=$3
lua=$(command -v ardour7-lua || command -v ardour8-lua || true)
scanner=$(ls /usr/lib/ardour*/ardour-vst3-scanner 2>/dev/null | head -n 1 || true)
if [ -z "$lua" ] || [ -z "$scanner" ]; then
    echo "Ardour's Lua session tool or VST 3 scanner is not installed; skipping"
    exit 77
fi
rm -rf "$home"
mkdir -p "$home/.vst3"
ln -s "$bundle" "$home/.vst3/Kalvior.vst3"
export HOME="$home" XDG_CACHE_HOME="$home/cache" XDG_CONFIG_HOME="$home/config" VST3_PATH="$home/.vst3"
# Ardour loads VST 3 plug-ins from the scanner's cache.
LD_LIBRARY_PATH="$(dirname "$scanner")${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}" "$scanner" -f "$home/.vst3/Kalvior.vst3" >/dev/null 2>&1
output=$(KALVIOR_SESSION_DIR="$home/session" "$lua" "$script" 2>&1) || true
listed=$(echo "$output" | grep '^PARAM|' | cut -d'|' -f3)
expected='Bypass
Left Gain
Right Gain
Mute Left
Mute Right
Invert Left
Invert Right
Left Pan
Right Pan
Balance
Asymmetry
Asymm Crush
HP Gain
HP Width
HP Pan
Pan Law
Pan Crush
Gain Trim
LP Gain
LP Width
LP Pan
Crossover Freq'
if [ "$listed" != "$expected" ]; then
    echo "$output"
    echo "Ardour offers:"
    echo "$listed"
    exit 1
fi
echo "Ardour offers the 22 automatable parameters:"
echo "$listed"
