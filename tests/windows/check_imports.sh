#!/bin/sh
# The Windows binaries import Windows' own DLLs only (the C++ runtime, libgcc
# and winpthread are linked in) and export the plug-in's entry points by their
# plain names.
#
#   check_imports.sh <objdump> <DLL>...
set -eu
objdump=$1
shift
# Exactly what the module needs, all shipped by every Windows since 7: the
# C runtime, the kernel, windows and COM, and the editor's Direct2D,
# DirectWrite and XmlLite (WIC is reached through COM). Anything else would
# have to be installed, or is a dependency nobody meant to add.
allowed=" kernel32.dll msvcrt.dll user32.dll ole32.dll d2d1.dll dwrite.dll xmllite.dll "
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
