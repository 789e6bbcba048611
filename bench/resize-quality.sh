#!/usr/bin/env bash
# How close the program's copies come to a correct shrink: two 4000x3000
# sources, a plasma fractal (photo-like detail at every scale) and a zone
# plate (rings whose frequency rises from nothing in the middle to the finest
# a pixel grid holds in the corners), are shrunk into four sizes by
# pellavo.exe (the 64-bit build under Wine) and by libvips' vipsthumbnail,
# lossless PNG in and out, and each copy is compared with ImageMagick's
# `convert <in> -resize WxH` by PSNR (`compare -metric PSNR`; higher is
# closer). Targets for the program: at least 48 dB on the plasma and 30 dB
# on the zone plate in every row.
# Safe to run again: packages, build, sources and references are made once.
# Usage: bash bench/resize-quality.sh
set -euo pipefail
cd "$(dirname "$0")/.."
source bench/resize-setup.sh
quality=$bench/quality
mkdir -p "$quality"
sizes=(800x600 1024x768 640x480 1920x1080)

if [ ! -f "$quality/plasma.png" ]; then
    echo "Making plasma.png"
    "$convert" -seed 7 -size 4000x3000 plasma:fractal "$quality/plasma.tmp.png"
    mv "$quality/plasma.tmp.png" "$quality/plasma.png"
fi
# Phase k*r^2 has the local frequency k*r/pi cycles per pixel: half a cycle,
# the finest there is, at the corners, 2500 pixels from the middle.
if [ ! -f "$quality/zone.png" ]; then
    echo "Making zone.png"
    awk 'BEGIN {
        w = 4000; h = 3000; k = 3.14159265358979 * 0.5 / 2500
        printf "P2\n%d %d\n255\n", w, h
        for (y = 0; y < h; y++) {
            dy = y - (h - 1) / 2
            for (x = 0; x < w; x++) { dx = x - (w - 1) / 2; printf "%d\n", int(127.5 + 127.5 * cos(k * (dx * dx + dy * dy)) + 0.5) }
        }
    }' | "$convert" pgm:- -type TrueColor "$quality/zone.tmp.png"
    mv "$quality/zone.tmp.png" "$quality/zone.png"
fi

psnr() { compare -metric PSNR "$1" "$2" null: 2>&1 || true; }

printf '%-9s %-9s %11s %15s\n' picture size pellavo vipsthumbnail
verdicts=()
for name in plasma zone; do
    target=$([ "$name" = plasma ] && echo 48 || echo 30)
    for size in "${sizes[@]}"; do
        reference=$quality/$name-$size-reference.png
        [ -f "$reference" ] || "$convert" "$quality/$name.png" -resize "$size" "$reference"
        fitted=$(identify -format '%wx%h' "$reference")
        rm -f "$quality/${name}"_*.png "$quality/vips.png"
        "${wine[@]}" build/x64/pellavo.exe -size "$size" "$(winpath "$quality/$name.png")" >/dev/null 2>&1 || true
        vipsthumbnail -s "$size" -o "$quality/vips.png" "$quality/$name.png"
        copy=$quality/${name}_$fitted.png
        ours=$([ -f "$copy" ] && psnr "$copy" "$reference" || echo "no copy")
        theirs=$(psnr "$quality/vips.png" "$reference")
        printf '%-9s %-9s %11s %15s\n' "$name" "$size" "$ours" "$theirs"
        awk -v got="$ours" -v target="$target" 'BEGIN { exit !(got + 0 >= target) }' ||
            verdicts+=("$name $size: $ours dB, below $target")
        rm -f "$copy" "$quality/vips.png"
    done
done
echo
if [ ${#verdicts[@]} -eq 0 ]; then
    echo "Every row meets its target (plasma >= 48 dB, zone plate >= 30 dB)."
else
    printf 'Below target: %s\n' "${verdicts[@]}"
fi
