#!/bin/sh
# Scans the plug-in with one of Ardour's scanners and checks what it lists.
# Usage: ardour_scan.sh vst3|vst2 <bundle or module .so> <scanner, or "none" to skip> <scratch home>
set -eu
kind=$1
plugin=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
scanner=$3
home=$4
if [ ! -x "$scanner" ]; then
    echo "Ardour's $kind scanner is not available here (not installed, or a sanitizer build); skipping"
    exit 77
fi
# The scanner writes its cache below the home folder: keep it out of the user's.
rm -rf "$home"
mkdir -p "$home"
output=$(HOME="$home" XDG_CACHE_HOME="$home/cache" XDG_CONFIG_HOME="$home/config" \
    LD_LIBRARY_PATH="$(dirname "$scanner")${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}" \
    "$scanner" -f -v "$plugin" 2>&1) || {
    echo "$output"
    echo "the scanner failed"
    exit 1
}
echo "$output"
if [ "$kind" = vst3 ]; then
    tag='<VST3Info '
    info=$(echo "$output" | grep "$tag" || true)
    expected='name="Kalvior"
vendor="Tarnwick Audio"
category="Fx|Spatial"
n_inputs="2"
n_outputs="2"
n_aux_inputs="0"
n_aux_outputs="0"
uid="135335F4248C444ABBACE6FFD10A4C8A"'
else
    tag='<VST2Info '
    cache=$(find "$home" -name '*.v2i' | head -n 1)
    [ -n "$cache" ] || { echo "the scanner wrote no plug-in cache"; exit 1; }
    info=$(grep "$tag" "$cache" || true)
    # 0xFE9E97D5 as the signed 32-bit number Ardour prints.
    expected='id="-23160875"
name="Kalvior"
creator="Tarnwick Audio"
category="Spatial"
n_inputs="2"
n_outputs="2"
n_midi_inputs="0"
is_instrument="0"
can_process_replace="1"'
fi
echo "$info"
fail=0
IFS='
'
for attribute in $expected; do
    case "$info" in
        *"$attribute"*) ;;
        *) echo "missing in the scan: $attribute"; fail=1 ;;
    esac
done
[ "$(echo "$info" | grep -c "$tag")" -eq 1 ] || { echo "expected exactly one plug-in"; fail=1; }
exit $fail
