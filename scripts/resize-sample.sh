#!/usr/bin/env bash
# Sets up, builds the one program the sample needs (the 64-bit pellavo.exe:
# 32-bit programs cannot run on this machine's kernel), and runs the
# context-menu verb's command on the sample picture under Wine, printing what
# it wrote. Wine's servers for the sample's prefix end with it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset x64 >/dev/null
cmake --build --preset x64 --target pellavo

demo=build/x64/demo
rm -rf "$demo"
mkdir -p "$demo"
cp samples/sunset.jpg "$demo/"
source_path="Z:$(realpath "$demo/sunset.jpg" | tr / '\\')"
prefix=$PWD/build/x64/demo-prefix
run=(tests/wine/run-in-wine.sh "$prefix")
trap 'WINEPREFIX=$prefix /usr/lib/wine/wineserver64 -k >/dev/null 2>&1 || true' EXIT

# The program opens its copy; in this prefix "open" does nothing visible
# instead of starting Wine's Internet Explorer.
"${run[@]}" reg add 'HKCR\jpegfile\shell\open\command' /ve /d 'C:\windows\system32\cmd.exe /c rem "%1"' /f >/dev/null

echo "Running: pellavo.exe -size 800x600 $source_path"
"${run[@]}" build/x64/pellavo.exe -size 800x600 "$source_path"
for copy in "$demo"/*; do
    [ "$copy" = "$demo/sunset.jpg" ] && continue
    pixels=$(file -b "$copy" | grep -oE '[0-9]+x[0-9]+' | tail -n 1)
    echo "Wrote $copy: $pixels pixels (the sample is 1920x1080)"
done
