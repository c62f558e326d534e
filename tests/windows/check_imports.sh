#!/bin/sh
# The Windows binaries import Windows' own DLLs only (the C++ runtime, libgcc
# and winpthread are linked in) and export the plug-in's entry points by their
# plain names.
#
#   check_imports.sh <objdump> <DLL>...
set -eu
objdump=$1
shift
# What every Windows since 7 ships; anything else would have to be installed.
allowed=" kernel32.dll user32.dll gdi32.dll ole32.dll oleaut32.dll msvcrt.dll advapi32.dll shell32.dll
 comctl32.dll comdlg32.dll d2d1.dll dwrite.dll windowscodecs.dll xmllite.dll uxtheme.dll shlwapi.dll "
status=0
for dll in "$@"; do
    dump=$("$objdump" -p "$dll")
    imports=$(printf '%s\n' "$dump" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z')
    [ -n "$imports" ] || { echo "$dll: no import table found"; status=1; }
    for name in $imports; do
        case "$allowed" in
            *" $name "*) ;;
            *) echo "$dll imports $name, which is not part of Windows"; status=1 ;;
        esac
    done
    exports=$(printf '%s\n' "$dump" | sed -n '/Ordinal\/Name Pointer/,/^$/p' | sed -n 's/^[[:space:]]*\[[[:space:]]*[0-9]*\] //p')
    for entry in GetPluginFactory InitDll ExitDll VSTPluginMain main MAIN; do
        printf '%s\n' "$exports" | grep -qx "$entry" || { echo "$dll does not export $entry undecorated"; status=1; }
    done
    echo "$dll imports: $(echo $imports)"
done
exit $status
