#!/usr/bin/env bash
# TideSetup.exe must run alone on a clean Windows: a GUI-subsystem program
# that imports system DLLs only (no compiler runtime beside it).
# Usage: check-pe-imports.sh OBJDUMP EXE
set -euo pipefail
objdump=$1
exe=$2
headers=$("$objdump" -p "$exe")
failed=0
if ! grep -qE 'Subsystem[[:space:]]+0*2[[:space:]]' <<<"$headers"; then
    echo "not a GUI-subsystem program"
    failed=1
fi
system_dlls='^(kernel32|user32|gdi32|gdiplus|comctl32|comdlg32|shell32|shlwapi|ole32|oleaut32|advapi32|version|urlmon|wininet|msvcrt|ucrtbase|api-ms-win-crt-[a-z0-9-]+)\.dll$'
while read -r dll; do
    lower=${dll,,}
    if [[ ! $lower =~ $system_dlls ]]; then
        echo "imports a DLL that is not part of Windows: $dll"
        failed=1
    else
        echo "imports $dll"
    fi
done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")
if [ "$failed" -eq 0 ]; then
    echo "1 passed, 0 failed"
else
    echo "0 passed, 1 failed"
fi
exit "$failed"
