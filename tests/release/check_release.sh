#!/usr/bin/env bash
# Checks the release program as a file: 32-bit, GUI, importing only DLLs that
# every Windows has. Usage: check_release.sh PELLAVO_EXE OBJDUMP
set -euo pipefail
exe=$1
objdump=$2
headers=$("$objdump" -p "$exe")
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

grep -q 'file format pei-i386' <<<"$headers" || fail "not a PE32 (i386) image"
grep -Eq '^Subsystem[[:space:]]+0*2[[:space:]]' <<<"$headers" || fail "not the GUI subsystem"

allowed='^(kernel32|user32|gdi32|gdiplus|advapi32|shell32|shlwapi|ole32|oleaut32|comctl32|comdlg32|msvcrt)\.dll$'
while read -r dll; do
    grep -Eiq "$allowed" <<<"$dll" || fail "imports $dll"
    echo "imports $dll"
done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")

[ "$failures" -eq 0 ] && echo "release checks passed"
exit "$failures"
