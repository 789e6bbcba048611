#!/usr/bin/env bash
# Times "pellavo.exe Install" with 50 sizes, and "Uninstall" with 1,000 verbs
# of other programs beside the program's own under jpegfile\shell, under Wine.
# A script, not a test: it prints the figures.
set -euo pipefail
cd "$(dirname "$0")/.."
[ -f build/x64/pellavo.exe ] || bash scripts/build.sh x64

work=$PWD/build/bench/verbs
prefix=$PWD/build/bench/verbs-prefix
rm -rf "$work"
mkdir -p "$work"
cp -r build/x64/pellavo.exe build/x64/local "$work/"
for i in $(seq 1 50); do echo "$((i * 40))x$((i * 30))"; done | sed 's/$/\r/' >"$work/settings.txt"

run() { tests/wine/run-in-wine.sh "$prefix" "$@"; }
winpath() { echo "Z:$(realpath "$1" | tr / '\\')"; }
seconds() {
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null
    end=$(date +%s%N)
    printf '%d.%03d' $(((end - start) / 1000000000)) $(((end - start) / 1000000 % 1000))
}

run cmd /c exit # make the prefix and start its server outside the timings

{
    printf 'Windows Registry Editor Version 5.00\r\n'
    for i in $(seq 1 1000); do
        printf '\r\n[HKEY_CLASSES_ROOT\\jpegfile\\shell\\Other verb %d\\command]\r\n@="C:\\\\Other\\\\tool.exe %d %%1"\r\n' "$i" "$i"
    done
} >"$work/other-verbs.reg"
run regedit /s "$(winpath "$work/other-verbs.reg")"

echo "wine start-up (cmd /c exit):          $(seconds run cmd /c exit) s"
echo "Install, 50 sizes (150 verbs):         $(seconds run "$work/pellavo.exe" Install) s"
own=$(run reg query 'HKCR\jpegfile\shell' | grep -c 'Resize' || true)
echo "Uninstall, $own own + 1000 other verbs: $(seconds run "$work/pellavo.exe" Uninstall) s"
left=$(run reg query 'HKCR\jpegfile\shell' | grep -c 'Other verb' || true)
echo "other programs' verbs left: $left; own verbs left: $(run reg query 'HKCR\jpegfile\shell' | grep -c 'Resize' || true)"
