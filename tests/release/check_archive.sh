#!/usr/bin/env bash
# Checks that an installer or the portable archive holds exactly the files a
# user gets (NSIS's own plugins aside), with the given pellavo.exe in it.
# Usage: check_archive.sh installer|portable ARCHIVE PELLAVO_EXE
set -euo pipefail
kind=$1
archive=$2
exe=$3

case $kind in
    installer)
        folder=
        expected=(pellavo.exe local/en_translate.txt local/rus_translate.txt help_en.html help_ru.html
                  LICENSE.txt uninstall.exe) ;;
    portable)
        folder=Pellavo/
        expected=(Pellavo Pellavo/pellavo.exe Pellavo/local Pellavo/local/en_translate.txt
                  Pellavo/local/rus_translate.txt Pellavo/current_translate.txt Pellavo/help_en.html
                  Pellavo/help_ru.html Pellavo/LICENSE.txt Pellavo/README.txt Pellavo/settings.txt) ;;
    *) echo "unknown kind: $kind"; exit 2 ;;
esac

# The first "Path =" names the archive itself.
listed=$(7z l -slt "$archive" | sed -n 's/^Path = //p' | tail -n +2 | grep -v '^\$PLUGINSDIR/' | sort)
wanted=$(printf '%s\n' "${expected[@]}" | sort)
if [ "$listed" != "$wanted" ]; then
    echo "FAIL: $archive holds other files than expected:"
    diff <(echo "$wanted") <(echo "$listed") || true
    exit 1
fi
if ! 7z x -so "$archive" "${folder}pellavo.exe" 2>/dev/null | cmp -s - "$exe"; then
    echo "FAIL: the pellavo.exe in $archive is not $exe"
    exit 1
fi
# MUI's side picture of the welcome and finish pages, Pellavo's own rather than NSIS's.
if [ "$kind" = installer ] &&
    ! 7z x -so "$archive" '$PLUGINSDIR/modern-wizard.bmp' 2>/dev/null | cmp -s - "$(dirname "$0")/../../installer/wizard.bmp"; then
    echo "FAIL: the finish page's picture in $archive is not installer/wizard.bmp"
    exit 1
fi
echo "$archive: ${#expected[@]} entries as expected, $(stat -c %s "$archive") bytes"
