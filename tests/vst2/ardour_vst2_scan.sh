#!/bin/sh
# Scans the module with Ardour's VST 2 scanner and checks what it lists.
# Usage: ardour_vst2_scan.sh <module .so> <scanner, or "none" to skip> <scratch home>
set -eu
module=$1
scanner=$2
home=$3
if [ ! -x "$scanner" ]; then
    echo "Ardour's VST 2 scanner is not available here (not installed, or a sanitizer build); skipping"
    exit 77
fi
# The scanner writes its cache below the home folder: keep it out of the user's.
rm -rf "$home"
mkdir -p "$home"
output=$(HOME="$home" XDG_CACHE_HOME="$home/cache" XDG_CONFIG_HOME="$home/config" \
    LD_LIBRARY_PATH="$(dirname "$scanner")${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}" \
    "$scanner" -f -v "$module" 2>&1) || {
    echo "$output"
    echo "the scanner failed"
    exit 1
}
echo "$output"
cache=$(find "$home" -name '*.v2i' | head -n 1)
if [ -z "$cache" ]; then
    echo "the scanner wrote no plug-in cache"
    exit 1
fi
info=$(grep '<VST2Info ' "$cache" || true)
echo "$info"
fail=0
# 0xFE9E97D5 as the signed 32-bit number Ardour prints.
for expected in 'id="-23160875"' 'name="Kalvior"' 'creator="Tarnwick Audio"' 'category="Spatial"' \
                'n_inputs="2"' 'n_outputs="2"' 'n_midi_inputs="0"' 'is_instrument="0"' \
                'can_process_replace="1"'; do
    case "$info" in
        *"$expected"*) ;;
        *) echo "missing in the scan: $expected"; fail=1 ;;
    esac
done
[ "$(echo "$info" | grep -c '<VST2Info ')" -eq 1 ] || { echo "expected exactly one plug-in"; fail=1; }
exit $fail
