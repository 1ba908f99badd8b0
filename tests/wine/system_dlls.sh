#!/bin/bash
# RemoteControl.exe must run on a bare Windows: it may import system DLLs
# only (no C++ runtime, libgcc or winpthread DLLs).
#   system_dlls.sh OBJDUMP PROGRAM...
set -u
objdump=$1
shift
allowed='^(advapi32|comctl32|comdlg32|gdi32|hid|kernel32|msvcrt|ole32|oleaut32|setupapi|shell32|user32|wtsapi32)\.dll$'
status=0
for exe in "$@"; do
    dlls=$("$objdump" -p "$exe" | awk '/DLL Name:/ { print $3 }') || {
        echo "FAIL - cannot read the imports of $exe"
        status=1
        continue
    }
    [ -n "$dlls" ] || { echo "FAIL - $exe imports nothing?"; status=1; }
    for dll in $dlls; do
        if [[ ${dll,,} =~ $allowed ]]; then
            echo "ok   - $(basename "$exe") imports $dll"
        else
            echo "FAIL - $(basename "$exe") imports $dll, which is not a system DLL"
            status=1
        fi
    done
done
exit $status
