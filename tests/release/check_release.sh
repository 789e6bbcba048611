#!/usr/bin/env bash
# Checks the release as files: each program, the 32-bit (PE32) and the 64-bit
# (PE32+) one, is GUI, large-address-aware, uses no GDI+ (WIC, which COM
# loads, reads and writes its pictures), imports only DLLs that every Windows
# has, calls through no import slot that stays empty, and carries its
# resources; the installer and the portable archive hold what they should.
# Usage: check_release.sh X86_EXE X64_EXE OBJDUMP SETUP_EXE PORTABLE_ZIP
# (an objdump that reads both formats).
set -euo pipefail
x86_exe=$1
x64_exe=$2
objdump=$3
setup=$4
portable=$5
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# check_program EXE FORMAT: one program of the release.
check_program() {
    local exe=$1 format=$2 headers dll names resources wanted
    echo "== $exe"
    headers=$("$objdump" -p "$exe")
    grep -q "file format $format" <<<"$headers" || fail "$exe is not a $format image"
    grep -Eq '^Subsystem[[:space:]]+0*2[[:space:]]' <<<"$headers" || fail "$exe is not of the GUI subsystem"
    grep -q 'large address aware' <<<"$headers" || fail "$exe is not large-address-aware"

    local allowed='^(kernel32|user32|gdi32|advapi32|shell32|shlwapi|ole32|oleaut32|comctl32|comdlg32|msvcrt)\.dll$'
    while read -r dll; do
        grep -Eiq "$allowed" <<<"$dll" || fail "$exe imports $dll"
        echo "imports $dll"
    done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")
    # DLLs that load when first called are named only in the delay-import
    # thunks' data, which objdump does not list: every DLL name the image holds
    # must be one of Windows' own, and the window and shell libraries must be there.
    # The 32-bit start-up code asks whether a shared libgcc is already loaded (and
    # never loads it), so that one name is not an import.
    names=$(grep -aoiE '[a-z0-9_-]+\.dll' "$exe" | tr 'A-Z' 'a-z' | grep -vx 'libgcc_s_dw2-1\.dll' | sort -u)
    while read -r dll; do
        grep -Eiq "$allowed" <<<"$dll" || fail "$exe names $dll"
    done <<<"$names"
    for delayed in user32.dll shell32.dll ole32.dll; do
        grep -qx "$delayed" <<<"$names" || fail "$exe does not name $delayed"
    done
    echo "names only Windows' own DLLs: $(tr '\n' ' ' <<<"$names")"
    # A delay-load slot that the linker left zero crashes the first call into its DLL.
    python3 "$(dirname "$0")/check_import_slots.py" "$exe" "$objdump" ||
        fail "$exe calls through import slots that nothing fills"

    # objdump prints the resource directory as a tree whose depth is its
    # indentation: types, then their ids, then languages. Listed as "type/id".
    resources=$(sed -nE 's/^[0-9a-f]+( +)Entry: ID: 0x([0-9a-f]+),.*/\1\2/p' <<<"$headers" |
        while IFS= read -r entry; do
            indent=${entry%%[0-9a-f]*}
            id=$((16#${entry#"$indent"}))
            case ${#indent} in
                3) type=$id ;;
                5) echo "$type/$id" ;;
            esac
        done)
    for wanted in "5/106 dialog (main)" "5/1102 dialog (about)" "4/109 menu" "2/133 bitmap (banner)" \
                  "2/134 bitmap (large banner)" "14/107 icon group" "16/1 version" "24/1 manifest"; do
        grep -qx "${wanted%% *}" <<<"$resources" || fail "$exe has no resource ${wanted#* }"
    done
    echo "resources: dialogs 106 and 1102, menu 109, bitmaps 133 and 134, icon group 107, version, manifest"

    # The manifest is stored as its text: system DPI awareness, the invoker's rights, no common controls 6.
    grep -aq 'dpiAware xmlns="http://schemas.microsoft.com/SMI/2005/WindowsSettings">true<' "$exe" ||
        fail "the manifest of $exe does not declare system DPI awareness"
    grep -aq 'level="asInvoker"' "$exe" || fail "the manifest of $exe does not ask for the invoker's rights"
    grep -aq 'Microsoft.Windows.Common-Controls' "$exe" && fail "the manifest of $exe names the common controls"
    echo "manifest: system DPI-aware, asInvoker; $(stat -c %s "$exe") bytes"
}
check_program "$x86_exe" pei-i386
check_program "$x64_exe" pei-x86-64

"$(dirname "$0")/check_archive.sh" installer "$setup" "$x64_exe" "$x86_exe" || failures=$((failures + 1))
"$(dirname "$0")/check_archive.sh" portable "$portable" "$x64_exe" "$x86_exe" || failures=$((failures + 1))

[ "$failures" -eq 0 ] && echo "release checks passed"
exit "$failures"
