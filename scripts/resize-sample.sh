#!/usr/bin/env bash
# Sets up, builds everything, and runs the context-menu verb's command on the
# sample picture under Wine, printing what it wrote.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh x86 x64 host

demo=build/x64/demo
rm -rf "$demo"
mkdir -p "$demo"
cp samples/sunset.jpg "$demo/"
source_path="Z:$(realpath "$demo/sunset.jpg" | tr / '\\')"
run=(tests/wine/run-in-wine.sh "$PWD/build/x64/demo-prefix")

echo "Running: pellavo.exe -size 800x600 $source_path"
"${run[@]}" build/x64/pellavo.exe -size 800x600 "$source_path"
echo "Resizing comes with the next change: the program started and exited with code $?."
