#!/usr/bin/env bash
# Checks that an installer or the portable archive holds exactly the files a
# user gets (NSIS's own plugins aside), with the given 64-bit and, for the
# release, 32-bit pellavo.exe in it.
# Usage: check_archive.sh installer|portable ARCHIVE X64_EXE [X86_EXE]
set -euo pipefail
kind=$1
archive=$2
exes=("${@:3}")

program_files() { printf "$1%s\n" pellavo.exe local/en_translate.txt local/rus_translate.txt help_en.html help_ru.html; }
case $kind in
    installer)
        # Each program is stored under the one name it is installed as.
        expected=$(printf '%s\n' local/en_translate.txt local/rus_translate.txt help_en.html help_ru.html \
                   LICENSE.txt THIRD-PARTY-NOTICES.txt uninstall.exe "${exes[@]/*/pellavo.exe}")
        ;;
    portable)
        expected=$(printf '%s\n' Pellavo Pellavo/LICENSE.txt Pellavo/THIRD-PARTY-NOTICES.txt Pellavo/README.txt
                   for folder in x64 x86; do
                       printf "Pellavo/$folder%s\n" "" /local /current_translate.txt /settings.txt
                       program_files "Pellavo/$folder/"
                   done)
        programs=("Pellavo/x64/pellavo.exe" "Pellavo/x86/pellavo.exe") ;;
    *) echo "unknown kind: $kind"; exit 2 ;;
esac

# The first "Path =" names the archive itself.
listed=$(7z l -slt "$archive" | sed -n 's/^Path = //p' | tail -n +2 | grep -v '^\$PLUGINSDIR/' | sort)
wanted=$(sort <<<"$expected")
if [ "$listed" != "$wanted" ]; then
    echo "FAIL: $archive holds other files than expected:"
    diff <(echo "$wanted") <(echo "$listed") || true
    exit 1
fi
if [ "$kind" = installer ]; then
    # 7z gives the entries of one name one after the other, in the order stored.
    7z x -so "$archive" pellavo.exe 2>/dev/null | cmp -s - <(cat "${exes[@]}") ||
        { echo "FAIL: the pellavo.exe files in $archive are not ${exes[*]}"; exit 1; }
else
    for index in "${!programs[@]}"; do
        7z x -so "$archive" "${programs[$index]}" 2>/dev/null | cmp -s - "${exes[$index]}" ||
            { echo "FAIL: the ${programs[$index]} in $archive is not ${exes[$index]}"; exit 1; }
    done
fi
# MUI's side picture of the welcome and finish pages, Pellavo's own rather than NSIS's.
if [ "$kind" = installer ] &&
    ! 7z x -so "$archive" '$PLUGINSDIR/modern-wizard.bmp' 2>/dev/null | cmp -s - "$(dirname "$0")/../../installer/wizard.bmp"; then
    echo "FAIL: the finish page's picture in $archive is not installer/wizard.bmp"
    exit 1
fi
echo "$archive: $(wc -l <<<"$expected") entries as expected, $(stat -c %s "$archive") bytes"
