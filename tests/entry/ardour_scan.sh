#!/bin/sh
# Scans the bundle with Ardour's VST 3 scanner and checks what it lists.
# Usage: ardour_scan.sh <bundle> <scanner, or "none" to skip> <scratch home>
set -eu
bundle=$1
scanner=$2
home=$3
if [ ! -x "$scanner" ]; then
    echo "Ardour's VST 3 scanner is not available here (not installed, or a sanitizer build); skipping"
    exit 77
fi
# The scanner writes its cache below the home folder: keep it out of the user's.
rm -rf "$home"
mkdir -p "$home"
output=$(HOME="$home" XDG_CACHE_HOME="$home/cache" XDG_CONFIG_HOME="$home/config" \
    LD_LIBRARY_PATH="$(dirname "$scanner")${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}" \
    "$scanner" -f -v "$(cd "$bundle" && pwd)" 2>&1) || {
    echo "$output"
    echo "the scanner failed"
    exit 1
}
echo "$output"
info=$(echo "$output" | grep '<VST3Info ' || true)
fail=0
for expected in 'name="Kalvior"' 'vendor="Tarnwick Audio"' 'category="Fx|Spatial"' \
                'n_inputs="2"' 'n_outputs="2"' 'n_aux_inputs="0"' 'n_aux_outputs="0"' \
                'uid="135335F4248C444ABBACE6FFD10A4C8A"'; do
    case "$info" in
        *"$expected"*) ;;
        *) echo "missing in the scan: $expected"; fail=1 ;;
    esac
done
[ "$(echo "$info" | grep -c '<VST3Info ')" -eq 1 ] || { echo "expected exactly one plug-in"; fail=1; }
exit $fail
