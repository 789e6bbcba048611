#!/usr/bin/env bash
# Sets up, builds everything, and runs the context-menu verb's command on the
# sample picture under Wine (64-bit: 32-bit programs cannot run on this
# machine's kernel), printing what it wrote.
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
