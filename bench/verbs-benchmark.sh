#!/usr/bin/env bash
# Times "pellavo.exe Install" with 50 sizes (300 verbs, one per picture
# extension and size), and "Uninstall" with 1,000 verbs of other programs
# beside the program's own under SystemFileAssociations\.jpg\shell, under Wine,
# in a prefix of its own: the median of 5 runs of each, beside Wine's and the
# program's bare start-up. A script, not a test: it prints the figures.
# Usage: bash bench/verbs-benchmark.sh [BUILD_FOLDER]   (default build/x64)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/x64}
if [ ! -f "$build/pellavo.exe" ]; then
    [ "$build" = build/x64 ] || { echo "no $build/pellavo.exe" >&2; exit 1; }
    bash scripts/build.sh x64
fi

runs=5
work=$PWD/build/bench/verbs
prefix=$PWD/build/bench/verbs-prefix
rm -rf "$work"
mkdir -p "$work"
cp -r "$build/pellavo.exe" "$build/local" "$work/"
for i in $(seq 1 50); do echo "$((i * 40))x$((i * 30))"; done | sed 's/$/\r/' >"$work/settings.txt"

run() { tests/wine/run-in-wine.sh "$prefix" "$@"; }
winpath() { echo "Z:$(realpath "$1" | tr / '\\')"; }
pellavo() { run "$work/pellavo.exe" "$@" >/dev/null; }
verbs() { run reg query "HKCR\\$1\\shell" 2>/dev/null | grep -c "$2" || true; }
extensions=(.jpg .jpeg .jpe .jfif .png .gif)
own_verbs() {
    local extension total=0
    for extension in "${extensions[@]}"; do
        total=$((total + $(verbs "SystemFileAssociations\\$extension" Resize)))
    done
    echo "$total"
}
# The median wall time of $runs runs of "$@", each after the untimed $prepare.
median() {
    local prepare=$1 start
    shift
    for _ in $(seq "$runs"); do
        $prepare
        start=$(date +%s%N)
        "$@" >/dev/null
        echo $(($(date +%s%N) - start))
    done | sort -n | awk -v n="$runs" 'NR == int((n + 1) / 2) { printf "%.3f s", $1 / 1e9 }'
}

run cmd /c exit # make the prefix and start its server outside the timings

{
    printf 'Windows Registry Editor Version 5.00\r\n'
    for i in $(seq 1 1000); do
        printf '\r\n[HKEY_CLASSES_ROOT\\SystemFileAssociations\\.jpg\\shell\\Other verb %d\\command]\r\n@="C:\\\\Other\\\\tool.exe %d %%1"\r\n' "$i" "$i"
    done
} >"$work/other-verbs.reg"
run regedit /s "$(winpath "$work/other-verbs.reg")"
pellavo Uninstall # whatever an earlier run left

echo "Median of $runs runs, wall time, persistent wineserver already running"
echo "wine start-up (cmd /c exit):                 $(median : run cmd /c exit)"
echo "pellavo.exe doing nothing (-size 0x0):       $(median : pellavo -size 0x0)"
echo "Install, 50 sizes (300 verbs), 1000 others:  $(median 'pellavo Uninstall' pellavo Install)"
own=$(own_verbs)
echo "Uninstall, $own own + 1000 other verbs:       $(median 'pellavo Install' pellavo Uninstall)"
pellavo Install
echo "reg query /s of .jpg's shell (1050 verbs):    $(median : run reg query 'HKCR\SystemFileAssociations\.jpg\shell' /s)"
pellavo Uninstall
echo "after Uninstall: other programs' verbs left $(verbs 'SystemFileAssociations\.jpg' 'Other verb'), own verbs left" \
    "$(own_verbs)"
