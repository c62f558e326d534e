#!/bin/sh
# Runs the install-user step into a scratch home and checks the copied bundle.
# Usage: install_user.sh <build dir> <scratch home>
set -eu
build=$1
home=$2
rm -rf "$home"
mkdir -p "$home"
HOME="$home" cmake --build "$build" --target install-user
bundle="$home/.vst3/Kalvior.vst3"
for file in Contents/x86_64-linux/Kalvior.so; do
    [ -f "$bundle/$file" ] || { echo "missing $bundle/$file"; exit 1; }
done
[ -d "$bundle/Contents/Resources" ] || { echo "missing $bundle/Contents/Resources"; exit 1; }
cmp "$build/Kalvior.vst3/Contents/x86_64-linux/Kalvior.so" "$bundle/Contents/x86_64-linux/Kalvior.so"
# A second run replaces the copy.
HOME="$home" cmake --build "$build" --target install-user
[ -f "$bundle/Contents/x86_64-linux/Kalvior.so" ]
